#include "app/ProjectCommands.h"

ProjectCommand::ProjectCommand(const Context& context, const QString& text) : m_context(context)
{
    setText(text);
}

void ProjectCommand::selectAfterward(int index)
{
    if (m_pushed)
        m_context.select(index);
    m_pushed = true;
}

AddGoalCommand::AddGoalCommand(const Context& context, const QString& name)
    : ProjectCommand(context, QStringLiteral("Add Sub-Goal")), m_name(name)
{
}

void AddGoalCommand::redo()
{
    // The key is drawn once and kept, so the task file is the same after a redo.
    const int index = m_context.project.addGoal(m_name, m_key);
    m_key = m_context.project.goal(index).key;
    selectAfterward(0);
}

void AddGoalCommand::undo()
{
    m_context.project.removeGoal(m_context.project.goalCount());
    m_context.select(0);
}

GoalFieldCommand::GoalFieldCommand(const Context& context, const QString& text, int index,
                                   Setter set, const QString& before, const QString& after)
    : ProjectCommand(context, text), m_index(index), m_set(set), m_before(before), m_after(after)
{
}

void GoalFieldCommand::redo()
{
    (m_context.project.*m_set)(m_index, m_after);
    selectAfterward(m_index);
}

void GoalFieldCommand::undo()
{
    (m_context.project.*m_set)(m_index, m_before);
    m_context.select(m_index);
}

RenameGoalCommand::RenameGoalCommand(const Context& context, int index, const QString& name)
    : GoalFieldCommand(context, QStringLiteral("Rename Sub-Goal"), index, &Project::renameGoal,
                       context.project.goal(index).name, name)
{
}

DeleteGoalCommand::DeleteGoalCommand(const Context& context, int index)
    : ProjectCommand(context, QStringLiteral("Delete Sub-Goal")), m_index(index)
{
}

void DeleteGoalCommand::redo()
{
    m_removed = m_context.project.removeGoal(m_index);
    m_context.select(0);
}

void DeleteGoalCommand::undo()
{
    const Result written = m_context.project.insertGoal(m_index, m_removed);
    m_context.report(m_removed.goal.key, written);
    m_removed.tasks.clear();
    m_context.select(m_index);
}

namespace {

QString dueStepText(const QString& before, const QString& after)
{
    if (before.isEmpty())
        return QStringLiteral("Set Due Date");
    return after.isEmpty() ? QStringLiteral("Clear Due Date") : QStringLiteral("Change Due Date");
}

} // namespace

DueDateCommand::DueDateCommand(const Context& context, int index, const QString& due)
    : GoalFieldCommand(context, dueStepText(context.project.goal(index).due, due), index,
                       &Project::setDue, context.project.goal(index).due, due)
{
}

ProjectNameCommand::ProjectNameCommand(const Context& context, const QString& name, int burst)
    : ProjectCommand(context, QStringLiteral("Rename Main Goal")), m_before(context.project.name()),
      m_after(name), m_burst(burst)
{
}

void ProjectNameCommand::redo()
{
    m_context.project.setName(m_after);
    selectAfterward(0);
}

void ProjectNameCommand::undo()
{
    m_context.project.setName(m_before);
    m_context.select(0);
}

bool ProjectNameCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const ProjectNameCommand*>(other);
    if (next->m_burst != m_burst)
        return false;
    m_after = next->m_after;
    return true;
}

TaskTextCommand::TaskTextCommand(const Context& context, int index, const QString& before,
                                 const QString& after, int burst)
    : ProjectCommand(context, QStringLiteral("Edit Tasks")), m_index(index),
      m_key(context.project.goal(index).key), m_diff(TextDiff::between(before, after)),
      m_firstText(after), m_burst(burst)
{
}

void TaskTextCommand::redo()
{
    if (!m_pushed) {
        m_context.report(m_key, m_context.project.setTasks(m_index, m_firstText));
        m_firstText.clear();
        m_firstText.squeeze();
        m_pushed = true;
        return;
    }
    apply(true);
}

void TaskTextCommand::undo()
{
    apply(false);
}

void TaskTextCommand::apply(bool forwards)
{
    Project& project = m_context.project;
    const QString text = project.tasks(m_index).value;
    const QString changed = forwards ? m_diff.applyTo(text) : m_diff.revert(text);
    m_context.report(m_key, project.setTasks(m_index, changed));
    m_context.select(m_index);
}

qsizetype TaskTextCommand::storedBytes() const
{
    return qsizetype(sizeof(*this)) +
           2 * (m_key.capacity() + m_diff.before.capacity() + m_diff.after.capacity() +
                m_firstText.capacity() + text().capacity());
}

bool TaskTextCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TaskTextCommand*>(other);
    return next->m_key == m_key && next->m_burst == m_burst && m_diff.absorb(next->m_diff);
}
