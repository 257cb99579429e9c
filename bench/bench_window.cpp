// SPDX-License-Identifier: GPL-3.0-or-later
// The commands whose cost grows with the data, driven through the real window as a click would:
// "+" fills a new item list from the catalogue and looks up the first item's id; "Generate"
// with all 14 rows converts and joins every row; a letter typed into the open item list narrows
// its entries, and a Backspace after two words widens them again over accented names. On the large
// catalogues "+" is set against the toolkit's floor, QComboBox::addItems of the same names into an
// empty combo, and the peak memory of 14 rows against that of 14 such combos, each side measured in
// a child process of its own.

#include "benchcatalogue.h"
#include "benchwindow.h"
#include "catalogue.h"
#include "form1.h"
#include "itemlist.h"
#include "itemlistpopup.h"
#include "ratios.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int ItemCount = BenchItemCount;
constexpr int RowCount = 14;
constexpr int LargeCount = 50'000;
constexpr int HugeCount = 1'000'000;

QString catalogueFile;                  // ItemCount items
std::map<int, QString> sizedCatalogues; // by item count
std::map<int, QStringList> sizedNames;  // in file order

// "+" and then, untimed, "-": every "+" makes and fills a new row from the file.
void addAndRemoveRows(benchmark::State &state, const QString &catalogue, int names)
{
    Form1 window(catalogue, QLocale::c());
    window.show();
    auto *plus = control<QPushButton>(window, QStringLiteral("Command1"));
    auto *minus = control<QPushButton>(window, QStringLiteral("Command2"));
    bool filled = true;
    for (auto _ : state) {
        plus->click();
        state.PauseTiming();
        filled = filled && control<QComboBox>(window, QStringLiteral("Combo1_1"))->count() == names;
        minus->click();
        state.ResumeTiming();
    }
    if (window.zeilenanzahl != 0 || !filled)
        state.SkipWithError("the rows did not come and go with every name");
}

void addRow(benchmark::State &state)
{
    addAndRemoveRows(state, catalogueFile, ItemCount);
}

void addRowSized(benchmark::State &state)
{
    const int count = int(state.range(0));
    addAndRemoveRows(state, sizedCatalogues.at(count), count);
}

// The floor for "+": the same names into an empty combo box, the toolkit's one insertion.
void comboAddItems(benchmark::State &state)
{
    const QStringList &names = sizedNames.at(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto *combo = new QComboBox;
        state.ResumeTiming();
        combo->addItems(names);
        state.PauseTiming();
        delete combo;
        state.ResumeTiming();
    }
}

void generate(benchmark::State &state)
{
    Form1 window(catalogueFile, QLocale::c());
    bool failed = false;
    window.setShowMessage([&failed](const QString &, const QString &) { failed = true; });
    window.show();
    auto *plus = control<QPushButton>(window, QStringLiteral("Command1"));
    for (int row = 1; row < RowCount; ++row)
        plus->click();
    for (int row = 0; row < RowCount; ++row) {
        control<QLineEdit>(window, QStringLiteral("Text2_%1").arg(row))
                ->setText(QString::number(200 + row));
        control<QLineEdit>(window, QStringLiteral("Text3_%1").arg(row))
                ->setText(QString::number(150 + row));
    }
    auto *generateButton = control<QPushButton>(window, QStringLiteral("Command3"));
    auto *output = control<QPlainTextEdit>(window, QStringLiteral("Text5"));
    for (auto _ : state)
        generateButton->click();
    if (failed || output->toPlainText().isEmpty())
        state.SkipWithError("Generate did not produce a trade code");
}

// One keystroke into the open list's "Find item" field, until the narrowed list is drawn; both
// look at every name, the worst a keystroke does. findKeystroke types one letter into the empty
// field of plain names; findWordsKeystroke takes back the last letter of two words typed without
// accents, over names that hold accents, which folds every name on the way.
void keystroke(benchmark::State &state, const QStringList &names, const QString &before,
               Qt::Key key, const QString &text, qsizetype expected)
{
    ItemList list;
    list.addItems(names);
    list.resize(201, 21);
    list.show();
    list.showPopup();
    auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QListView *entries = list.openList()->entries();
    if (!field) {
        state.SkipWithError("the open list has no field with the keyboard");
        return;
    }
    const auto type = [field, key, text] {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(field, &press);
        QCoreApplication::processEvents();
    };
    field->setText(before);
    type();
    const bool narrowed = entries->model()->rowCount() == expected;
    for (auto _ : state) {
        state.PauseTiming();
        field->setText(before);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        type();
        entries->viewport()->repaint();
    }
    if (!narrowed)
        state.SkipWithError("the keystroke did not leave the names that hold the text");
}

void findKeystroke(benchmark::State &state)
{
    const QStringList &names = sizedNames.at(int(state.range(0)));
    keystroke(state, names, QString(), Qt::Key_7, QStringLiteral("7"),
              names.filter(QStringLiteral("7")).size());
}

void findWordsKeystroke(benchmark::State &state)
{
    QStringList names = sizedNames.at(int(state.range(0)));
    for (QString &name : names)
        name.replace(QStringLiteral("Item"), QStringLiteral("Épée légendaire"));
    keystroke(state, names, QStringLiteral("legendaire 7x"), Qt::Key_Backspace, QString(),
              names.filter(QStringLiteral("7")).size());
}

// Opening the list until it is drawn, the chosen entry highlighted.
void openList(benchmark::State &state)
{
    ItemList list;
    list.addItems(sizedNames.at(int(state.range(0))));
    list.resize(201, 21);
    list.show();
    list.setCurrentIndex(list.count() / 2);
    for (auto _ : state) {
        list.showPopup();
        QCoreApplication::processEvents();
        list.openList()->entries()->viewport()->repaint();
        state.PauseTiming();
        list.hidePopup();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (list.openList()->entries()->currentIndex().row() != list.count() / 2)
        state.SkipWithError("the open list did not highlight the chosen entry");
}

// The peak memory of one way of filling 14 lists from the catalogue, in a process of its own:
// "rows" is the window with 13 rows added, "combos" 14 combo boxes each filled by addItems,
// "bare" an empty window for scale.
int memoryChild(const QString &what, const QString &catalogue)
{
    QWidget combos;
    std::unique_ptr<Form1> window;
    if (what == QLatin1String("rows")) {
        window = std::make_unique<Form1>(catalogue, QLocale::c());
        window->show();
        auto *plus = control<QPushButton>(*window, QStringLiteral("Command1"));
        for (int row = 1; row < RowCount; ++row)
            plus->click();
        if (window->zeilenanzahl != RowCount - 1)
            return 1;
    } else if (what == QLatin1String("combos")) {
        for (int row = 0; row < RowCount; ++row)
            FillListFromIni(*new QComboBox(&combos), catalogue, QStringLiteral("ID"));
        combos.show();
    } else {
        combos.show();
    }
    QCoreApplication::processEvents();
    // The peak of this program's own memory: unlike ru_maxrss, VmHWM does not carry over the
    // peak of the process that started it.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 1;
    const auto peak = QRegularExpression(QStringLiteral("VmHWM:\\s*(\\d+) kB"))
                              .match(QString::fromLatin1(status.readAll()));
    std::printf("peak_kb=%s\n", qPrintable(peak.captured(1)));
    return peak.hasMatch() ? 0 : 1;
}

long peakMemoryKb(const char *what, const QString &catalogue)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--memory"), QLatin1String(what), catalogue});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the %s memory child failed", what);
    const auto match = QRegularExpression(QStringLiteral("peak_kb=(\\d+)"))
                               .match(QString::fromLatin1(child.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toLong() : 0;
}

void printMemory(int count, bool goal)
{
    const QString &catalogue = sizedCatalogues.at(count);
    const long rows = peakMemoryKb("rows", catalogue);
    const long combos = peakMemoryKb("combos", catalogue);
    const long bare = peakMemoryKb("bare", catalogue);
    const double ratio = combos > 0 ? double(rows) / double(combos) : 0;
    std::printf("peak resident memory (VmHWM of a child process each), 14 lists of %d names:\n"
                "  14 rows %ld KiB / 14 combos filled by addItems %ld KiB = %5.2fx  %s\n"
                "  above an empty window (%ld KiB): rows %ld KiB, combos %ld KiB\n",
                count, rows, combos, ratio,
                !goal                  ? "(no goal)"
                        : ratio <= 1.3 ? "(goal <= 1.30x: met)"
                                       : "(goal <= 1.30x: MISSED)",
                bare, rows - bare, combos - bare);
}

// Also keeps each benchmark's CPU time, for the figures stated in milliseconds.
class WindowReporter : public RatioReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                m_seconds[run.benchmark_name()]
                        = run.cpu_accumulated_time / static_cast<double>(run.iterations);
        }
        RatioReporter::ReportRuns(runs);
    }

    void printKeystroke(const char *benchmark, const char *what, int count, double goalMs) const
    {
        const auto it = m_seconds.find(benchmark + ("/" + std::to_string(count)));
        if (it == m_seconds.end())
            return;
        const double ms = it->second * 1e3;
        if (goalMs > 0)
            std::printf("%s at %d names: %.2f ms  (goal < %.0f ms: %s)\n", what, count, ms, goalMs,
                        ms < goalMs ? "met" : "MISSED");
        else
            std::printf("%s at %d names: %.2f ms\n", what, count, ms);
    }

    void printPlusRatio(int count) const
    {
        const auto a = m_seconds.find("addRowSized/" + std::to_string(count));
        const auto b = m_seconds.find("comboAddItems/" + std::to_string(count));
        if (a != m_seconds.end() && b != m_seconds.end() && b->second > 0)
            std::printf("\"+\" at %d names: %.1f ms, addItems of them %.1f ms: %.2fx (no goal)\n",
                        count, a->second * 1e3, b->second * 1e3, a->second / b->second);
    }

private:
    std::map<std::string, double> m_seconds;
};

} // namespace

BENCHMARK(addRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(generate)->Unit(benchmark::kMicrosecond);
BENCHMARK(addRowSized)->Arg(LargeCount)->Arg(HugeCount)->Unit(benchmark::kMillisecond);
BENCHMARK(comboAddItems)->Arg(LargeCount)->Arg(HugeCount)->Unit(benchmark::kMillisecond);
BENCHMARK(openList)->Arg(LargeCount)->Arg(HugeCount)->Unit(benchmark::kMillisecond);
BENCHMARK(findKeystroke)->Arg(LargeCount)->Arg(HugeCount)->Unit(benchmark::kMillisecond);
BENCHMARK(findWordsKeystroke)->Arg(LargeCount)->Arg(HugeCount)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // The headless platform says of every popup that it cannot grab the keyboard.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    if (argc == 4 && QLatin1String(argv[1]) == QLatin1String("--memory"))
        return memoryChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QTemporaryDir dir;
    catalogueFile = dir.filePath(QStringLiteral("id.txt"));
    writeBenchCatalogue(catalogueFile);
    for (int count : {LargeCount, HugeCount}) {
        const QString path = dir.filePath(QStringLiteral("id-%1.txt").arg(count));
        sizedNames[count] = writeSizedCatalogue(path, count);
        sizedCatalogues[count] = path;
    }

    benchmark::Initialize(&argc, argv);
    WindowReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n\"+\" with a %d-item catalogue, \"Generate\" with %d rows: absolute figures\n",
                ItemCount, RowCount);
    std::printf("catalogues of %d and %d names: %lld and %lld bytes\n", LargeCount, HugeCount,
                static_cast<long long>(QFile(sizedCatalogues.at(LargeCount)).size()),
                static_cast<long long>(QFile(sizedCatalogues.at(HugeCount)).size()));
    reporter.printRatio("addRowSized/50000", "comboAddItems/50000", 1.3);
    reporter.printPlusRatio(HugeCount);
    const char *letter = "find keystroke, one letter";
    const char *words = "find keystroke, Backspace after two words, accented names";
    reporter.printKeystroke("findKeystroke", letter, LargeCount, 50);
    reporter.printKeystroke("findWordsKeystroke", words, LargeCount, 50);
    reporter.printKeystroke("findKeystroke", letter, HugeCount, 0);
    reporter.printKeystroke("findWordsKeystroke", words, HugeCount, 0);
    printMemory(LargeCount, true);
    printMemory(HugeCount, false);
    benchmark::Shutdown();
    return 0;
}
