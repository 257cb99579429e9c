// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "programfolder.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The catalogue lies beside the program file, wherever it is started from and whatever
    // bytes the folder's name holds.
    Form1 window(cataloguePath(), QLocale::system());
    window.show();
    return QApplication::exec();
}
