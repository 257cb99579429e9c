// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Prints Google Benchmark's usual table, keeps each benchmark's CPU time per iteration, and
// afterwards prints the ratios that the goals are stated in. CPU time, because the wall clock
// also counts whatever else the machine runs meanwhile (a parallel build, say).
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    // Plain output: the figures are read in logs as often as on a terminal.
    RatioReporter()
        : ConsoleReporter(OO_Tabular)
    { }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                m_seconds[run.benchmark_name()]
                        = run.cpu_accumulated_time / static_cast<double>(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // "name / floor = ratio (goal <= goal)", or "(no goal)" for a goal of 0; a missing benchmark
    // (filtered out) prints nothing.
    void printRatio(const std::string &name, const std::string &floor, double goal) const
    {
        const auto a = m_seconds.find(name);
        const auto b = m_seconds.find(floor);
        if (a == m_seconds.end() || b == m_seconds.end() || b->second <= 0)
            return;
        const double ratio = a->second / b->second;
        if (goal <= 0) {
            std::printf("ratio %-28s / %-28s = %5.2fx  (no goal)\n", name.c_str(), floor.c_str(),
                        ratio);
            return;
        }
        std::printf("ratio %-28s / %-28s = %5.2fx  (goal <= %.2fx: %s)\n", name.c_str(),
                    floor.c_str(), ratio, goal, ratio <= goal ? "met" : "MISSED");
    }

private:
    std::map<std::string, double> m_seconds;
};
