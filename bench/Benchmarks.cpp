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
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStatusBar>
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

QString totalShown(MainWindow& window, int index)
{
    const auto* label =
        window.panel(index)->findChild<QLabel*>(QStringLiteral("lblTasks_Total_%1").arg(index));
    return label ? label->text() : QString();
}

// A run whose result is wrong must not pass as a timing.
bool dashboardFilled(benchmark::State& state, Window& w, int goals, int tasks)
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

// A baseline window made by fill(window), at the main window's size; it must come out with
// as many widgets as the main window.
template <typename Fill> void showBaseline(benchmark::State& state, const Fixture& f, Fill fill)
{
    const QSize size = [&] {
        Window w(f.folder.path());
        return w.window.size();
    }();
    const int children = f.mainWindowWidgets;
    const auto make = [&] {
        auto* window = new QMainWindow;
        fill(window);
        window->resize(size);
        return window;
    };
    // Counted once shown: Qt makes some of a menu bar's parts only then.
    const std::unique_ptr<QMainWindow> probe(make());
    probe->show();
    QCoreApplication::processEvents();
    if (const qsizetype made = probe->findChildren<QWidget*>().size(); made != children) {
        const std::string error = "the baseline window has " + std::to_string(made) +
                                  " widgets, the main window " + std::to_string(children);
        state.SkipWithError(error.c_str());
        return;
    }
    state.counters["widgets"] = children;
    showWindow(state, make);
}

// How much of the main window's time is Qt's own controls: a window of the same stock
// controls (the same Qt classes in the same places, shown or hidden alike, with the same
// texts, pictures, fonts, colours, frames, wrapping and scroll-bar rules, and the same menus,
// items and shortcuts) without any of the program's own code.
void showStock(benchmark::State& state, const Fixture& f)
{
    showBaseline(state, f, [&f](QMainWindow* window) {
        for (const auto& items : f.menus) {
            QMenu* menu = window->menuBar()->addMenu(QStringLiteral("&Menu"));
            for (const auto& keys : items) {
                if (keys)
                    menu->addAction(QStringLiteral("Item"))->setShortcuts(*keys);
                else
                    menu->addMenu(QStringLiteral("Submenu"));
            }
        }
        for (const QString& text : f.statusTexts)
            window->statusBar()->addWidget(new QLabel(text));
        auto* central = new QWidget(window);
        window->setCentralWidget(central);
        QList<QWidget*> made;
        for (const StockControl& c : f.controls) {
            QWidget* parent = c.parent < 0 ? central : made[c.parent];
            auto* area = qobject_cast<QScrollArea*>(parent);
            if (area)
                parent = nullptr;
            QWidget* w = nullptr;
            if (c.stockClass == "QScrollArea")
                w = new QScrollArea(parent);
            else if (c.stockClass == "QLabel")
                w = new QLabel(c.text, parent);
            else if (c.stockClass == "QLineEdit")
                w = new QLineEdit(c.text, parent);
            else if (c.stockClass == "QPlainTextEdit")
                w = new QPlainTextEdit(c.text, parent);
            else if (c.stockClass == "QCheckBox")
                w = new QCheckBox(c.text, parent);
            else if (c.stockClass == "QFrame")
                w = new QFrame(parent);
            else
                w = new QWidget(parent);
            if (auto* frame = qobject_cast<QFrame*>(w))
                frame->setFrameShape(QFrame::Shape(c.frameShape));
            if (auto* scrolling = qobject_cast<QAbstractScrollArea*>(w)) {
                scrolling->setHorizontalScrollBarPolicy(c.horizontalBar);
                scrolling->setVerticalScrollBarPolicy(c.verticalBar);
            }
            if (auto* label = qobject_cast<QLabel*>(w)) {
                label->setWordWrap(c.wordWrap);
                label->setAlignment(c.alignment);
                if (!c.pixmap.isNull())
                    label->setPixmap(c.pixmap);
            }
            if (c.font)
                w->setFont(*c.font);
            if (c.palette)
                w->setPalette(*c.palette);
            w->setAutoFillBackground(c.autoFill);
            w->setGeometry(c.geometry);
            w->setHidden(c.hidden);
            if (area)
                area->setWidget(w);
            made.append(w);
        }
    });
}

QByteArray stockClassOf(const QObject* object)
{
    const QMetaObject* meta = object->metaObject();
    while (!QByteArray(meta->className()).startsWith('Q'))
        meta = meta->superClass();
    return meta->className();
}

// Walks the client area's controls; those Qt makes inside its own (a scroll area's bars,
// an editor's viewport) come with the stock class.
void recordControls(const QWidget* parent, int parentIndex, QList<StockControl>& controls)
{
    const auto* area = qobject_cast<const QScrollArea*>(parent);
    const QList<QWidget*> children =
        area ? QList<QWidget*>{area->widget()}
             : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* w : children) {
        StockControl c;
        c.stockClass = stockClassOf(w);
        c.parent = parentIndex;
        c.geometry = w->geometry();
        c.hidden = w->isHidden();
        const auto* label = qobject_cast<const QLabel*>(w);
        if (label)
            c.text = label->text();
        else if (const auto* line = qobject_cast<const QLineEdit*>(w))
            c.text = line->text();
        else if (const auto* box = qobject_cast<const QCheckBox*>(w))
            c.text = box->text();
        if (w->testAttribute(Qt::WA_SetFont))
            c.font = w->font();
        if (w->testAttribute(Qt::WA_SetPalette))
            c.palette = w->palette();
        c.autoFill = w->autoFillBackground();
        if (label) {
            c.wordWrap = label->wordWrap();
            c.alignment = label->alignment();
            c.pixmap = label->pixmap();
        }
        if (const auto* frame = qobject_cast<const QFrame*>(w))
            c.frameShape = frame->frameShape();
        if (const auto* scrolling = qobject_cast<const QAbstractScrollArea*>(w)) {
            c.horizontalBar = scrolling->horizontalScrollBarPolicy();
            c.verticalBar = scrolling->verticalScrollBarPolicy();
        }
        controls.append(c);
        // Qt's composite controls (editors, check boxes) make their own parts.
        if (QByteArrayList{"QWidget", "QLabel", "QFrame", "QScrollArea"}.contains(c.stockClass))
            recordControls(w, int(controls.size()) - 1, controls);
    }
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
        QList<std::optional<QList<QKeySequence>>> items;
        for (const QAction* item : title->menu()->actions())
            items.append(item->menu() ? std::nullopt : std::optional(item->shortcuts()));
        menus.append(items);
    }
    for (const QLabel* label : probe.window.statusBar()->findChildren<QLabel*>())
        statusTexts.append(label->text());
    recordControls(probe.window.centralWidget(), -1, controls);
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
