#include "app/MainWindow.h"

#include "app/ClientArea.h"
#include "app/DueReminder.h"
#include "app/EditActions.h"
#include "app/HelpMenu.h"
#include "app/ProjectExport.h"
#include "app/ProjectSafety.h"
#include "app/RecentProjects.h"
#include "app/StatusLine.h"
#include "components/AppInfo.h"
#include "components/DayWatcher.h"
#include "dialogs/FolderOpener.h"
#include "model/DashboardLayout.h"
#include "model/DueDateText.h"
#include "progress/ProgressWindow.h"
#include "sidebar/Sidebar.h"
#include "sidebar/TaskEditor.h"
#include "widgets/ClickableLabel.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>

using DashboardLayout::toPixels;

MainWindow::MainWindow(AppServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)),
      m_settings(m_services.settingsPath(), QSettings::IniFormat),
      m_store(m_services.workspace.tmpFolder()), m_project(m_store, *m_services.random)
{
    setObjectName(QStringLiteral("Form1"));
    auto* day = new DayWatcher(*m_services.clock, this);
    m_dashboard = new DashboardView(m_project, m_services.workspace, *day, nullptr);
    m_sidebar = new Sidebar(m_project, *m_services.clock);
    m_tasks = m_sidebar->tasks();
    setCentralWidget(new ClientArea(m_sidebar, m_dashboard, this));
    new StatusLine(m_project, *day, statusBar());
    buildMenus();
    m_reminder = new DueReminder(this, *day, m_settings);
    connectViews();
    m_safety = new ProjectSafety(m_project, m_history, m_services, this);
    connect(m_safety, &ProjectSafety::projectRead, this, &MainWindow::LoadProject);
    connect(m_safety, &ProjectSafety::saved, this,
            [this](const QString& path, const ProjectData& saved) {
                tellHistory(m_project.progress().record(path, saved, m_services.clock->today()));
            });
    connect(&m_project.progress(), &ProgressHistory::writeFailed, this, &MainWindow::tellHistory);
    connect(m_safety, &ProjectSafety::told, statusBar(),
            [this](const QString& message) { statusBar()->showMessage(message); });
    resize(toPixels(DashboardLayout::ClientWidth), toPixels(DashboardLayout::ClientHeight) +
                                                       menuBar()->sizeHint().height() +
                                                       statusBar()->sizeHint().height());
    setWindowTitle(AppInfo::windowTitle());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    // Keys held for a shortcut are released after the command ran; not an edit.
    const auto first = [this] { m_sidebar->forgetPressedKeys(); };
    // What is typed but not yet written goes into the export too.
    auto* out = new ProjectExport(
        m_project, m_services, m_settings, [this] { writeUnwrittenTasks(); }, this);
    connect(out, &ProjectExport::exported, this,
            [this](const QString& message) { statusBar()->showMessage(message, 8000); });
    QMenu* project = addMenu(
        menuBar(), "mnuProject", QStringLiteral("&Project"),
        {{"mnuNew", QStringLiteral("New"), {Qt::CTRL | Qt::Key_N}, [this] { mnuNew_Click(); }},
         {"mnuOpen", QStringLiteral("Open"), {Qt::CTRL | Qt::Key_O}, [this] { mnuOpen_Click(); }},
         {"mnuSave", QStringLiteral("Save"), {Qt::CTRL | Qt::Key_S}, [this] { mnuSave_Click(); }},
         {"mnuSaveAs",
          QStringLiteral("Save As..."),
          {Qt::CTRL | Qt::SHIFT | Qt::Key_S},
          [this] { mnuSaveAs_Click(); }},
         {"mnuExportPdf", QStringLiteral("Export as PDF..."), {}, [out] { out->exportPdf(); }},
         {"mnuExportMarkdown",
          QStringLiteral("Export as Markdown..."),
          {},
          [out] { out->exportMarkdown(); }},
         {"mnuPrint", QStringLiteral("Print..."), {Qt::CTRL | Qt::Key_P}, [out] { out->print(); }},
         {"mnuSep1", QStringLiteral("-"), {}, {}},
         {"mnuExit", QStringLiteral("Exit"), {Qt::CTRL | Qt::Key_Q}, [this] { mnuExit_Click(); }}},
        first);
    m_recent = new RecentProjects(m_settings, m_services.prompt, project,
                                  project->findChild<QAction*>(QStringLiteral("mnuSave")));
    connect(m_recent, &RecentProjects::chosen, this, &MainWindow::openProjectFile);
    QMenu* edit =
        addMenu(menuBar(), "mnuEdit", QStringLiteral("&Edit"),
                {{"mnuUndo", QStringLiteral("Undo"), {QKeySequence::Undo}, [this] { undo(); }},
                 {"mnuRedo",
                  QStringLiteral("Redo"),
                  {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y},
                  [this] { redo(); }}},
                first);
    followHistory(m_history, edit);
    new EditActions(edit, m_project, [this] { markDone(); });
    addMenu(menuBar(), "mnuView", QStringLiteral("&View"),
            {{"mnuProgress",
              QStringLiteral("Progress Over Time..."),
              {},
              [this] { showOnce<ProgressWindow>(this, m_project, *m_services.clock); }}},
            first);
    addHelpMenu(menuBar(), this, m_services.workspace, [this] { lblFilename_Click(); });
}

void MainWindow::connectViews()
{
    Sidebar* s = m_sidebar;
    connect(m_dashboard, &DashboardView::goalClicked, this, &MainWindow::lblGoal_Click);
    connect(m_dashboard, &DashboardView::deleteClicked, this,
            &MainWindow::lblDeleteOnMouseOver_Click);
    connect(s->filenameLink(), &ClickableLabel::clicked, this, &MainWindow::lblFilename_Click);
    connect(s->deleteLink(), &ClickableLabel::clicked, this, &MainWindow::lblDelete_Click);
    connect(s->newGoalLink(), &ClickableLabel::clicked, this, [this] { lblGoal_Click(0); });
    connect(s, &Sidebar::projectNameKeyReleased, this, &MainWindow::txtProjectName_KeyUp);
    connect(s, &Sidebar::projectNameChangedWithoutKey, this, &MainWindow::txtProjectName_KeyUp);
    connect(s, &Sidebar::subGoalCharacterTyped, this, &MainWindow::txtSubGoal_KeyPress);
    connect(s, &Sidebar::subGoalEntered, this, &MainWindow::txtSubGoal_Enter);
    connect(s, &Sidebar::dueDateToggled, this, &MainWindow::chkDueDate_Click);
    connect(s, &Sidebar::calendarDateChanged, this, &MainWindow::Calendar1_DateChange);
    connect(m_tasks, &TaskEditor::characterKeyPressed, &m_project, &Project::markEdited);
    connect(m_tasks, &TaskEditor::edited, this, &MainWindow::RefreshTaskCounts);
    // The project is unsaved exactly while the history is away from its clean step.
    connect(&m_history, &QUndoStack::cleanChanged, &m_project, &Project::setClean);
    // A new or opened project starts an empty history.
    connect(&m_project, &Project::goalsReset, &m_history, &QUndoStack::clear);
}

void MainWindow::replay(void (QUndoStack::*step)())
{
    // What is typed but not yet written is a step of its own, before the one replayed.
    writeUnwrittenTasks();
    ++m_burst;
    (m_history.*step)();
}

int MainWindow::typingBurst()
{
    // A pause this long in typing starts a new history step.
    if (!m_lastTyping.isValid() || m_lastTyping.elapsed() > 1500)
        ++m_burst;
    m_lastTyping.start();
    return m_burst;
}

void MainWindow::lblGoal_Click(int index)
{
    writeUnwrittenTasks();
    ++m_burst;
    m_project.select(index);
    if (index > 0)
        m_tasks->setFocus();
}

void MainWindow::txtSubGoal_Enter()
{
    if (m_sidebar->subGoalBox()->text().isEmpty())
        return;
    if (m_project.selected() > 0) {
        RenameSubGoal();
    } else if (m_project.isFull()) {
        m_services.prompt->inform(this,
                                  QStringLiteral("Ooops! You can create up to %1 sub-goals per "
                                                 "goal so you can keep an eye on everything "
                                                 "(sometimes less is more).")
                                      .arg(ProjectData::MaxGoals),
                                  QStringLiteral("Ooops"));
    } else {
        AddSubGoal();
    }
}

void MainWindow::txtProjectName_KeyUp()
{
    m_project.markEdited();
    const QString name = m_sidebar->projectNameBox()->text();
    if (name != m_project.name())
        m_history.push(new ProjectNameCommand(m_project, name, typingBurst()));
}

void MainWindow::AddSubGoal()
{
    QLineEdit* box = m_sidebar->subGoalBox();
    const QString name = m_sidebar->subGoalName();
    box->clear();
    m_history.push(new AddGoalCommand(m_project, name));
    box->setFocus();
}

void MainWindow::RenameSubGoal()
{
    const int index = m_project.selected();
    const QString name = m_sidebar->subGoalName();
    if (index > 0 && name != m_project.goal(index).name)
        m_history.push(new RenameGoalCommand(m_project, index, name));
}

void MainWindow::lblDelete_Click()
{
    const int index = m_project.selected();
    if (index < 1)
        return;
    const Answer answer =
        m_services.prompt->ask(this, {QStringLiteral("Delete Sub Goal?"), QStringLiteral("Confirm"),
                                      Message::Icon::Question, Message::Buttons::YesNo});
    if (answer != Answer::Yes)
        return;
    m_history.push(new DeleteGoalCommand(m_project, index));
}

void MainWindow::RefreshTaskCounts(const QString& text)
{
    // The editor shows the sub-goal selected last, wherever its panel is now.
    const int index = m_project.indexOf(m_project.selectedKey());
    if (index < 1)
        return;
    m_tasks->setUnwritten(false);
    if (text == m_project.tasks(index))
        m_project.setTasks(index, text); // written again: a failed write gets another try
    else
        m_history.push(new TaskTextCommand(m_project, index, text, typingBurst()));
}

// A key still held when the user clicks elsewhere has typed into the editor, but its
// release will not come while this sub-goal is shown.
void MainWindow::writeUnwrittenTasks()
{
    if (m_tasks->isUnwritten())
        RefreshTaskCounts(m_tasks->tasksText());
}

void MainWindow::UpdateDueDateDisplay()
{
    const bool ticked = m_sidebar->dueDateBox()->isChecked();
    setDue(ticked ? DueDateText::format(m_sidebar->calendar()->selectedDate()) : QString());
}

void MainWindow::Calendar1_DateChange(QDate date)
{
    m_project.markEdited();
    if (m_sidebar->dueDateBox()->isChecked())
        setDue(DueDateText::format(date));
}

void MainWindow::setDue(const QString& due)
{
    const int index = m_project.selected();
    if (index > 0 && m_project.goal(index).due != due)
        m_history.push(new DueDateCommand(m_project, index, due));
}

// Asks before unsaved changes would be lost; Cancel (or a closed box), and a save that did
// not happen, stop the caller.
bool MainWindow::saveChangesFirst(Message::Buttons buttons)
{
    if (!m_project.isModified())
        return true;
    const Answer answer = m_services.prompt->ask(
        this, {QStringLiteral("Want to save changes before?"), QStringLiteral("Save Changes"),
               Message::Icon::Question, buttons});
    return answer == Answer::No || (answer == Answer::Yes && mnuSave_Click());
}

void MainWindow::mnuNew_Click()
{
    if (!saveChangesFirst(Message::Buttons::YesNo))
        return;
    NewProject();
}

void MainWindow::mnuOpen_Click()
{
    const auto chosen = m_services.prompt->chooseProjectToOpen(this, m_services.workspace);
    if (chosen && !chosen->isEmpty())
        openProjectFile(*chosen);
}

void MainWindow::markDone()
{
    // A step of its own, between any typing before and after.
    m_tasks->forgetPressedKeys();
    writeUnwrittenTasks();
    ++m_burst;
    m_tasks->markDone();
    ++m_burst;
}

void MainWindow::openProjectFile(const QString& path)
{
    if (saveChangesFirst(Message::Buttons::YesNoCancel))
        m_safety->open(path);
}

bool MainWindow::mnuSaveAs_Click()
{
    const auto chosen = m_services.prompt->chooseProjectToSave(this, m_services.workspace);
    const QString path = chosen ? *chosen : m_project.file();
    return !path.isEmpty() && SaveProject(path);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->setAccepted(saveChangesFirst(Message::Buttons::YesNoCancel));
    if (event->isAccepted())
        m_safety->discard();
}

// The project moves to path only once it is written there.
bool MainWindow::SaveProject(const QString& path)
{
    writeUnwrittenTasks();
    if (!m_safety->save(path))
        return false;
    m_project.setFile(path);
    m_recent->add(path);
    m_history.setClean();
    m_project.setClean(true);
    m_services.prompt->inform(this, QStringLiteral("Ready! Project saved."),
                              QStringLiteral("Done"));
    return true;
}

void MainWindow::LoadProject(const QString& path, ProjectData project)
{
    m_safety->tellTaskFiles(m_project.load(path, std::move(project)));
    tellHistory(m_project.progress().open(path));
    if (!path.isEmpty())
        m_recent->add(path);
}

// The history is no part of the project: trouble with it is told, and the work goes on.
void MainWindow::tellHistory(const QString& note)
{
    if (!note.isEmpty())
        m_services.prompt->warn(this, note, QStringLiteral("Progress History"));
}

void MainWindow::lblFilename_Click()
{
    showProjectsFolder(m_services.workspace.projectsFolder(), *m_services.folderOpener,
                       *m_services.prompt, this);
}
