// SPDX-License-Identifier: GPL-3.0-or-later
// Resident memory as rows come and go: "+" then "-", over and over, on the real window shown
// and painted offscreen after every click, so each new item list is drawn as the user would see
// it. Beside it the toolkit's floor: a bare window whose item lists are created, filled with the
// same names, drawn and deleted the same way. The goal is that the window levels off: what it
// holds after 10,000 cycles stays within 2 MB of what it held after 1,000.

#include "benchcatalogue.h"
#include "benchwindow.h"
#include "form1.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int Warmup = 1'000;
constexpr int Cycles = 10'000;
constexpr double GoalMb = 2.0;

double residentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Lets every pending update reach the backing store, as the event loop would between clicks.
void paint()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Runs `cycle` Cycles times and prints resident memory after Warmup and after Cycles.
void measure(const char *what, const std::function<void()> &cycle)
{
    double afterWarmup = 0;
    for (int i = 1; i <= Cycles; ++i) {
        cycle();
        if (i == Warmup)
            afterWarmup = residentMb();
    }
    const double growth = residentMb() - afterWarmup;
    const bool met = growth <= GoalMb;
    std::printf("%-34s after %5d cycles %6.1f MB, after %5d %6.1f MB: %+5.1f MB  (goal <= "
                "+%.0f MB: %s)\n",
                what, Warmup, afterWarmup, Cycles, afterWarmup + growth, growth, GoalMb,
                met ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString catalogueFile = dir.filePath(QStringLiteral("id.txt"));
    const QStringList names = writeBenchCatalogue(catalogueFile);

    std::printf("%d row cycles (\"+\" then \"-\"), painted offscreen after each click, "
                "%d-item catalogue\n",
                Cycles, BenchItemCount);

    QWidget bare;
    bare.setFixedSize(815, 703);
    bare.show();
    auto *bareFirst = new QComboBox(&bare);
    bareFirst->setGeometry(40, 64, 201, 21);
    bareFirst->addItems(names);
    measure("bare item lists (floor)", [&] {
        auto list = std::make_unique<QComboBox>(&bare);
        list->setGeometry(40, 99, 201, 21);
        list->addItems(names);
        list->show();
        paint();
        list.reset();
        paint();
    });

    Form1 window(catalogueFile, QLocale::c());
    window.show();
    auto *plus = control<QPushButton>(window, QStringLiteral("Command1"));
    auto *minus = control<QPushButton>(window, QStringLiteral("Command2"));
    measure("window rows", [&] {
        plus->click();
        paint();
        minus->click();
        paint();
    });
    if (window.zeilenanzahl != 0)
        qFatal("the rows did not come and go");
    return 0;
}
