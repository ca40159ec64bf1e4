#include "Benchmarks.h"

#include "Fakes.h"

#include "app/MainWindow.h"
#include "app/ProjectCommands.h"
#include "app/ProjectSafety.h"
#include "components/TextFile.h"
#include "dashboard/GoalPanel.h"
#include "dashboard/ProjectPrinter.h"
#include "model/TaskCounts.h"
#include "report/MarkdownExport.h"
#include "sidebar/TaskEditor.h"
#include "sidebar/TaskHighlighter.h"
#include "storage/FileFingerprint.h"
#include "storage/ProjectFile.h"
#include "storage/RecoveryFile.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

} // namespace

// A shown main window with fakes for everything that would wait for the user.
struct Window
{
    BenchPrompt prompt;
    BenchFolderOpener opener;
    CountingRandom random;
    MainWindow window;

    explicit Window(const QString& appDir)
        : window(AppServices{Workspace(appDir), &prompt, &opener, &random})
    {
        window.show();
        QCoreApplication::processEvents();
    }
};

namespace {

QString totalShown(const MainWindow& window, int index)
{
    const auto* label =
        window.panel(index)->findChild<QLabel*>(QStringLiteral("lblTasks_Total_%1").arg(index));
    return label ? label->text() : QString();
}

// A run whose result is wrong must not pass as a timing.
bool dashboardFilled(benchmark::State& state, const Window& w, int goals, int tasks)
{
    if (!w.prompt.warnings.isEmpty()) {
        state.SkipWithError(qPrintable(w.prompt.warnings.first()));
        return false;
    }
    const QString expected = QStringLiteral("Tasks: ") + QString::number(tasks);
    for (int i = 1; i <= goals; ++i) {
        if (w.window.subGoalNames().size() < i || totalShown(w.window, i) != expected) {
            state.SkipWithError("the dashboard does not show the opened project");
            return false;
        }
    }
    return true;
}

QString taskListText(int lines)
{
    // As the window builds it from a project: every line ends with "\n".
    return BenchData::tasks(lines, 7u).join(u'\n') + u'\n';
}

// typing: each round types a character (press and release) at the end of the first line
// instead of releasing a key alone, so that an edit is there for the highlighter to follow.
void keyRelease(benchmark::State& state, const Fixture& f, bool highlighted, bool typing = false)
{
    Window w(f.folder.path());
    w.prompt.projectToOpen = f.keyProjectPath;
    w.window.mnuOpen_Click();
    w.window.lblGoal_Click(1);
    auto* editor = w.window.findChild<TaskEditor*>(QStringLiteral("txtGoalTasks"));
    if (!editor || TaskCounts::of(editor->tasksText()).total != BenchSize::KeyReleaseLines) {
        state.SkipWithError("the task editor does not hold the task list");
        return;
    }
    if (highlighted) {
        TaskHighlighter::attach(editor);
        // The first pass over the whole list comes from the event loop; it is not a key.
        QCoreApplication::processEvents();
    }
    if (typing) {
        editor->moveCursor(QTextCursor::Start);
        editor->moveCursor(QTextCursor::EndOfLine);
    }
    // Sent to the editor the way a real release arrives; it ends in RefreshTaskCounts().
    // A release counts only after its press reached the editor: Shift stands for a key that
    // changes nothing, "a" for one that types.
    const Qt::Key key = typing ? Qt::Key_A : Qt::Key_Shift;
    const QString text = typing ? QStringLiteral("a") : QString();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    // A typed character's press is the editor's own work; the release that writes, counts
    // and records the history step is what is timed.
    for (auto _ : state) {
        if (typing)
            state.PauseTiming();
        QCoreApplication::sendEvent(editor, &press);
        if (typing)
            state.ResumeTiming();
        QCoreApplication::sendEvent(editor, &release);
    }
    // The recovery copy follows every release, written later from the event loop.
    if (!w.window.safety().recovery().writer().isPending())
        state.SkipWithError("the recovery copy does not follow the edits");
    const QFileInfo written(w.window.workspace().taskFilePath(w.window.project().selectedKey()));
    if (written.size() != TextFile::encode(editor->tasksText()).size())
        state.SkipWithError("the task file was not written");
    dashboardFilled(state, w, 1, BenchSize::KeyReleaseLines);
}

// Times write() over and over; its first failure ends the run with the reason.
template <typename Write> bool timeWrites(benchmark::State& state, Write&& write)
{
    for (auto _ : state) {
        const Result written = write();
        if (!written.ok()) {
            state.SkipWithError(qPrintable(written.error));
            return false;
        }
    }
    return true;
}

// Today is fixed so that every run draws the same words.
const QDate ExportDay(2026, 3, 20);

void exportPdf(benchmark::State& state, const Fixture& f)
{
    const QString path = f.folder.path() + QStringLiteral("/export.pdf");
    if (timeWrites(state,
                   [&] { return ProjectPrinter::exportPdf(path, f.projects.at(1), ExportDay); }))
        state.counters["bytes"] = double(QFileInfo(path).size());
}

void exportMarkdown(benchmark::State& state, const Fixture& f)
{
    const QString path = f.folder.path() + QStringLiteral("/export.md");
    timeWrites(state, [&] { return MarkdownExport::save(path, f.projects.at(1), ExportDay); });
}

// The baseline of a file write: the same bytes written in place with plain QFile calls.
void bareWrites(benchmark::State& state, const QString& path, const QByteArray& bytes,
                bool flushToDisk = false)
{
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size() || !file.flush() ||
            (flushToDisk && ::fsync(file.handle()) != 0)) {
            state.SkipWithError("cannot write the base file");
            return;
        }
        file.close();
    }
}

void exportMarkdownBase(benchmark::State& state, const Fixture& f)
{
    const QByteArray bytes = MarkdownExport::toMarkdown(f.projects.at(1), ExportDay);
    bareWrites(state, f.folder.path() + QStringLiteral("/export-base.md"), bytes);
}

void keyReleaseBase(benchmark::State& state, const Fixture& f)
{
    const QString text = taskListText(BenchSize::KeyReleaseLines);
    const QByteArray bytes = TextFile::encode(text);
    const QString path = f.folder.path() + QStringLiteral("/tmp/base.txt");
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write the base file");
            return;
        }
        file.close();
        const QStringList lines = text.split(u'\n');
        benchmark::DoNotOptimize(lines.size());
    }
}

void readProject(benchmark::State& state, const Fixture& f, int scale)
{
    const QString& path = f.projectPaths.at(scale);
    const auto first = ProjectFile::read(path);
    if (!first.ok() || first.value != f.projects.at(scale)) {
        state.SkipWithError("the project did not read back as written");
        return;
    }
    for (auto _ : state) {
        const auto project = ProjectFile::read(path);
        benchmark::DoNotOptimize(project.value.goals.size());
    }
}

// Every key the file holds, named as QSettings names them.
QStringList settingsKeys(const ProjectData& project)
{
    QStringList keys{QStringLiteral("Project/Name")};
    int g = 0;
    for (const SubGoalRecord& goal : project.goals) {
        const QString prefix = QStringLiteral("Goals/Goal") + QString::number(++g);
        keys << prefix << prefix + QStringLiteral("_Name") << prefix + QStringLiteral("_Due")
             << prefix + QStringLiteral("_Tasks");
        for (qsizetype t = 1; t <= goal.tasks.size(); ++t)
            keys << prefix + QStringLiteral("_Task") + QString::number(t);
    }
    return keys;
}

// QSettings keeps parsed files in a process-wide cache and parses again only when the
// file's time stamp moves, so each round moves it.
void touch(const QString& path)
{
    static long stamp = 1700000000;
    const timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

void readQSettings(benchmark::State& state, const Fixture& f)
{
    const QString& path = f.projectPaths.at(1);
    const QStringList keys = settingsKeys(f.projects.at(1));
    for (auto _ : state) {
        state.PauseTiming();
        touch(path);
        state.ResumeTiming();
        QSettings settings(path, QSettings::IniFormat);
        qsizetype found = 0;
        for (const QString& key : keys)
            found += settings.value(key).isValid();
        if (found != keys.size()) {
            state.SkipWithError("QSettings missed values");
            return;
        }
    }
}

void readFloor(benchmark::State& state, const Fixture& f)
{
    const QString& path = f.projectPaths.at(1);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open the project");
            return;
        }
        const QString text = QString::fromUtf8(file.readAll());
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        benchmark::DoNotOptimize(lines.size());
    }
}

void saveProject(benchmark::State& state, const Fixture& f)
{
    const ProjectData& project = f.projects.at(1);
    const QString path = f.folder.path() + QStringLiteral("/projects/save.gpj");
    timeWrites(state, [&] { return ProjectFile::save(path, project); });
}

void saveBase(benchmark::State& state, const Fixture& f, bool flushToDisk)
{
    bareWrites(state, f.folder.path() + QStringLiteral("/projects/save-base.gpj"),
               ProjectFile::serialize(f.projects.at(1)), flushToDisk);
}

void serializeOnly(benchmark::State& state, const Fixture& f)
{
    const ProjectData& project = f.projects.at(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectFile::serialize(project).size());
}

void writeOnly(benchmark::State& state, const Fixture& f)
{
    const QByteArray bytes = ProjectFile::serialize(f.projects.at(1));
    const QString path = f.folder.path() + QStringLiteral("/projects/save.gpj");
    timeWrites(state, [&] { return ProjectFile::write(path, bytes); });
}

RecoverySnapshot snapshotOf(const Fixture& f)
{
    return {f.projects.at(1), f.projectPaths.at(1)};
}

void writeSnapshot(benchmark::State& state, const Fixture& f)
{
    const RecoverySnapshot snapshot = snapshotOf(f);
    const QString path = RecoveryFile::pathIn(f.folder.path());
    timeWrites(state, [&] { return RecoveryFile::write(path, snapshot); });
}

// The same bytes, written in place with nothing around them.
void writeSnapshotBase(benchmark::State& state, const Fixture& f)
{
    const QByteArray bytes = RecoveryFile::serialize(snapshotOf(f));
    bareWrites(state, f.folder.path() + QStringLiteral("/recovery-base.gpj"), bytes);
}

void fingerprint(benchmark::State& state, const Fixture& f)
{
    const QString path = f.projectPaths.at(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(FileFingerprint::of(path).hash());
}

void fingerprintBase(benchmark::State& state, const Fixture& f)
{
    const QString path = f.projectPaths.at(1);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open the project");
            return;
        }
        benchmark::DoNotOptimize(file.readAll().size());
    }
}

void openProject(benchmark::State& state, const Fixture& f, int scale)
{
    Window w(f.folder.path());
    w.prompt.projectToOpen = f.projectPaths.at(scale);
    for (auto _ : state) {
        w.window.mnuOpen_Click();
        // Painting comes later, from the event loop, and is not counted as opening.
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    dashboardFilled(state, w, BenchSize::Goals, BenchSize::TasksPerGoal * scale);
}

// Creation and first paint; tearing down is not timed.
template <typename Make> void showWindow(benchmark::State& state, Make make)
{
    for (auto _ : state) {
        QWidget* window = make();
        window->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete window;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void showMain(benchmark::State& state, const Fixture& f)
{
    BenchPrompt prompt;
    BenchFolderOpener opener;
    CountingRandom random;
    state.counters["widgets"] = f.mainWindowWidgets;
    showWindow(state, [&] {
        return new MainWindow(AppServices{Workspace(f.folder.path()), &prompt, &opener, &random});
    });
}

// A baseline window made by fill(window, children), at the main window's size and with as
// many widgets as it.
template <typename Fill> void showBaseline(benchmark::State& state, const Fixture& f, Fill fill)
{
    const QSize size = [&] {
        Window w(f.folder.path());
        return w.window.size();
    }();
    const int children = f.mainWindowWidgets;
    const auto make = [&] {
        auto* window = new QMainWindow;
        fill(window, children);
        window->resize(size);
        return window;
    };
    const std::unique_ptr<QMainWindow> probe(make());
    if (probe->findChildren<QWidget*>().size() != children) {
        state.SkipWithError("the baseline window does not have as many widgets as the main window");
        return;
    }
    state.counters["widgets"] = children;
    showWindow(state, make);
}

void showBare(benchmark::State& state, const Fixture& f)
{
    showBaseline(state, f, [](QMainWindow* window, int children) {
        auto* central = new QWidget(window);
        window->setCentralWidget(central);
        for (int i = 1; i < children; ++i)
            (new QWidget(central))->setGeometry((i % 40) * 24, (i / 40) * 24, 20, 20);
    });
}

// How much of the gap to the bare window is Qt's own controls: a window of stock widgets
// with a menu bar, an editor and two line edits, filled up with text labels to the same count.
void showStock(benchmark::State& state, const Fixture& f)
{
    showBaseline(state, f, [](QMainWindow* window, int children) {
        QMenu* menu = window->menuBar()->addMenu(QStringLiteral("&Project"));
        for (int i = 0; i < 6; ++i)
            menu->addAction(QStringLiteral("Item %1").arg(i));
        auto* central = new QWidget(window);
        window->setCentralWidget(central);
        (new QPlainTextEdit(central))->setGeometry(0, 300, 250, 200);
        (new QLineEdit(central))->setGeometry(0, 0, 250, 22);
        (new QLineEdit(central))->setGeometry(0, 30, 250, 22);
        for (int i = int(window->findChildren<QWidget*>().size()); i < children; ++i)
            (new QLabel(QStringLiteral("Tasks: 0"), central))
                ->setGeometry(260 + (i % 8) * 90, (i / 8) * 24, 80, 20);
    });
}

} // namespace

Fixture::Fixture()
{
    if (!folder.isValid())
        return;
    ProjectData keyProject = BenchData::project(1, 0);
    keyProject.goals[0].tasks = BenchData::tasks(BenchSize::KeyReleaseLines, 7u);
    keyProjectPath = folder.addProject(QStringLiteral("key-release.gpj"), keyProject);
    for (const int scale : {1, 2, 4}) {
        projects[scale] = BenchData::project(BenchSize::Goals, BenchSize::TasksPerGoal * scale);
        projectPaths[scale] =
            folder.addProject(QStringLiteral("bench-%1x.gpj").arg(scale), projects[scale]);
    }
    Window probe(folder.path());
    mainWindowWidgets = int(probe.window.findChildren<QWidget*>().size());
    measureHistory(probe);
}

// Types 1,000 characters into the 10,000-line list, a key press and release each, and adds
// up what the history keeps of them.
void Fixture::measureHistory(Window& w)
{
    w.prompt.projectToOpen = keyProjectPath;
    w.window.mnuOpen_Click();
    w.window.lblGoal_Click(1);
    auto* editor = w.window.findChild<TaskEditor*>(QStringLiteral("txtGoalTasks"));
    editor->moveCursor(QTextCursor::Start);
    editor->moveCursor(QTextCursor::EndOfLine);
    for (int i = 0; i < 1000; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(editor, &press);
        QCoreApplication::sendEvent(editor, &release);
    }
    const QUndoStack& history = w.window.history();
    historyBytes = 0;
    historySteps = history.count();
    for (int i = 0; i < history.count(); ++i) {
        if (const auto* step = dynamic_cast<const TaskTextCommand*>(history.command(i)))
            historyBytes += step->storedBytes();
    }
}

qint64 Fixture::projectBytes(int scale) const
{
    return QFileInfo(projectPaths.at(scale)).size();
}

void registerBenchmarks(Fixture& f)
{
    using namespace BenchName;
    const auto add = [](const char* name, auto fn) {
        return benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(1.0)
            ->Repetitions(5)
            ->DisplayAggregatesOnly(true);
    };
    // Each measurement sits next to its baseline so that both see the same machine state.
    add(KeyRelease, [&f](benchmark::State& s) { keyRelease(s, f, false); });
    add(KeyReleaseBase, [&f](benchmark::State& s) { keyReleaseBase(s, f); });
    add(KeyReleaseHighlighted, [&f](benchmark::State& s) { keyRelease(s, f, true); });
    add(TypeKey, [&f](benchmark::State& s) { keyRelease(s, f, false, true); });
    add(TypeKeyHighlighted, [&f](benchmark::State& s) { keyRelease(s, f, true, true); });
    add(ExportPdf, [&f](benchmark::State& s) { exportPdf(s, f); });
    add(ExportMarkdown, [&f](benchmark::State& s) { exportMarkdown(s, f); });
    add(ExportMarkdownBase, [&f](benchmark::State& s) { exportMarkdownBase(s, f); });
    add(Read1, [&f](benchmark::State& s) { readProject(s, f, 1); });
    add(ReadQSettings, [&f](benchmark::State& s) { readQSettings(s, f); });
    add(ReadFloor, [&f](benchmark::State& s) { readFloor(s, f); });
    add(Read2, [&f](benchmark::State& s) { readProject(s, f, 2); });
    add(Read4, [&f](benchmark::State& s) { readProject(s, f, 4); });
    add(Save, [&f](benchmark::State& s) { saveProject(s, f); });
    add(SaveBase, [&f](benchmark::State& s) { saveBase(s, f, false); });
    add(SaveFsyncBase, [&f](benchmark::State& s) { saveBase(s, f, true); });
    add(Serialize, [&f](benchmark::State& s) { serializeOnly(s, f); });
    add(WriteOnly, [&f](benchmark::State& s) { writeOnly(s, f); });
    add(Snapshot, [&f](benchmark::State& s) { writeSnapshot(s, f); });
    add(SnapshotBase, [&f](benchmark::State& s) { writeSnapshotBase(s, f); });
    add(Fingerprint, [&f](benchmark::State& s) { fingerprint(s, f); });
    add(FingerprintBase, [&f](benchmark::State& s) { fingerprintBase(s, f); });
    add(Open1, [&f](benchmark::State& s) { openProject(s, f, 1); });
    add(Open2, [&f](benchmark::State& s) { openProject(s, f, 2); });
    add(ShowMain, [&f](benchmark::State& s) { showMain(s, f); });
    add(ShowBare, [&f](benchmark::State& s) { showBare(s, f); });
    add(ShowStock, [&f](benchmark::State& s) { showStock(s, f); });
}
