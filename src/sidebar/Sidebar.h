#pragma once

#include "model/ProjectData.h"
#include "sidebar/KeyPressTracker.h"
#include "sidebar/TaskEditor.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Fonts.h"

#include <QDate>
#include <QLineEdit>
#include <QWidget>

class Clock;
class Project;
class QCalendarWidget;
class QCheckBox;

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

    void SetGoalLabel(bool mainGoal)
    {
        m_goalHeading->setText(mainGoal ? QStringLiteral("Main Goal:")
                                        : QStringLiteral("Sub Goal:"));
    }
    void UpdateCharsLeft()
    {
        // A longer name read from a file is kept whole; the counter stops at 0 until it is
        // shortened.
        const int left = ProjectData::MaxGoalName - int(m_subGoal->text().size());
        m_charsLeft->setText(QStringLiteral("Characters Left: ") + QString::number(qMax(0, left)));
    }
    // Key presses held for a command's shortcut do not end as edits.
    void forgetPressedKeys()
    {
        m_projectNameKeys.reset();
        m_tasks->forgetPressedKeys();
    }

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
    void setFilename(const QString& file)
    {
        m_filename->setText(file.isEmpty() ? QStringLiteral("New Project (No Filename)") : file);
        Fonts::setPlainToolTip(m_filename, file);
    }
    void setProjectName(const QString& name)
    {
        m_projectName->setMaxLength(qMax(ProjectData::MaxProjectName, int(name.size())));
        if (m_projectName->text() != name)
            m_projectName->setText(name);
    }
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
