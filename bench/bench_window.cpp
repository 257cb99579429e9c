// SPDX-License-Identifier: GPL-3.0-or-later
// The two commands whose cost grows with the data: "+" fills a new item list from a 5,000-item
// catalogue and looks up the first item's id; "Generate" with all 14 rows converts and joins
// every row. Both are driven through the real window, as a click would.

#include "benchcatalogue.h"
#include "form1.h"
#include "ratios.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int ItemCount = BenchItemCount;
constexpr int RowCount = 14;

QString catalogueFile;

template<class Widget>
Widget *control(const Form1 &window, const QString &name)
{
    auto *widget = window.findChild<Widget *>(name);
    if (!widget)
        qFatal("the window has no %s", qPrintable(name));
    return widget;
}

void addRow(benchmark::State &state)
{
    Form1 window(catalogueFile, QLocale::c());
    window.show();
    auto *plus = control<QPushButton>(window, QStringLiteral("Command1"));
    auto *minus = control<QPushButton>(window, QStringLiteral("Command2"));
    for (auto _ : state) {
        plus->click();
        state.PauseTiming();
        minus->click();
        state.ResumeTiming();
    }
    if (window.zeilenanzahl != 0)
        state.SkipWithError("the rows did not come and go");
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

} // namespace

BENCHMARK(addRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(generate)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    catalogueFile = dir.filePath(QStringLiteral("id.txt"));
    writeBenchCatalogue(catalogueFile);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n\"+\" with a %d-item catalogue, \"Generate\" with %d rows: absolute figures\n",
                ItemCount, RowCount);
    benchmark::Shutdown();
    return 0;
}
