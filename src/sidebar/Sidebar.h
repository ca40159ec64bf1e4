#pragma once

#include "sidebar/KeyPressTracker.h"

#include <QDate>
#include <QWidget>

class ClickableLabel;
class Clock;
class Project;
class QCalendarWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class TaskEditor;

// The editor left of the dashboard, in adding or editing mode. It draws the project's name,
// file and selected sub-goal from the project's signals and reports what the user does;
// text it sets itself is never reported as an edit.
class Sidebar : public QWidget
{
    Q_OBJECT

public:
    Sidebar(const Project& project, const Clock& clock, QWidget* parent = nullptr);

    ClickableLabel* filenameLink() const { return m_filename; }
    ClickableLabel* deleteLink() const { return m_delete; }
    ClickableLabel* newGoalLink() const { return m_newGoal; }
    QLineEdit* projectNameBox() const { return m_projectName; }
    QLineEdit* subGoalBox() const { return m_subGoal; }
    // The name in the sub-goal box, on one line whatever was pasted into it.
    QString subGoalName() const;
    TaskEditor* tasks() const { return m_tasks; }
    QCheckBox* dueDateBox() const { return m_dueDate; }
    // Made on first use: the costliest control, hidden until a sub-goal is selected.
    QCalendarWidget* calendar();

    void SetGoalLabel(bool mainGoal);
    void UpdateCharsLeft();
    // Key presses held for a command's shortcut do not end as edits.
    void forgetPressedKeys();

signals:
    void projectNameKeyReleased();
    void projectNameChangedWithoutKey();
    void subGoalCharacterTyped();
    void subGoalEntered();
    void dueDateToggled();
    void calendarDateChanged(QDate date);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSelection(int index);
    void showAddingMode();
    void showEditingMode(const QString& name);
    void setFilename(const QString& file);
    void setProjectName(const QString& name);
    // Brings the check box and calendar into line with a due text, without reporting it.
    void showDueDate(const QString& due);
    void setCalendarDate(QDate date);

    const Project& m_project;
    const Clock& m_clock;
    ClickableLabel* m_filename;
    QLabel* m_goalHeading;
    QLineEdit* m_projectName;
    QLabel* m_goalNameHeading;
    QLineEdit* m_subGoal;
    ClickableLabel* m_delete;
    ClickableLabel* m_newGoal;
    QLabel* m_charsLeft;
    QLabel* m_tasksHeading;
    TaskEditor* m_tasks;
    QLabel* m_taskInstructions;
    QLabel* m_dueDateHeading;
    QCheckBox* m_dueDate;
    QCalendarWidget* m_calendar = nullptr;
    KeyPressTracker m_projectNameKeys;
    bool m_syncing = false;
};
