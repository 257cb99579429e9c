// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include <QApplication>
#include <QLocale>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The catalogue lies beside the program file, wherever it is started from.
    Form1 window(QCoreApplication::applicationDirPath() + u"/id.txt"_s, QLocale::system());
    window.show();
    return QApplication::exec();
}
