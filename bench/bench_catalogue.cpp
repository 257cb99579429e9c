// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue is read anew on every lookup and every fill, so its cost is measured against
// the least any reader must do: read the file's bytes and find its line ends; past 100 MB of
// empty lines, read them and search them once. Its memory is measured apart, in a fresh process
// per read: a read of a 1 GiB file must need no more than one of a 1 MB file.

#include "benchcatalogue.h"
#include "catalogue.h"
#include "profilestream.h"
#include "ratios.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int ItemCount = BenchItemCount;
constexpr qint64 FloodBytes = 100'000'000;
constexpr qint64 SparseBytes = qint64(1) << 30;
constexpr int PeakItems = 50'000;      // about 1 MB
constexpr long PeakAllowanceKiB = 256; // one window of the reader

QString catalogueFile;
QStringList itemNames;

// The floor: the file's bytes into memory, then every line end found.
void fileBytesAndLineEnds(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(catalogueFile);
    std::vector<char> bytes;
    for (auto _ : state) {
        FILE *file = std::fopen(path.constData(), "rb");
        std::fseek(file, 0, SEEK_END);
        bytes.resize(static_cast<std::size_t>(std::ftell(file)));
        std::rewind(file);
        const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        int lines = 0;
        for (const char *p = bytes.data(), *end = p + read;
             (p = static_cast<const char *>(std::memchr(p, '\n', end - p))); ++p)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
}

// The last key is the worst case: a lookup has to pass every line before it.
void readIniLookup(benchmark::State &state)
{
    const QString section = QStringLiteral("ID");
    const QString key = itemNames.last();
    for (auto _ : state) {
        const QString id = ReadIni(catalogueFile, section, key);
        benchmark::DoNotOptimize(id.constData());
    }
}

void readIniKeyList(benchmark::State &state)
{
    const QString section = QStringLiteral("ID");
    for (auto _ : state) {
        const QString keys = ReadIni(catalogueFile, section, QString());
        benchmark::DoNotOptimize(keys.constData());
    }
}

// Building and destroying the list are the same on both sides and are left out.
void fillListFromIni(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto *combo = new QComboBox;
        state.ResumeTiming();
        FillListFromIni(*combo, catalogueFile, QStringLiteral("ID"));
        state.PauseTiming();
        const bool complete = combo->count() == ItemCount;
        delete combo;
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("the list did not get every name");
            break;
        }
    }
}

void comboAddItems(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto *combo = new QComboBox;
        state.ResumeTiming();
        combo->addItems(itemNames);
        state.PauseTiming();
        delete combo;
        state.ResumeTiming();
    }
}

// The floor for a file of empty lines: its bytes read through a buffer as large as the reader's
// window, each piece searched once for the "[" that opens the section after them.
const void *fileBytesSearched(const QByteArray &path, std::vector<char> &piece)
{
    FILE *file = std::fopen(path.constData(), "rb");
    const void *open = nullptr;
    for (std::size_t n; !open && (n = std::fread(piece.data(), 1, piece.size(), file)) > 0;)
        open = std::memchr(piece.data(), '[', n);
    std::fclose(file);
    return open;
}

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The reader past the empty lines, to the item after them, against the floor. A few
// milliseconds each, both swing with the machine's load: they take turns, and the fastest of
// each counts.
void printFloodRatio(const char *kind, const QString &path)
{
    constexpr int Rounds = 40;
    const QByteArray name = QFile::encodeName(path);
    const QString section = QStringLiteral("ID");
    const QString key = QStringLiteral("Item 0000001");
    std::vector<char> piece(ini::DefaultWindow);
    double floor = 1e9;
    double reader = 1e9;
    for (int i = 0; i < Rounds; ++i) {
        const double start = cpuMilliseconds();
        benchmark::DoNotOptimize(fileBytesSearched(name, piece));
        const double between = cpuMilliseconds();
        const bool found = ReadIni(path, section, key) == u'1';
        const double end = cpuMilliseconds();
        if (!found) {
            std::printf("flood %s: the item after the empty lines was not found\n", kind);
            return;
        }
        floor = std::min(floor, between - start);
        reader = std::min(reader, end - between);
    }
    const double ratio = reader / floor;
    std::printf("ratio %-28s / %-28s = %5.2fx  (goal <= 1.50x: %s)   %.2f ms / %.2f ms\n",
                ("readIniPastFlood" + std::string(kind)).c_str(),
                ("fileBytesSearched" + std::string(kind)).c_str(), ratio,
                ratio <= 1.5 ? "met" : "MISSED", reader, floor);
}

struct ItemList
{
    QStringList names;
    void addItem(const QString &name) { names << name; }
};

// The most this process has held resident, in KiB.
long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The child: one read of the catalogue, as the window makes it, then its peak memory.
int readAndReportPeak(const char *question, const char *file)
{
    const QString path = QFile::decodeName(file);
    const QString section = QStringLiteral("ID");
    if (std::strcmp(question, "lookup") == 0) {
        if (ReadIni(path, section, QStringLiteral("Item 0050000")) != QString::number(PeakItems))
            return 1;
    } else {
        ItemList list;
        FillListFromIni(list, path, section);
        if (list.names.size() != PeakItems)
            return 1;
    }
    std::printf("%ld\n", peakResidentKiB());
    return 0;
}

// A fresh process, so that nothing of this one's memory counts: the kernel folds the peak of
// a process before exec into its child's, so the child reports the peak of its own image.
long childPeakKiB(const char *question, const QString &file)
{
    QProcess child;
    child.start(QStringLiteral("/proc/self/exe"),
                {QStringLiteral("--peak"), QString::fromLatin1(question), file});
    if (!child.waitForFinished(600'000) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toLong();
}

void printPeaks(const QTemporaryDir &dir)
{
    const QByteArray text = itemCatalogueText(PeakItems);
    const QString small = dir.filePath(QStringLiteral("peak-small.txt"));
    const QString large = dir.filePath(QStringLiteral("peak-sparse.txt"));
    writeLedCatalogue(small, 0, QByteArray(), text);
    if (!writeLedCatalogue(large, SparseBytes, QByteArray(), '\n' + text)) {
        std::printf("\npeak memory: skipped, the disk lacks room for a sparse 1 GiB file\n");
        return;
    }
    std::printf("\npeak resident memory of a process that reads once: %d items (%lld bytes) "
                "against the same after %lld zero bytes\n",
                PeakItems, static_cast<long long>(text.size()),
                static_cast<long long>(SparseBytes));
    for (const char *question : {"lookup", "keys"}) {
        const long a = childPeakKiB(question, small);
        const long b = childPeakKiB(question, large);
        if (a <= 0 || b <= 0) {
            std::printf("peak %-6s: a child failed to read the catalogue\n", question);
            continue;
        }
        const bool met = double(b) <= 1.2 * double(a) + PeakAllowanceKiB;
        std::printf("peak %-6s  1 MB %7ld KiB   1 GiB %7ld KiB   ratio %5.2fx  "
                    "(goal <= 1.20x + %ld KiB: %s)\n",
                    question, a, b, double(b) / double(a), PeakAllowanceKiB,
                    met ? "met" : "MISSED");
    }
    QFile::remove(large);
}

struct Flood
{
    const char *name;
    QByteArray lines;
};

} // namespace

BENCHMARK(fileBytesAndLineEnds)->Unit(benchmark::kMicrosecond);
BENCHMARK(readIniLookup)->Unit(benchmark::kMicrosecond);
BENCHMARK(readIniKeyList)->Unit(benchmark::kMicrosecond);
BENCHMARK(comboAddItems)->Unit(benchmark::kMicrosecond);
BENCHMARK(fillListFromIni)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--peak") == 0)
        return readAndReportPeak(argv[2], argv[3]);

    QApplication app(argc, argv);
    QTemporaryDir dir;
    catalogueFile = dir.filePath(QStringLiteral("id.txt"));
    itemNames = writeBenchCatalogue(catalogueFile);
    if (ReadIni(catalogueFile, QStringLiteral("ID"), itemNames.last())
        != QString::number(ItemCount))
        qFatal("the generated catalogue does not read back");

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\ncatalogue of %d items, %lld bytes\n", ItemCount,
                static_cast<long long>(QFile(catalogueFile).size()));
    reporter.printRatio("readIniLookup", "fileBytesAndLineEnds", 1.5);
    reporter.printRatio("readIniKeyList", "fileBytesAndLineEnds", 1.5);
    reporter.printRatio("fillListFromIni", "comboAddItems", 1.3);
    benchmark::Shutdown();

    std::printf("\n%lld bytes of empty lines before a 3-item section (CPU time, fastest of 40 "
                "turns each)\n",
                static_cast<long long>(FloodBytes));
    const Flood floods[] = {{"LF", "\n"}, {"CRLF", "\r\n"}, {"Blanks", " \t\r\n"}};
    for (const Flood &flood : floods) {
        const QString path = dir.filePath(QStringLiteral("flood.txt"));
        if (!writeLedCatalogue(path, FloodBytes, flood.lines, itemCatalogueText(3))) {
            std::printf("flood %s: skipped, the disk lacks room for 100 MB\n", flood.name);
            continue;
        }
        printFloodRatio(flood.name, path);
        QFile::remove(path);
    }
    printPeaks(dir);
    return 0;
}
