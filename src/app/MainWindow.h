#pragma once

#include "app/AppServices.h"
#include "model/TaskCounts.h"
#include "sidebar/KeyPressTracker.h"
#include "storage/ProjectFile.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <QSet>
#include <QStringList>

#include <array>

class ClickableLabel;
class GoalPanel;
class PictureBox;
class QAction;
class QCalendarWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class TaskEditor;

// The main window: sidebar editor, dashboard and Project menu. It owns all project state.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(AppServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    const QString& currentProjectFile() const { return m_currentProjectFile; }
    bool projectModified() const { return m_projectModified; }
    int selectedGoalIndex() const { return m_selectedGoalIndex; }
    const QString& selectedGoalKey() const { return m_selectedGoalKey; }
    const QStringList& subGoalNames() const { return m_subGoals; }
    GoalPanel* panel(int index) const { return m_panels.at(index - 1); }
    const Workspace& workspace() const { return m_services.workspace; }

    // Selection of the main goal (0) or a panel (1..8): the one way the sidebar changes mode.
    void lblGoal_Click(int index);
    void lblDelete_Click();
    void lblDeleteOnMouseOver_Click(int index);
    void lblFilename_Click();
    void SetGoalLabel(bool mainGoal);

    void AddSubGoal();
    void RenameSubGoal();
    void RefreshPanels();
    void UpdateCharsLeft();

    void LoadTaskFile(const QString& key);
    void RefreshTaskCounts();

    void chkDueDate_Click();
    void Calendar1_DateChange(QDate date);
    void UpdateDueDateDisplay();

    void mnuNew_Click();
    void mnuOpen_Click();
    // Open without the open window: asks about unsaved changes, refuses a bad file.
    void openProjectFile(const QString& path);
    // Both report whether the project was written.
    bool mnuSave_Click();
    bool mnuSaveAs_Click();
    void mnuExit_Click();

    bool SaveProject();
    void NewProject();
    void LoadProject(const QString& path, ProjectData project);
    QString GetIni(const QString& section, const QString& key) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildSidebar(QWidget* client);
    void buildDashboard(QWidget* client);
    void applyResizeRule();
    void SetTextMargins(int left, int right, QWidget* box);

    void txtSubGoal_KeyPress(QKeyEvent* event, bool& consumed);
    void txtProjectName_KeyUp();
    void txtGoalTasks_KeyPress();
    void syncDueDateEditor(int index);
    void writeUnwrittenTasks();
    void setCalendarToday();
    QCalendarWidget* calendar();

    // Asks before unsaved changes would be lost; true when the caller may go on.
    bool saveChangesFirst();
    QString newGoalKey(const QStringList& alsoTaken = {}) const;
    void refillPanels(const QList<SubGoalRecord>& goals, const QList<TaskCounts>& counts);
    QString taskText(const QString& key, const QString& name);
    void showCounts(GoalPanel* panel, const TaskCounts& counts);
    Expected<QStringList> tasksOf(const GoalPanel& panel) const;
    void storeTasks(const QString& key, const QString& name, const QString& path,
                    const QString& text);
    void reportTaskFileFailure(const QString& key, const QString& name, const QString& path,
                               const QString& why);
    void beginBatch();
    void endBatch();

    AppServices m_services;

    // Shared state.
    QString m_currentProjectFile;
    bool m_projectModified = false;
    bool m_projectLoading = false;
    int m_selectedGoalIndex = 0;
    QString m_selectedGoalKey;
    bool m_editingSubGoal = false;
    KeyPressTracker m_projectNameKeys;
    QString m_iniFileName;
    QStringList m_subGoals; // names in panel order

    // True while the program itself moves the due-date controls.
    bool m_syncingDueDate = false;

    // Tasks whose file could not be written, by key: the text is kept until a write works.
    QHash<QString, QString> m_unwrittenTasks;
    QSet<QString> m_reportedKeys;
    bool m_batching = false;
    QStringList m_batchedFailures;

    QPixmap m_panelBackground;

    // Sidebar.
    QWidget* m_sidebar = nullptr;
    ClickableLabel* m_filename = nullptr;
    QLabel* m_goalHeading = nullptr; // Label14
    QLineEdit* m_projectName = nullptr;
    QLabel* m_goalNameHeading = nullptr;
    QLineEdit* m_subGoal = nullptr;
    ClickableLabel* m_delete = nullptr;
    ClickableLabel* m_newGoal = nullptr;
    QLabel* m_charsLeft = nullptr;
    QLabel* m_tasksHeading = nullptr;
    TaskEditor* m_tasks = nullptr;
    QLabel* m_taskInstructions = nullptr;
    QLabel* m_dueDateHeading = nullptr;
    QCheckBox* m_dueDate = nullptr;
    QCalendarWidget* m_calendar = nullptr;

    // Dashboard.
    QWidget* m_container = nullptr;
    PictureBox* m_canvas = nullptr;
    ClickableLabel* m_mainGoal = nullptr; // lblGoal_0
    std::array<GoalPanel*, 8> m_panels{};
    int m_containerWidthTwips = 13425;
};
