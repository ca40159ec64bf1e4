#include "Ratios.h"

#include "Benchmarks.h"

#include <algorithm>
#include <cstdio>

void CollectingReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.error_occurred || run.iterations == 0)
            continue;
        const double real = run.real_accumulated_time / double(run.iterations);
        const double cpu = run.cpu_accumulated_time / double(run.iterations);
        Times& times = m_times[run.run_name.function_name];
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median") {
                times.medianReal = real;
                times.medianCpu = cpu;
            }
        } else {
            times.real.push_back(real);
            times.cpu.push_back(cpu);
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

namespace {

std::optional<double> median(std::optional<double> aggregate, std::vector<double> values)
{
    if (aggregate)
        return aggregate;
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

std::optional<double> CollectingReporter::seconds(const std::string& name) const
{
    const auto t = m_times.find(name);
    return t == m_times.end() ? std::nullopt : median(t->second.medianReal, t->second.real);
}

std::optional<double> CollectingReporter::cpuSeconds(const std::string& name) const
{
    const auto t = m_times.find(name);
    return t == m_times.end() ? std::nullopt : median(t->second.medianCpu, t->second.cpu);
}

namespace {

struct Counter
{
    int missed = 0;
    int unmeasured = 0;
};

void header()
{
    std::printf("\n%-58s %10s %10s %9s %9s  %-7s  %s\n", "ratio (real time)", "time ms", "base ms",
                "ratio", "target", "verdict", "cpu ratio");
    std::printf("%s\n", std::string(117, '-').c_str());
}

// target 0: the ratio is stated, not judged.
void ratio(const CollectingReporter& times, Counter& counter, const char* what,
           const char* measured, const char* base, double target)
{
    const auto t = times.seconds(measured);
    const auto b = times.seconds(base);
    if (!t || !b || *b <= 0) {
        std::printf("%-58s %10s %10s %9s %9s  %s\n", what, "-", "-", "-", "-", "NOT RUN");
        ++counter.unmeasured;
        return;
    }
    const double r = *t / *b;
    const auto tc = times.cpuSeconds(measured);
    const auto bc = times.cpuSeconds(base);
    char cpuText[32] = "-";
    if (tc && bc && *bc > 0)
        std::snprintf(cpuText, sizeof cpuText, "%.2fx", *tc / *bc);
    char targetText[32] = "stated";
    const char* verdict = "";
    if (target > 0) {
        std::snprintf(targetText, sizeof targetText, "<= %.2fx", target);
        verdict = r <= target ? "PASS" : "MISS";
        counter.missed += r > target;
    }
    std::printf("%-58s %10.3f %10.3f %8.2fx %9s  %-7s  %s\n", what, *t * 1e3, *b * 1e3, r,
                targetText, verdict, cpuText);
}

void absolute(const CollectingReporter& times, Counter& counter, const char* what,
              const char* measured, double limitMs)
{
    const auto t = times.seconds(measured);
    if (!t) {
        std::printf("%-58s %10s %10s %9s %9s  %s\n", what, "-", "", "", "", "NOT RUN");
        ++counter.unmeasured;
        return;
    }
    char limit[32];
    std::snprintf(limit, sizeof limit, "< %.0f ms", limitMs);
    const bool pass = *t * 1e3 < limitMs;
    counter.missed += !pass;
    std::printf("%-58s %10.3f %10s %9s %9s  %s\n", what, *t * 1e3, "", "", limit,
                pass ? "PASS" : "MISS");
}

} // namespace

int printRatioTable(const TableInput& in)
{
    using namespace BenchName;
    const CollectingReporter& t = in.times;
    Counter c;
    header();
    ratio(t, c, "typed key, highlighted, history step / QFile write + split", TypeKeyHighlighted,
          KeyReleaseBase, 2.0);
    ratio(t, c, "open 8 x 5,000 tasks through the window / read alone", Open1, Read1, 4.0);
    char what[96];
    std::snprintf(what, sizeof what, "main window shown / stock Qt controls, %d widgets each",
                  in.mainWindowWidgets);
    ratio(t, c, what, ShowMain, ShowStock, 1.2);
    absolute(t, c, "export 8 x 5,000 tasks to PDF, absolute", ExportPdf, 2000.0);
    ratio(t, c, "export to Markdown / bare QFile write of its bytes", ExportMarkdown,
          ExportMarkdownBase, 10.0);
    ratio(t, c, "save / bare QFile write of its bytes", Save, SaveBase, 10.0);
    ratio(t, c, "recovery snapshot / bare QFile write of its bytes", Snapshot, SnapshotBase, 10.0);
    std::printf("\nSaves, snapshots and exports go through QSaveFile, which waits for the disk;\n"
                "the bare QFile baselines do not.\n");

    const bool historyFits = in.historyBytes >= 0 && in.historyBytes < 1024 * 1024;
    c.missed += !historyFits;
    std::printf("\nhistory after typing 1,000 characters into 10,000 lines: %lld bytes in %d "
                "step(s), target < 1 MB  %s\n",
                static_cast<long long>(in.historyBytes), in.historySteps,
                historyFits ? "PASS" : "MISS");

    const PeakMemory& m = in.memory;
    std::printf(
        "\npeak resident memory (VmHWM of a child run of this program, project of %.2f MB):\n",
        double(in.projectBytes) / 1e6);
    if (!m.error.isEmpty()) {
        std::printf("  not measured: %s\n", qPrintable(m.error));
        ++c.unmeasured;
    } else {
        const qint64 allowedKb = m.emptyKb + 4 * in.projectBytes / 1024;
        const bool pass = m.fullKb <= allowedKb;
        c.missed += !pass;
        std::printf(
            "  empty project %lld kB, project open %lld kB, growth %lld kB = %.2f x file size\n",
            static_cast<long long>(m.emptyKb), static_cast<long long>(m.fullKb),
            static_cast<long long>(m.fullKb - m.emptyKb),
            double(m.fullKb - m.emptyKb) * 1024.0 / double(in.projectBytes));
        std::printf("  target: open <= empty + 4 x file = %lld kB  %s\n",
                    static_cast<long long>(allowedKb), pass ? "PASS" : "MISS");
    }
    std::printf("\n%d target(s) missed, %d not measured\n", c.missed, c.unmeasured);
    return c.missed;
}
