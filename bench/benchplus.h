// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "benchwindow.h"
#include "form1.h"

#include <QComboBox>
#include <QLocale>
#include <QPushButton>
#include <QString>

#include <benchmark/benchmark.h>

// "+" and then, untimed, "-": every "+" makes and fills a new row from the file.
inline void addAndRemoveRows(benchmark::State &state, const QString &catalogue, int names)
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
