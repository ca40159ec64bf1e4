#include "model/Project.h"

#include "storage/GoalKey.h"
#include "storage/TaskStore.h"

Project::Project(TaskStore& store, RandomSource& random, QObject* parent)
    : QObject(parent), m_store(store), m_random(random), m_name(QStringLiteral("My Goal"))
{
}

QStringList Project::goalNames() const
{
    QStringList names;
    for (const Goal& g : m_goals)
        names.append(g.name);
    return names;
}

TaskCounts Project::totals() const
{
    TaskCounts sum;
    for (const Goal& g : m_goals) {
        sum.total += g.counts.total;
        sum.completed += g.counts.completed;
    }
    return sum;
}

void Project::setName(const QString& name)
{
    if (name == m_name)
        return;
    m_name = name;
    emit nameChanged(name);
}

void Project::setFile(const QString& file)
{
    if (file == m_file)
        return;
    m_file = file;
    emit fileChanged(file);
}

void Project::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Project::select(int index)
{
    m_selected = index;
    if (index > 0)
        m_selectedKey = goal(index).key;
    emit selectionChanged(index);
}

// Drawn again while it matches a sub-goal's key or a task file already there, so two
// sub-goals never share a file and a new one never inherits old tasks.
QString Project::drawKey(const QStringList& alsoTaken) const
{
    return GoalKey::make(m_random, [&](const QString& key) {
        if (alsoTaken.contains(key) || m_store.isTaken(key))
            return true;
        for (const Goal& g : m_goals) {
            if (g.key == key)
                return true;
        }
        return false;
    });
}

int Project::addGoal(const QString& name, const QString& key)
{
    m_goals.append({key.isEmpty() ? drawKey() : key, name, {}, {}});
    emit goalAdded(goalCount());
    return goalCount();
}

Result Project::insertGoal(int index, const RemovedGoal& removed)
{
    m_goals.insert(index - 1, removed.goal);
    const Result written = m_store.save(removed.goal.key, removed.tasks);
    emit goalAdded(index);
    return written.ok() ? written : Result::failure(failure(removed.goal, written.error));
}

RemovedGoal Project::removeGoal(int index)
{
    RemovedGoal removed{m_goals.takeAt(index - 1), {}};
    removed.tasks = m_store.load(removed.goal.key).value;
    m_store.remove(removed.goal.key);
    if (m_selectedKey == removed.goal.key)
        m_selectedKey.clear();
    emit goalRemoved(index);
    return removed;
}

void Project::renameGoal(int index, const QString& name)
{
    m_goals[index - 1].name = name;
    emit goalChanged(index);
}

void Project::setDue(int index, const QString& due)
{
    m_goals[index - 1].due = due;
    emit goalChanged(index);
}

Result Project::setTasks(int index, const QString& text)
{
    Goal& g = m_goals[index - 1];
    const Result written = m_store.save(g.key, text);
    g.counts = TaskCounts::of(text);
    emit goalChanged(index);
    return written.ok() ? written : Result::failure(failure(g, written.error));
}

Expected<QString> Project::tasks(int index)
{
    const Goal& g = goal(index);
    auto text = m_store.load(g.key);
    if (!text.ok())
        text.error = failure(g, text.error);
    return text;
}

QString Project::failure(const Goal& g, const QString& why) const
{
    return QStringLiteral("The tasks of \"%1\" could not be written to the file \"%2\": %3.")
        .arg(g.name, m_store.path(g.key), why);
}

void Project::clear()
{
    m_goals.clear();
    m_store.forgetUnwritten();
    m_name = QStringLiteral("My Goal");
    m_selected = 0;
    emit goalsReset();
    emit nameChanged(m_name);
    setFile(QString());
    setModified(false);
}

QStringList Project::load(ProjectData data)
{
    m_selectedKey.clear();
    m_goals.clear();
    QStringList keys;
    for (const SubGoalRecord& g : data.goals)
        keys.append(g.key);
    QStringList failures;
    for (qsizetype k = 0; k < data.goals.size() && k < MaxGoals; ++k) {
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
        Goal g{record.key, record.name, record.due, TaskCounts::of(text)};
        if (const Result written = m_store.save(g.key, text); !written.ok())
            failures.append(failure(g, written.error));
        m_goals.append(std::move(g));
    }
    m_name = data.name;
    m_selected = 0;
    emit goalsReset();
    emit nameChanged(m_name);
    return failures;
}

Expected<ProjectData> Project::toProjectData() const
{
    ProjectData data{m_name, {}};
    for (const Goal& g : m_goals) {
        auto lines = m_store.lines(g.key);
        if (!lines.ok())
            return {{},
                    QStringLiteral("the tasks of \"%1\" could not be read from \"%2\": %3")
                        .arg(g.name, m_store.path(g.key), lines.error)};
        data.goals.append({g.key, g.name, g.due, std::move(lines.value)});
    }
    return {std::move(data), {}};
}
