#pragma once

#include "app/AppServices.h"
#include "app/ProjectCommands.h"
#include "dashboard/DashboardView.h"
#include "dialogs/Prompt.h"
#include "model/Project.h"
#include "storage/TaskStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QSettings>
#include <QUndoStack>

class DueReminder;
class GoalPanel;
class ProjectSafety;
class RecentProjects;
class Sidebar;
class TaskEditor;

// The main window: wires the sidebar and the dashboard to the project, runs the menus and
// keeps the history of edits. The handlers keep the names the program has always used.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(AppServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    Project& project() { return m_project; }
    const QString& currentProjectFile() const { return m_project.file(); }
    bool projectModified() const { return m_project.isModified(); }
    int selectedGoalIndex() const { return m_project.selected(); }
    QStringList subGoalNames() const { return m_project.goalNames(); }
    GoalPanel* panel(int index) { return m_dashboard->panel(index); }
    const Workspace& workspace() const { return m_services.workspace; }
    QUndoStack& history() { return m_history; }
    ProjectSafety& safety() { return *m_safety; }
    DueReminder& reminder() { return *m_reminder; }
    // Brings the window to the front; while a question waits for its answer, the question
    // comes forward instead and the answer is false.
    bool bringForward()
    {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->raise();
            modal->activateWindow();
            return false;
        }
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        raise();
        activateWindow();
        return true;
    }

    // Selection of the main goal (0) or a panel (1..8): the one way the sidebar changes mode.
    void lblGoal_Click(int index);
    void lblDelete_Click();
    void lblDeleteOnMouseOver_Click(int index)
    {
        lblGoal_Click(index);
        lblDelete_Click();
    }
    void lblFilename_Click();

    void AddSubGoal();
    void RenameSubGoal();

    // Writes the editor's text to the selected sub-goal as a history step; the counts follow.
    void RefreshTaskCounts(const QString& text);

    void chkDueDate_Click()
    {
        m_project.markEdited();
        UpdateDueDateDisplay();
    }
    void Calendar1_DateChange(QDate date);
    void UpdateDueDateDisplay();

    void mnuNew_Click();
    void mnuOpen_Click();
    // Opens a project file as Open does once a file is chosen.
    void openProjectFile(const QString& path);
    // Marks the task lines at the cursor done, or not done, as one step.
    void markDone();
    // Both report whether the project was written.
    bool mnuSave_Click()
    {
        return m_project.file().isEmpty() ? mnuSaveAs_Click() : SaveProject(m_project.file());
    }
    bool mnuSaveAs_Click();
    void mnuExit_Click() { close(); }
    void undo() { replay(&QUndoStack::undo); }
    void redo() { replay(&QUndoStack::redo); }

    bool SaveProject(const QString& path);
    void NewProject()
    {
        m_project.clear();
        m_project.progress().clear();
    }
    void LoadProject(const QString& path, ProjectData project);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void connectViews();
    void txtSubGoal_KeyPress() { m_project.markEdited(); }
    void txtSubGoal_Enter();
    void txtProjectName_KeyUp();
    void writeUnwrittenTasks();
    void setDue(const QString& due);
    // True when the caller may go on.
    bool saveChangesFirst(Message::Buttons buttons);
    void replay(void (QUndoStack::*step)());
    int typingBurst();
    void tellHistory(const QString& note);

    AppServices m_services;
    QSettings m_settings; // one for every choice kept
    TaskStore m_store;
    Project m_project;
    QUndoStack m_history;
    Sidebar* m_sidebar = nullptr;
    DashboardView* m_dashboard = nullptr;
    TaskEditor* m_tasks = nullptr;
    ProjectSafety* m_safety = nullptr;
    RecentProjects* m_recent = nullptr;
    DueReminder* m_reminder = nullptr;
    // Typing with no other step between merges into one history step.
    int m_burst = 0;
    QElapsedTimer m_lastTyping;
};
