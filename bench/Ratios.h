#pragma once

#include "PeakMemory.h"

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// Prints as the console reporter does and keeps each benchmark's time per iteration:
// the median of its repetitions, in seconds.
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    std::optional<double> seconds(const std::string& name) const;
    // The same for processor time, which leaves out waiting for the disk.
    std::optional<double> cpuSeconds(const std::string& name) const;

private:
    struct Times
    {
        std::vector<double> real, cpu;
        std::optional<double> medianReal, medianCpu;
    };
    std::map<std::string, Times> m_times;
};

struct TableInput
{
    const CollectingReporter& times;
    PeakMemory memory;
    qint64 projectBytes = 0;
    int mainWindowWidgets = 0;
    qint64 historyBytes = -1;
    int historySteps = 0;
};

// The table of ratios against their targets; returns the number of targets missed.
int printRatioTable(const TableInput& input);
