// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue is read anew on every lookup and every fill, so its cost is measured against
// the least any reader must do: read the file's bytes and find its line ends.

#include "benchcatalogue.h"
#include "catalogue.h"
#include "ratios.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int ItemCount = BenchItemCount;

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

} // namespace

BENCHMARK(fileBytesAndLineEnds)->Unit(benchmark::kMicrosecond);
BENCHMARK(readIniLookup)->Unit(benchmark::kMicrosecond);
BENCHMARK(readIniKeyList)->Unit(benchmark::kMicrosecond);
BENCHMARK(comboAddItems)->Unit(benchmark::kMicrosecond);
BENCHMARK(fillListFromIni)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
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
    return 0;
}
