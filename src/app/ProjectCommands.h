#pragma once

#include "model/Project.h"
#include "model/TextDiff.h"

#include <QUndoCommand>

// One undoable step per kind of edit. Each step changes the project and then selects the
// panel it changed, so the user sees what was undone or redone. A step that the user has
// just made on screen is not selected again when it is first pushed.
class ProjectCommand : public QUndoCommand
{
protected:
    ProjectCommand(Project& project, const QString& text) : m_project(project) { setText(text); }
    // Selects only when the step is replayed, not when it is first made.
    void selectAfterward(int index);

    Project& m_project;
    bool m_pushed = false;
};

class AddGoalCommand : public ProjectCommand
{
public:
    AddGoalCommand(Project& project, const QString& name)
        : ProjectCommand(project, QStringLiteral("Add Sub-Goal")), m_name(name)
    {
    }
    void redo() override;
    void undo() override
    {
        m_project.removeGoal(m_project.indexOf(m_key));
        m_project.select(0);
    }

private:
    QString m_name;
    QString m_key;
};

// Sets one text field of a sub-goal, found by its key: its name or its due date.
class GoalFieldCommand : public ProjectCommand
{
public:
    using Setter = void (Project::*)(int index, const QString& value);

    void redo() override;
    void undo() override;

protected:
    GoalFieldCommand(Project& project, const QString& text, int index, Setter set,
                     const QString& before, const QString& after)
        : ProjectCommand(project, text), m_key(project.goal(index).key), m_set(set),
          m_before(before), m_after(after)
    {
    }

private:
    QString m_key;
    Setter m_set;
    QString m_before;
    QString m_after;
};

class RenameGoalCommand : public GoalFieldCommand
{
public:
    RenameGoalCommand(Project& project, int index, const QString& name)
        : GoalFieldCommand(project, QStringLiteral("Rename Sub-Goal"), index, &Project::renameGoal,
                           project.goal(index).name, name)
    {
    }
};

class DeleteGoalCommand : public ProjectCommand
{
public:
    DeleteGoalCommand(Project& project, int index)
        : ProjectCommand(project, QStringLiteral("Delete Sub-Goal")), m_index(index)
    {
    }
    void redo() override
    {
        m_removed = m_project.removeGoal(m_index);
        m_project.select(0);
    }
    void undo() override;

private:
    int m_index;
    SubGoalRecord m_removed;
};

class DueDateCommand : public GoalFieldCommand
{
public:
    DueDateCommand(Project& project, int index, const QString& due)
        : GoalFieldCommand(project, stepText(project.goal(index).due, due), index, &Project::setDue,
                           project.goal(index).due, due)
    {
    }

private:
    static QString stepText(const QString& before, const QString& after)
    {
        if (before.isEmpty())
            return QStringLiteral("Set Due Date");
        return after.isEmpty() ? QStringLiteral("Clear Due Date")
                               : QStringLiteral("Change Due Date");
    }
};

// Typing in a burst merges into one step.
class ProjectNameCommand : public ProjectCommand
{
public:
    ProjectNameCommand(Project& project, const QString& name, int burst)
        : ProjectCommand(project, QStringLiteral("Rename Main Goal")), m_before(project.name()),
          m_after(name), m_burst(burst)
    {
    }
    void redo() override
    {
        m_project.setName(m_after);
        selectAfterward(0);
    }
    void undo() override
    {
        m_project.setName(m_before);
        m_project.select(0);
    }
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    QString m_before;
    QString m_after;
    int m_burst;
};

// Keeps only the change of the task text, not the text, so a long list costs little.
class TaskTextCommand : public ProjectCommand
{
public:
    // The step from the sub-goal's tasks as the project has them to the text typed.
    TaskTextCommand(Project& project, int index, const QString& typed, int burst);
    void redo() override { apply(true); }
    void undo() override { apply(false); }
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* other) override;
    // What the step holds in memory.
    qsizetype storedBytes() const
    {
        return qsizetype(sizeof(*this)) + 2 * (m_key.capacity() + m_diff.before.capacity() +
                                               m_diff.after.capacity() + text().capacity());
    }

private:
    void apply(bool forwards);

    QString m_key;
    TextDiff m_diff;
    int m_burst;
};
