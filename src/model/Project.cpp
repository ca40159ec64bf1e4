#include "model/Project.h"

namespace {

const QString DefaultName = QStringLiteral("My Goal");

} // namespace

Project::Project(TaskStore& store, RandomSource& random, QObject* parent)
    : QObject(parent), m_store(store), m_random(random), m_name(DefaultName)
{
}

int Project::indexOf(const QString& key) const
{
    for (int i = 0; i < goalCount(); ++i) {
        if (m_goals.at(i).key == key)
            return i + 1;
    }
    return 0;
}

TaskCounts Project::totals() const
{
    TaskCounts sum;
    for (const TaskCounts& c : m_counts) {
        sum.total += c.total;
        sum.completed += c.completed;
    }
    return sum;
}

void Project::setEdited(bool clean, bool edited)
{
    const bool was = isModified();
    m_clean = clean;
    m_edited = edited;
    if (isModified() != was)
        emit modifiedChanged(isModified());
}

void Project::select(int index)
{
    m_selected = index;
    if (index > 0) {
        const SubGoalRecord& g = goal(index);
        m_selectedKey = g.key;
        auto text = m_store.load(g.key);
        m_selectedTasks = std::move(text.value);
        // A read that works says nothing of the last write, which may still be failing.
        if (!text.ok())
            report(g, {text.error});
    }
    emit selectionChanged(index);
}

void Project::insertGoal(int index, const SubGoalRecord& removed)
{
    const QString text = removed.tasks.join(u'\n');
    m_goals.insert(index - 1, {removed.key, removed.name, removed.due, {}});
    m_counts.insert(index - 1, TaskCounts::ofLines(removed.tasks));
    report(removed, m_store.save(removed.key, text));
    emit goalAdded(index);
}

SubGoalRecord Project::removeGoal(int index)
{
    SubGoalRecord removed = m_goals.takeAt(index - 1);
    m_counts.removeAt(index - 1);
    // Split at every line end, so that joining gives the very text back.
    removed.tasks = m_store.load(removed.key).value.split(u'\n');
    m_store.remove(removed.key);
    if (m_selectedKey == removed.key) {
        m_selectedKey.clear();
        m_selectedTasks.clear();
    }
    emit goalRemoved(index);
    return removed;
}

void Project::changeTasks(int index, qsizetype position, qsizetype removed, const QString& inserted)
{
    const QString before = tasks(index);
    const QString after = QString(before).replace(position, removed, inserted);
    // Only the shown list is sure to be the text counted last; a file read again may not be.
    storeTasks(index, after,
               goal(index).key == m_selectedKey
                   ? counts(index).changed(before, after, position, removed, inserted.size())
                   : TaskCounts::of(after));
}

void Project::storeTasks(int index, const QString& text, const TaskCounts& counts)
{
    SubGoalRecord& g = m_goals[index - 1];
    report(g, m_store.save(g.key, text));
    if (g.key == m_selectedKey)
        m_selectedTasks = text;
    m_counts[index - 1] = counts;
    emit goalChanged(index);
}

QString Project::tasks(int index)
{
    const SubGoalRecord& g = goal(index);
    if (g.key == m_selectedKey)
        return m_selectedTasks;
    auto text = m_store.load(g.key);
    if (!text.ok())
        report(g, {text.error});
    return text.value;
}

QString Project::failure(const SubGoalRecord& g, const QString& why) const
{
    return QStringLiteral("The tasks of \"%1\" could not be written to the file \"%2\": %3.")
        .arg(g.name, m_store.path(g.key), why);
}

void Project::clear(const QString& file)
{
    load(file, {DefaultName, {}});
}

QStringList Project::load(const QString& file, ProjectData data)
{
    m_store.forgetUnwritten();
    m_selectedKey.clear();
    m_selectedTasks.clear();
    m_goals.clear();
    m_counts.clear();
    QStringList keys;
    for (const SubGoalRecord& g : data.goals)
        keys.append(g.key);
    QStringList failures;
    for (qsizetype k = 0; k < data.goals.size() && k < ProjectData::MaxGoals; ++k) {
        SubGoalRecord& record = data.goals[k];
        // Two sub-goals of one file must not share a task file.
        if (keys.indexOf(record.key) < k) {
            record.key = drawKey(keys);
            keys[k] = record.key;
        }
        QString text;
        for (const QString& line : std::as_const(record.tasks)) {
            text += line;
            text += u'\n';
        }
        // Each task list is written and counted once, then let go: a long project never
        // sits in memory twice.
        record.tasks = {};
        if (const Result written = m_store.save(record.key, text); !written.ok())
            failures.append(failure(record, written.error));
        m_counts.append(TaskCounts::of(text));
        m_goals.append(std::move(record));
    }
    m_name = data.name;
    m_file = file;
    m_selected = 0;
    emit goalsReset();
    emit nameChanged(m_name);
    emit fileChanged(m_file);
    emit selectionChanged(0);
    setEdited(true, false);
    return failures;
}

Expected<ProjectData> Project::toProjectData() const
{
    ProjectData data{m_name, {}};
    for (const SubGoalRecord& g : m_goals) {
        auto lines = m_store.lines(g.key);
        if (!lines.ok())
            return {{},
                    QStringLiteral("the tasks of \"%1\" could not be read from \"%2\": %3")
                        .arg(g.name, m_store.path(g.key), lines.error)};
        data.goals.append({g.key, g.name, g.due, std::move(lines.value)});
    }
    return {std::move(data), {}};
}
