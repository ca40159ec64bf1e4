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
    ratio(t, c, "key release, 10,000 lines / QFile write + QString::split", KeyRelease,
          KeyReleaseBase, 2.0);
    absolute(t, c, "key release, 10,000 lines, absolute", KeyRelease, 16.0);
    ratio(t, c, "key release, highlighted / QFile write + QString::split", KeyReleaseHighlighted,
          KeyReleaseBase, 2.0);
    ratio(t, c, "release of a typed key, history step / write + split", TypeKey, KeyReleaseBase,
          2.0);
    ratio(t, c, "  release of a typed key, highlighted / write + split", TypeKeyHighlighted,
          KeyReleaseBase, 0);
    ratio(t, c, "  release of a typed key, highlighted / not", TypeKeyHighlighted, TypeKey, 0);
    absolute(t, c, "export 8 x 5,000 tasks to PDF, absolute", ExportPdf, 2000.0);
    ratio(t, c, "export to Markdown / bare QFile write of its bytes", ExportMarkdown,
          ExportMarkdownBase, 3.0);
    ratio(t, c, "read 8 x 5,000 tasks / QSettings asked for every value", Read1, ReadQSettings,
          0.25);
    ratio(t, c, "read 8 x 5,000 tasks / read bytes + decode + split lines", Read1, ReadFloor, 3.0);
    ratio(t, c, "read at 2x tasks / read at 1x", Read2, Read1, 2.2);
    ratio(t, c, "read at 4x tasks / read at 2x", Read4, Read2, 2.2);
    ratio(t, c, "save (ProjectFile::save, fsync) / bare QFile write", Save, SaveBase, 3.0);
    ratio(t, c, "  serialize alone / bare QFile write", Serialize, SaveBase, 0);
    ratio(t, c, "  ProjectFile::write alone / bare QFile write", WriteOnly, SaveBase, 0);
    ratio(t, c, "  bare QFile write + fsync / bare QFile write", SaveFsyncBase, SaveBase, 0);
    ratio(t, c, "  save (ProjectFile::save, fsync) / bare QFile + fsync", Save, SaveFsyncBase, 0);
    ratio(t, c, "recovery snapshot write / bare QFile write of its bytes", Snapshot, SnapshotBase,
          3.0);
    ratio(t, c, "  fingerprint of the project / bare QFile read", Fingerprint, FingerprintBase, 0);
    ratio(t, c, "open through the main window / read alone, 1x", Open1, Read1, 0);
    ratio(t, c, "open through the main window, 2x / 1x", Open2, Open1, 2.2);
    char what[96];
    std::snprintf(what, sizeof what, "main window shown / bare QMainWindow, %d widgets each",
                  in.mainWindowWidgets);
    ratio(t, c, what, ShowMain, ShowBare, 1.5);
    ratio(t, c, "  stock Qt controls and a menu bar / bare QMainWindow", ShowStock, ShowBare, 0);
    ratio(t, c, "  main window shown / stock Qt controls and a menu bar", ShowMain, ShowStock, 0);

    std::printf(
        "\nProjectFile::write commits through QSaveFile, which fsyncs the file before renaming "
        "it;\n"
        "the bare QFile baseline does not, so the fsync line above shows what the disk adds.\n"
        "Verdicts use real time; the cpu ratio leaves out waiting for the disk, which on ext4\n"
        "also comes from overwriting a file in place (the bare baselines do that).\n"
        "The bare window's children are empty QWidgets that paint nothing; the stock line shows\n"
        "what the same number of plain Qt labels, edits and a menu bar cost on their own.\n");

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
