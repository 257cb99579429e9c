// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "programfolder.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// What --help and --version print. They are answered before the toolkit starts, so that they
// need no display; every other argument is left to the toolkit, which takes its own (such as
// -platform) and ignores the rest, as the window takes no arguments.
std::optional<QString> answer(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--version") == 0)
            return QStringLiteral("quennel " QUENNEL_VERSION "\n");
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            const QString catalogue = cataloguePath();
            return QStringLiteral(
                           "Usage: quennel [--help | --version]\n"
                           "Opens the Quennel window, which builds one line of trade code from up\n"
                           "to 14 item rows. The items come from the catalogue id.txt in the\n"
                           "program's folder, here: %1\n"
                           "\n"
                           "  -h, --help  print this help and exit\n"
                           "  --version   print the version and exit\n")
                    .arg(catalogue.isEmpty() ? QStringLiteral("(the folder is unknown)")
                                             : QDir::toNativeSeparators(catalogue));
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto text = answer(argc, argv)) {
        std::fputs(text->toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication app(argc, argv);
    // The catalogue lies beside the program file, wherever it is started from and whatever
    // bytes the folder's name holds.
    Form1 window(cataloguePath(), QLocale::system());
    window.show();
    return QApplication::exec();
}
