#include "app/ProjectCommands.h"

void ProjectCommand::selectAfterward(int index)
{
    if (m_pushed)
        m_project.select(index);
    m_pushed = true;
}

AddGoalCommand::AddGoalCommand(Project& project, const QString& name)
    : ProjectCommand(project, QStringLiteral("Add Sub-Goal")), m_name(name)
{
}

void AddGoalCommand::redo()
{
    // The key is drawn once and kept, so the task file is the same after a redo.
    const int index = m_project.addGoal(m_name, m_key);
    m_key = m_project.goal(index).key;
    selectAfterward(0);
}

void AddGoalCommand::undo()
{
    m_project.removeGoal(m_project.indexOf(m_key));
    m_project.select(0);
}

GoalFieldCommand::GoalFieldCommand(Project& project, const QString& text, int index, Setter set,
                                   const QString& before, const QString& after)
    : ProjectCommand(project, text), m_key(project.goal(index).key), m_set(set), m_before(before),
      m_after(after)
{
}

void GoalFieldCommand::redo()
{
    const int index = m_project.indexOf(m_key);
    (m_project.*m_set)(index, m_after);
    selectAfterward(index);
}

void GoalFieldCommand::undo()
{
    const int index = m_project.indexOf(m_key);
    (m_project.*m_set)(index, m_before);
    m_project.select(index);
}

DeleteGoalCommand::DeleteGoalCommand(Project& project, int index)
    : ProjectCommand(project, QStringLiteral("Delete Sub-Goal")), m_index(index)
{
}

void DeleteGoalCommand::redo()
{
    m_removed = m_project.removeGoal(m_index);
    m_project.select(0);
}

void DeleteGoalCommand::undo()
{
    m_project.insertGoal(m_index, m_removed);
    m_removed.tasks.clear();
    m_project.select(m_index);
}

ProjectNameCommand::ProjectNameCommand(Project& project, const QString& name, int burst)
    : ProjectCommand(project, QStringLiteral("Rename Main Goal")), m_before(project.name()),
      m_after(name), m_burst(burst)
{
}

void ProjectNameCommand::redo()
{
    m_project.setName(m_after);
    selectAfterward(0);
}

void ProjectNameCommand::undo()
{
    m_project.setName(m_before);
    m_project.select(0);
}

bool ProjectNameCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const ProjectNameCommand*>(other);
    if (next->m_burst != m_burst)
        return false;
    m_after = next->m_after;
    return true;
}

TaskTextCommand::TaskTextCommand(Project& project, int index, const QString& typed, int burst)
    : ProjectCommand(project, QStringLiteral("Edit Tasks")), m_key(project.goal(index).key),
      m_diff(TextDiff::between(project.tasks(index), typed)), m_burst(burst)
{
}

void TaskTextCommand::redo()
{
    apply(true);
}

void TaskTextCommand::undo()
{
    apply(false);
}

void TaskTextCommand::apply(bool forwards)
{
    const int index = m_project.indexOf(m_key);
    const QString text = m_project.tasks(index);
    m_project.setTasks(index, forwards ? m_diff.applyTo(text) : m_diff.revert(text));
    selectAfterward(index);
}

qsizetype TaskTextCommand::storedBytes() const
{
    return qsizetype(sizeof(*this)) + 2 * (m_key.capacity() + m_diff.before.capacity() +
                                           m_diff.after.capacity() + text().capacity());
}

bool TaskTextCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TaskTextCommand*>(other);
    return next->m_key == m_key && next->m_burst == m_burst && m_diff.absorb(next->m_diff);
}
