#include "app/ProjectCommands.h"

void ProjectCommand::selectAfterward(int index)
{
    if (m_pushed)
        m_project.select(index);
    m_pushed = true;
}

void AddGoalCommand::redo()
{
    // The key is drawn once and kept, so the task file is the same after a redo.
    const int index = m_project.addGoal(m_name, m_key);
    m_key = m_project.goal(index).key;
    selectAfterward(0);
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

void DeleteGoalCommand::undo()
{
    m_project.insertGoal(m_index, m_removed);
    m_removed.tasks.clear();
    m_project.select(m_index);
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

void TaskTextCommand::apply(bool forwards)
{
    const int index = m_project.indexOf(m_key);
    const TextDiff& d = m_diff;
    if (forwards)
        m_project.changeTasks(index, d.position, d.before.size(), d.after);
    else
        m_project.changeTasks(index, d.position, d.after.size(), d.before);
    selectAfterward(index);
}

bool TaskTextCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TaskTextCommand*>(other);
    return next->m_key == m_key && next->m_burst == m_burst && m_diff.absorb(next->m_diff);
}
