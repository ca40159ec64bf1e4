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
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <memory>

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

// Each round types a character at the end of the first line, with the window's own
// highlighting and history on: the release that writes, counts and records the step is timed.
void typeKey(benchmark::State& state, const Fixture& f)
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
    // The first highlighting pass over the whole list comes from the event loop.
    QCoreApplication::processEvents();
    editor->moveCursor(QTextCursor::Start);
    editor->moveCursor(QTextCursor::EndOfLine);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    for (auto _ : state) {
        state.PauseTiming();
        QCoreApplication::sendEvent(editor, &press);
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
    if (timeWrites(state, [&] { return ProjectPrinter::exportPdf(path, f.project, ExportDay); }))
        state.counters["bytes"] = double(QFileInfo(path).size());
}

void exportMarkdown(benchmark::State& state, const Fixture& f)
{
    const QString path = f.folder.path() + QStringLiteral("/export.md");
    timeWrites(state, [&] { return MarkdownExport::save(path, f.project, ExportDay); });
}

// The baseline of a file write: the same bytes written in place with plain QFile calls.
void bareWrites(benchmark::State& state, const QString& path, const QByteArray& bytes)
{
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size() || !file.flush()) {
            state.SkipWithError("cannot write the base file");
            return;
        }
        file.close();
    }
}

void exportMarkdownBase(benchmark::State& state, const Fixture& f)
{
    const QByteArray bytes = MarkdownExport::toMarkdown(f.project, ExportDay);
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

void readProject(benchmark::State& state, const Fixture& f)
{
    const QString& path = f.projectPath;
    const auto first = ProjectFile::read(path);
    if (!first.ok() || first.value != f.project) {
        state.SkipWithError("the project did not read back as written");
        return;
    }
    for (auto _ : state) {
        const auto project = ProjectFile::read(path);
        benchmark::DoNotOptimize(project.value.goals.size());
    }
}

void saveProject(benchmark::State& state, const Fixture& f)
{
    const ProjectData& project = f.project;
    const QString path = f.folder.path() + QStringLiteral("/projects/save.gpj");
    timeWrites(state, [&] { return ProjectFile::save(path, project); });
}

void saveBase(benchmark::State& state, const Fixture& f)
{
    bareWrites(state, f.folder.path() + QStringLiteral("/projects/save-base.gpj"),
               ProjectFile::serialize(f.project));
}

RecoverySnapshot snapshotOf(const Fixture& f)
{
    return {f.project, f.projectPath, {}};
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

void openProject(benchmark::State& state, const Fixture& f)
{
    Window w(f.folder.path());
    w.prompt.projectToOpen = f.projectPath;
    for (auto _ : state) {
        w.window.mnuOpen_Click();
        // Painting comes later, from the event loop, and is not counted as opening.
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    dashboardFilled(state, w, BenchSize::Goals, BenchSize::TasksPerGoal);
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

// How much of the gap to the bare window is Qt's own controls: a window of stock widgets
// with the same menus, items and shortcuts, an editor and two line edits, filled up with
// text labels to the same count.
void showStock(benchmark::State& state, const Fixture& f)
{
    showBaseline(state, f, [&f](QMainWindow* window, int children) {
        for (const QList<QList<QKeySequence>>& items : f.menus) {
            QMenu* menu = window->menuBar()->addMenu(QStringLiteral("&Menu"));
            for (const QList<QKeySequence>& keys : items)
                menu->addAction(QStringLiteral("Item"))->setShortcuts(keys);
        }
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
    project = BenchData::project(BenchSize::Goals, BenchSize::TasksPerGoal);
    projectPath = folder.addProject(QStringLiteral("bench.gpj"), project);
    Window probe(folder.path());
    mainWindowWidgets = int(probe.window.findChildren<QWidget*>().size());
    for (const QAction* title : probe.window.menuBar()->actions()) {
        QList<QList<QKeySequence>> items;
        for (const QAction* item : title->menu()->actions())
            items.append(item->shortcuts());
        menus.append(items);
    }
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

qint64 Fixture::projectBytes() const
{
    return QFileInfo(projectPath).size();
}

void registerBenchmarks(Fixture& f)
{
    using namespace BenchName;
    const auto add = [](const char* name, auto fn) { addMeasurement(name, fn); };
    // Each measurement sits next to its baseline so that both see the same machine state.
    add(TypeKeyHighlighted, [&f](benchmark::State& s) { typeKey(s, f); });
    add(KeyReleaseBase, [&f](benchmark::State& s) { keyReleaseBase(s, f); });
    add(ExportPdf, [&f](benchmark::State& s) { exportPdf(s, f); });
    add(ExportMarkdown, [&f](benchmark::State& s) { exportMarkdown(s, f); });
    add(ExportMarkdownBase, [&f](benchmark::State& s) { exportMarkdownBase(s, f); });
    add(Save, [&f](benchmark::State& s) { saveProject(s, f); });
    add(SaveBase, [&f](benchmark::State& s) { saveBase(s, f); });
    add(Snapshot, [&f](benchmark::State& s) { writeSnapshot(s, f); });
    add(SnapshotBase, [&f](benchmark::State& s) { writeSnapshotBase(s, f); });
    add(Read1, [&f](benchmark::State& s) { readProject(s, f); });
    add(Open1, [&f](benchmark::State& s) { openProject(s, f); });
    add(ShowMain, [&f](benchmark::State& s) { showMain(s, f); });
    add(ShowStock, [&f](benchmark::State& s) { showStock(s, f); });
}
