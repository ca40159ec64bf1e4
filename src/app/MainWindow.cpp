#include "app/MainWindow.h"

#include "app/ClientArea.h"
#include "app/HelpMenu.h"
#include "app/KeyboardAccess.h"
#include "app/MainMenus.h"
#include "app/ProgressStatus.h"
#include "app/ProjectCommands.h"
#include "app/ProjectExport.h"
#include "app/ProjectSafety.h"
#include "components/AppInfo.h"
#include "components/DayWatcher.h"
#include "dashboard/ClickableLabel.h"
#include "dashboard/DashboardView.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"
#include "model/DashboardLayout.h"
#include "model/DueDateText.h"
#include "sidebar/Sidebar.h"
#include "sidebar/TaskEditor.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>

using DashboardLayout::toPixels;

namespace {

// A pause this long in typing starts a new history step.
constexpr qint64 BurstPauseMs = 1500;

} // namespace

MainWindow::MainWindow(AppServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)),
      m_store(m_services.workspace.tmpFolder()), m_project(m_store, *m_services.random),
      m_reporter(*m_services.prompt, this)
{
    setObjectName(QStringLiteral("Form1"));
    auto* day = new DayWatcher(*m_services.clock, this);
    m_dashboard = new DashboardView(m_project, m_services.workspace, *day, nullptr);
    m_sidebar = new Sidebar(nullptr);
    setCentralWidget(new ClientArea(m_sidebar, m_dashboard, this));
    new ProgressStatus(m_project, *day, statusBar());
    m_tasks = m_sidebar->tasks();
    buildMenus();
    new KeyboardAccess(this, m_sidebar, m_dashboard);
    connectViews();
    m_safety = new ProjectSafety(*this, m_services);
    resize(toPixels(DashboardLayout::ClientWidth), toPixels(DashboardLayout::ClientHeight) +
                                                       menuBar()->sizeHint().height() +
                                                       statusBar()->sizeHint().height());

    m_sidebar->SetGoalLabel(true);
    SetTextMargins(10, 20, m_sidebar->subGoalBox());
    SetTextMargins(10, 20, m_sidebar->projectNameBox());
    SetTextMargins(10, 20, m_tasks);
    setWindowTitle(AppInfo::windowTitle());
}

MainWindow::~MainWindow() = default;

GoalPanel* MainWindow::panel(int index) const
{
    return m_dashboard->panel(index);
}

void MainWindow::buildMenus()
{
    // Keys held for a shortcut are released after the command ran; not an edit.
    const auto first = [this] { m_sidebar->forgetPressedKeys(); };
    // What is typed but not yet written goes into the export too.
    auto* out = new ProjectExport(
        m_project, m_services, [this] { writeUnwrittenTasks(); }, this);
    connect(out, &ProjectExport::exported, this,
            [this](const QString& message) { statusBar()->showMessage(message, 8000); });
    addMenu(
        menuBar(), "mnuProject", QStringLiteral("Project"),
        {{"mnuNew", QStringLiteral("New"), {Qt::CTRL | Qt::Key_N}, [this] { mnuNew_Click(); }},
         {"mnuOpen", QStringLiteral("Open"), {Qt::CTRL | Qt::Key_O}, [this] { mnuOpen_Click(); }},
         {"mnuSave", QStringLiteral("Save"), {Qt::CTRL | Qt::Key_S}, [this] { mnuSave_Click(); }},
         {"mnuSaveAs", QStringLiteral("Save As..."), {}, [this] { mnuSaveAs_Click(); }},
         {"mnuExportPdf", QStringLiteral("Export as PDF..."), {}, [out] { out->exportPdf(); }},
         {"mnuExportMarkdown",
          QStringLiteral("Export as Markdown..."),
          {},
          [out] { out->exportMarkdown(); }},
         {"mnuPrint", QStringLiteral("Print..."), {}, [out] { out->print(); }},
         {"mnuSep1", QStringLiteral("-"), {}, {}},
         {"mnuExit", QStringLiteral("Exit"), {}, [this] { mnuExit_Click(); }}},
        first);
    QMenu* edit =
        addMenu(menuBar(), "mnuEdit", QStringLiteral("Edit"),
                {{"mnuUndo", QStringLiteral("Undo"), {QKeySequence::Undo}, [this] { undo(); }},
                 {"mnuRedo",
                  QStringLiteral("Redo"),
                  {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y},
                  [this] { redo(); }}},
                first);
    followHistory(m_history, edit);
    addHelpMenu(menuBar(), this, m_services.workspace, m_services.prompt,
                [this] { lblFilename_Click(); });
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
    connect(m_tasks, &TaskEditor::characterKeyPressed, this, &MainWindow::txtGoalTasks_KeyPress);
    connect(m_tasks, &TaskEditor::keyReleased, this, &MainWindow::RefreshTaskCounts);
    connect(m_tasks, &TaskEditor::changedWithoutKey, this, [this] {
        m_project.setModified(true);
        RefreshTaskCounts();
    });
    connect(&m_project, &Project::nameChanged, s, &Sidebar::setProjectName);
    connect(&m_project, &Project::fileChanged, s, &Sidebar::setFilename);
}

void MainWindow::SetTextMargins(int left, int right, QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setTextMargins(left, 0, right, 0);
    else if (auto* editor = qobject_cast<TaskEditor*>(box))
        editor->setTextMargins(left, right);
}

ProjectCommand::Context MainWindow::context()
{
    return {m_project, [this](int index) { lblGoal_Click(index); },
            [this](const QString& key, const Result& result) { m_reporter.report(key, result); }};
}

void MainWindow::replay(void (QUndoStack::*step)())
{
    m_replaying = true;
    (m_history.*step)();
    m_replaying = false;
    // Back at the state last saved nothing is unsaved; anywhere else something is.
    m_project.setModified(!m_history.isClean());
}

int MainWindow::typingBurst()
{
    if (!m_lastTyping.isValid() || m_lastTyping.elapsed() > BurstPauseMs)
        ++m_burst;
    m_lastTyping.start();
    return m_burst;
}

void MainWindow::lblGoal_Click(int index)
{
    writeUnwrittenTasks();
    ++m_burst;
    m_project.select(index);
    m_sidebar->setProjectName(m_project.name());
    if (index == 0) {
        m_sidebar->showAddingMode();
        return;
    }
    m_sidebar->showEditingMode(m_project.goal(index).name);
    LoadTaskFile(m_project.selectedKey());
    m_sidebar->showDueDate(m_project.goal(index).due, m_services.clock->today());
    m_tasks->setFocus();
}

void MainWindow::txtSubGoal_KeyPress()
{
    m_project.setModified(true);
}

void MainWindow::txtSubGoal_Enter()
{
    if (m_sidebar->subGoalBox()->text().isEmpty())
        return;
    if (m_project.selected() > 0) {
        RenameSubGoal();
    } else if (m_project.isFull()) {
        m_services.prompt->inform(this,
                                  QStringLiteral("Ooops! You can create up to 8 sub-goals per goal "
                                                 "so you can keep an eye on everything "
                                                 "(sometimes less is more)."),
                                  QStringLiteral("Ooops"));
    } else {
        AddSubGoal();
    }
}

void MainWindow::txtProjectName_KeyUp()
{
    m_project.setModified(true);
    const QString name = m_sidebar->projectNameBox()->text();
    if (name != m_project.name())
        m_history.push(new ProjectNameCommand(context(), name, typingBurst()));
}

void MainWindow::AddSubGoal()
{
    QLineEdit* box = m_sidebar->subGoalBox();
    const QString name = m_sidebar->subGoalName();
    box->clear();
    m_history.push(new AddGoalCommand(context(), name));
    box->setFocus();
}

void MainWindow::RenameSubGoal()
{
    const int index = m_project.selected();
    const QString name = m_sidebar->subGoalName();
    if (index > 0 && name != m_project.goal(index).name)
        m_history.push(new RenameGoalCommand(context(), index, name));
}

// The panels follow the project by themselves; this draws them all again.
void MainWindow::RefreshPanels()
{
    m_dashboard->redraw();
}

void MainWindow::lblDeleteOnMouseOver_Click(int index)
{
    lblGoal_Click(index);
    lblDelete_Click();
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
    m_project.setModified(true);
    m_history.push(new DeleteGoalCommand(context(), index));
    m_sidebar->setCalendarDate(m_services.clock->today());
}

void MainWindow::LoadTaskFile(const QString& key)
{
    const auto text = m_project.tasks(m_project.selected());
    if (!text.ok())
        m_reporter.report(key, {text.error});
    m_shownTasks = text.value;
    m_tasks->setTasksText(m_shownTasks);
}

void MainWindow::RefreshTaskCounts()
{
    const int index = m_project.selected();
    if (m_project.selectedKey().isEmpty() || index < 1)
        return;
    QString text = m_tasks->tasksText();
    m_tasks->setUnwritten(false);
    if (text == m_shownTasks || m_replaying) {
        m_reporter.report(m_project.selectedKey(), m_project.setTasks(index, text));
    } else {
        m_history.push(new TaskTextCommand(context(), index, m_shownTasks, text, typingBurst()));
    }
    m_shownTasks = std::move(text);
}

// A key still held when the user clicks elsewhere has typed into the editor, but its
// release will not come while this sub-goal is shown.
void MainWindow::writeUnwrittenTasks()
{
    if (m_tasks->isUnwritten())
        RefreshTaskCounts();
}

void MainWindow::chkDueDate_Click()
{
    m_project.setModified(true);
    UpdateDueDateDisplay();
}

void MainWindow::UpdateDueDateDisplay()
{
    const bool ticked = m_sidebar->dueDateBox()->isChecked();
    setDue(ticked ? DueDateText::format(m_sidebar->calendar()->selectedDate()) : QString());
}

void MainWindow::Calendar1_DateChange(QDate date)
{
    m_project.setModified(true);
    if (m_sidebar->dueDateBox()->isChecked())
        setDue(DueDateText::format(date));
}

void MainWindow::setDue(const QString& due)
{
    const int index = m_project.selected();
    if (index > 0 && m_project.goal(index).due != due)
        m_history.push(new DueDateCommand(context(), index, due));
}

// Asks before unsaved changes would be lost; Cancel (or a closed box) stops the caller.
bool MainWindow::saveChangesFirst(Message::Buttons buttons)
{
    if (!m_project.isModified())
        return true;
    const Answer answer = m_services.prompt->ask(
        this, {QStringLiteral("Want to save changes before?"), QStringLiteral("Save Changes"),
               Message::Icon::Question, buttons});
    if (answer != Answer::Yes)
        return answer == Answer::No;
    const bool hadFile = !m_project.file().isEmpty();
    // A save that was tried and failed must not be followed by dropping the work; New goes
    // on after a cancelled save window.
    return mnuSave_Click() ||
           (buttons == Message::Buttons::YesNo && !hadFile && m_project.file().isEmpty());
}

void MainWindow::mnuNew_Click()
{
    if (!saveChangesFirst(Message::Buttons::YesNo))
        return;
    m_project.setFile(QString());
    NewProject();
}

void MainWindow::mnuOpen_Click()
{
    const auto chosen = m_services.prompt->chooseProjectToOpen(this, m_services.workspace);
    if (chosen && !chosen->isEmpty())
        openProjectFile(*chosen);
}

void MainWindow::openProjectFile(const QString& path)
{
    if (saveChangesFirst(Message::Buttons::YesNoCancel))
        m_safety->open(path);
}

bool MainWindow::mnuSave_Click()
{
    if (!m_project.file().isEmpty())
        return SaveProject();
    return mnuSaveAs_Click();
}

bool MainWindow::mnuSaveAs_Click()
{
    if (const auto chosen = m_services.prompt->chooseProjectToSave(this, m_services.workspace))
        m_project.setFile(*chosen);
    if (m_project.file().isEmpty())
        return false;
    return SaveProject();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->setAccepted(saveChangesFirst(Message::Buttons::YesNoCancel));
    if (event->isAccepted())
        m_safety->discard();
}

bool MainWindow::SaveProject()
{
    writeUnwrittenTasks();
    const QString path = m_project.file();
    if (!m_safety->mayReplace(path))
        return false;
    const Expected<ProjectData> project = m_project.toProjectData();
    QString failure = project.error;
    if (failure.isEmpty())
        failure = m_safety->write(path, project.value).error;
    if (!failure.isEmpty()) {
        m_services.prompt->warn(
            this,
            QStringLiteral("The project could not be saved to \"%1\": %2.").arg(path, failure),
            QStringLiteral("Save Project"));
        return false;
    }
    m_project.setModified(false);
    m_history.setClean();
    m_services.prompt->inform(this, QStringLiteral("Ready! Project saved."),
                              QStringLiteral("Done"));
    return true;
}

void MainWindow::NewProject()
{
    const QString file = m_project.file();
    m_project.clear();
    m_project.setFile(file);
    m_history.clear();
    m_reporter.forget();
    m_shownTasks.clear();
    m_tasks->setTasksText(QString());
    lblGoal_Click(0);
}

void MainWindow::LoadProject(const QString& path, ProjectData project)
{
    m_iniFileName = path;
    m_reporter.reportAll(m_project.load(std::move(project)));
    m_history.clear();
    lblGoal_Click(0);
    m_sidebar->setCalendarDate(m_services.clock->today());
}

// Read from the file each time: nothing is kept of a project once it is on the dashboard.
QString MainWindow::GetIni(const QString& section, const QString& key) const
{
    return ProjectFile::readIni(m_iniFileName).value.value(section, key);
}

void MainWindow::lblFilename_Click()
{
    showProjectsFolder(m_services.workspace.projectsFolder(), *m_services.folderOpener,
                       *m_services.prompt, this);
}
