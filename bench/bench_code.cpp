// SPDX-License-Identifier: GPL-3.0-or-later
// "Rows from code" against "+", on the same catalogue in the same run: reading a 14-row code into
// a fresh window walks the catalogue once for all its rows, so it may cost at most 3 times one
// "+", which walks it for its one row. The fresh window makes 13 rows as "+" does; the same code
// read into a window that has its 14 rows already shows what the reading costs beyond them. The
// code's ids stand near the end of what an id can be, so that finding their names looks at nearly
// every name.

#include "benchcatalogue.h"
#include "benchplus.h"
#include "benchwindow.h"
#include "form1.h"
#include "ratios.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QShortcut>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int RowCount = 14;
constexpr int SmallCount = 5'000;
constexpr int LargeCount = 50'000;
constexpr double Goal = 3.0;

std::map<int, QString> catalogues; // by item count, ids 1 and up

// Buy and sell entries for 14 ids that all have a name, the last of them the largest such id.
QString fourteenRowCode(int names)
{
    QStringList entries;
    const int last = std::min(names, 32767);
    for (int id = last - RowCount + 1; id <= last; ++id) {
        entries << QStringLiteral("%1/1/0/,%2.0,true,").arg(id).arg(id % 100);
        entries << QStringLiteral("%1/1/0/,%2.0,false,").arg(id).arg(id % 100 + 50);
    }
    return entries.join(u';');
}

// The command as Ctrl+Shift+V gives it.
QShortcut *rowsFromCodeKey(const QWidget &window)
{
    const QList<QShortcut *> keys = window.findChildren<QShortcut *>();
    const auto key = std::ranges::find(keys, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
                                       &QShortcut::key);
    if (key == keys.end())
        qFatal("the window has no Ctrl+Shift+V");
    return *key;
}

void addRow(benchmark::State &state)
{
    const int count = int(state.range(0));
    addAndRemoveRows(state, catalogues.at(count), count);
}

// Each time a new window, its one row as it starts, and the code on the clipboard.
void rowsFromCode(benchmark::State &state)
{
    const int count = int(state.range(0));
    QGuiApplication::clipboard()->setText(fourteenRowCode(count));
    bool filled = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Form1>(catalogues.at(count), QLocale::c());
        window->show();
        QShortcut *key = rowsFromCodeKey(*window);
        state.ResumeTiming();
        emit key->activated();
        state.PauseTiming();
        const auto *last = window->findChild<QComboBox *>(QStringLiteral("Combo1_13"));
        filled = filled && window->zeilenanzahl == RowCount - 1 && last
                && last->currentIndex() == std::min(count, 32767) - 1;
        window.reset();
        state.ResumeTiming();
    }
    if (!filled)
        state.SkipWithError("the code did not become 14 rows with their names");
}

// The same window each time, its 14 rows already there: the rows are filled anew, nothing more.
void rowsFromCodeInto14Rows(benchmark::State &state)
{
    const int count = int(state.range(0));
    QGuiApplication::clipboard()->setText(fourteenRowCode(count));
    Form1 window(catalogues.at(count), QLocale::c());
    window.setAskQuestion([](const QString &, const QString &) { return true; });
    window.show();
    QShortcut *key = rowsFromCodeKey(window);
    emit key->activated();
    for (auto _ : state)
        emit key->activated();
    if (window.zeilenanzahl != RowCount - 1)
        state.SkipWithError("the code did not become 14 rows");
}

} // namespace

BENCHMARK(addRow)->Arg(SmallCount)->Arg(LargeCount)->Unit(benchmark::kMillisecond);
BENCHMARK(rowsFromCode)->Arg(SmallCount)->Arg(LargeCount)->Unit(benchmark::kMillisecond);
BENCHMARK(rowsFromCodeInto14Rows)->Arg(SmallCount)->Arg(LargeCount)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    for (const int count : {SmallCount, LargeCount}) {
        const QString path = dir.filePath(QStringLiteral("id-%1.txt").arg(count));
        writeSizedCatalogue(path, count);
        catalogues[count] = path;
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n14-row code (buy and sell) into a fresh window, against one \"+\":\n");
    reporter.printRatio("rowsFromCode/50000", "addRow/50000", Goal);
    reporter.printRatio("rowsFromCode/5000", "addRow/5000", 0);
    std::printf("the same code into a window that has its 14 rows already:\n");
    reporter.printRatio("rowsFromCodeInto14Rows/50000", "addRow/50000", 0);
    reporter.printRatio("rowsFromCodeInto14Rows/5000", "addRow/5000", 0);
    benchmark::Shutdown();
    return 0;
}
