#include "HistoryBench.h"

#include "Fakes.h"

#include "app/MainWindow.h"
#include "model/ProgressHistory.h"
#include "progress/ProgressWindow.h"
#include "storage/HistoryFile.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int HistoryDays = 1000;
const char* OpenProgress = "progress/open_window_1000_days";
const char* SaveWith = "progress/save_with_1000_days";
const char* SaveWithout = "progress/save_without_history";
const char* WriteHistory = "progress/history_file_write_1000_days";

// A main window with the project open and fakes for everything that would wait.
struct OpenWindow
{
    BenchPrompt prompt;
    BenchFolderOpener opener;
    CountingRandom random;
    MainWindow window;

    OpenWindow(const Fixture& f, const QString& path)
        : window(AppServices{Workspace(f.folder.path()), &prompt, &opener, &random})
    {
        window.show();
        prompt.projectToOpen = path;
        window.mnuOpen_Click();
        QCoreApplication::processEvents();
    }
};

// The bench project under another name, with a history of a steady pace up to yesterday.
QString projectWithHistory(const Fixture& f, const QString& name, bool history)
{
    const QString path = f.folder.path() + QStringLiteral("/projects/") + name;
    QFile::remove(path);
    QFile::copy(f.projectPath, path);
    QList<HistoryRow> rows;
    const QDate first = QDate::currentDate().addDays(-HistoryDays);
    for (int day = 0; day < HistoryDays && history; ++day) {
        for (const SubGoalRecord& goal : f.project.goals) {
            const int total = int(goal.tasks.size());
            // Half the tasks done at a steady pace.
            rows.append(
                {first.addDays(day), goal.key, goal.name, total, total * day / (2 * HistoryDays)});
        }
    }
    QFile::remove(HistoryFile::pathFor(path));
    if (history)
        HistoryFile::write(HistoryFile::pathFor(path), rows);
    return path;
}

// Creation and first paint; closing is not timed.
void openProgress(benchmark::State& state, const Fixture& f)
{
    OpenWindow w(f, projectWithHistory(f, QStringLiteral("history-window.gpj"), true));
    if (w.window.project().progress().rows().size() != HistoryDays * BenchSize::Goals) {
        state.SkipWithError("the history was not read");
        return;
    }
    for (auto _ : state) {
        auto* progress = new ProgressWindow(w.window.project(), Clock::system(), &w.window);
        progress->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete progress;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void save(benchmark::State& state, const Fixture& f, bool history)
{
    const QString path = projectWithHistory(
        f, history ? QStringLiteral("history-save.gpj") : QStringLiteral("plain-save.gpj"),
        history);
    OpenWindow w(f, path);
    ProgressHistory& progress = w.window.project().progress();
    for (auto _ : state) {
        if (!w.window.SaveProject(path)) {
            state.SkipWithError("the project was not saved");
            return;
        }
        // The history is written after the save returned, while the user goes on.
        state.PauseTiming();
        progress.waitForWrites();
        state.ResumeTiming();
    }
    const qsizetype rows = w.window.project().progress().rows().size();
    if (rows != (history ? HistoryDays + 1 : 1) * BenchSize::Goals || !w.prompt.warnings.isEmpty())
        state.SkipWithError("the history was not kept");
}

// What the thread behind the save does with it.
void writeHistory(benchmark::State& state, const Fixture& f)
{
    const QString path = projectWithHistory(f, QStringLiteral("history-write.gpj"), true);
    const auto rows = HistoryFile::read(HistoryFile::pathFor(path));
    for (auto _ : state) {
        if (!HistoryFile::write(HistoryFile::pathFor(path), rows.value).ok()) {
            state.SkipWithError("the history was not written");
            return;
        }
    }
}

} // namespace

void registerHistoryBenchmarks(Fixture& f)
{
    const auto add = [](const char* name, auto fn) { addMeasurement(name, fn); };
    add(OpenProgress, [&f](benchmark::State& s) { openProgress(s, f); });
    add(SaveWith, [&f](benchmark::State& s) { save(s, f, true); });
    add(SaveWithout, [&f](benchmark::State& s) { save(s, f, false); });
    add(WriteHistory, [&f](benchmark::State& s) { writeHistory(s, f); });
}

int printHistoryRatios(const CollectingReporter& times)
{
    struct Row
    {
        const char* what;
        const char* measured;
        const char* base;
        double target;
    };
    const Row rows[] = {
        {"progress window, 1,000 days x 8 / open 8 x 5,000 tasks", OpenProgress, BenchName::Open1,
         1.0},
        {"save with 1,000 days of history / save without", SaveWith, SaveWithout, 1.2},
        {"history file written behind it / save without", WriteHistory, SaveWithout, 0}};
    int missed = 0;
    for (const Row& row : rows) {
        const auto t = times.seconds(row.measured);
        const auto b = times.seconds(row.base);
        if (!t || !b || *b <= 0) {
            std::printf("%-58s NOT RUN\n", row.what);
            continue;
        }
        const double r = *t / *b;
        // Target 0: the ratio is stated, not judged.
        const bool pass = row.target <= 0 || r <= row.target;
        missed += !pass;
        char target[32] = "stated";
        if (row.target > 0)
            std::snprintf(target, sizeof target, "<= %.2fx", row.target);
        std::printf("%-58s %10.3f %10.3f %8.2fx %9s  %s\n", row.what, *t * 1e3, *b * 1e3, r, target,
                    row.target <= 0 ? ""
                    : pass          ? "PASS"
                                    : "MISS");
    }
    return missed;
}
