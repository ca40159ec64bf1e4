#pragma once

#include "components/Result.h"
#include "model/ProgressHistory.h"
#include "model/ProjectData.h"
#include "model/TaskCounts.h"
#include "storage/GoalKey.h"
#include "storage/TaskStore.h"

#include <QList>
#include <QObject>
#include <QString>

class RandomSource;

// The open project: its name and file, the sub-goals in panel order, the selection with its
// task text, and whether anything is unsaved. The one owner of this state; the windows draw
// it from the signals. Panels are numbered 1 to goalCount(); 0 is the main goal.
//
// Unsaved means: the history is away from its clean step, or an edit began that has no
// step yet (a key pressed in a box before its release, a date picked while unticked).
class Project : public QObject
{
    Q_OBJECT

public:
    Project(TaskStore& store, RandomSource& random, QObject* parent = nullptr);

    const QString& name() const { return m_name; }
    const QString& file() const { return m_file; }
    bool isModified() const { return !m_clean || m_edited; }
    int selected() const { return m_selected; }
    // The key of the sub-goal selected last; empty once a load or a delete has begun.
    const QString& selectedKey() const { return m_selectedKey; }
    const QString& selectedTasks() const { return m_selectedTasks; }
    // The panel of a key, or 0.
    int indexOf(const QString& key) const;
    int goalCount() const { return int(m_goals.size()); }
    bool isFull() const { return goalCount() >= ProjectData::MaxGoals; }
    // A sub-goal without its task lines: those live in the task store by key.
    const SubGoalRecord& goal(int index) const { return m_goals.at(index - 1); }
    // Their tasks are not held here: see tasks().
    const QList<SubGoalRecord>& goals() const { return m_goals; }
    const TaskCounts& counts(int index) const { return m_counts.at(index - 1); }
    QStringList goalNames() const
    {
        QStringList names;
        for (const SubGoalRecord& g : m_goals)
            names.append(g.name);
        return names;
    }
    TaskCounts totals() const;
    TaskStore& store() { return m_store; }
    // The counts each save recorded, read from and written beside the project file.
    ProgressHistory& progress() { return m_progress; }
    const ProgressHistory& progress() const { return m_progress; }

    void setName(const QString& name)
    {
        if (name == m_name)
            return;
        m_name = name;
        emit nameChanged(name);
    }
    void setFile(const QString& file)
    {
        if (file == m_file)
            return;
        m_file = file;
        emit fileChanged(file);
    }
    // Told by the history whether it stands at its clean step; a clean history also ends
    // the edits that had no step.
    void setClean(bool clean) { setEdited(clean, clean ? false : m_edited); }
    void markEdited() { setEdited(m_clean, true); }
    // Selects a panel and reads its tasks; a missing task file is created empty.
    void select(int index);

    // Appends a sub-goal without tasks; a key is drawn when none is given.
    int addGoal(const QString& name, const QString& key = {})
    {
        m_goals.append({key.isEmpty() ? drawKey() : key, name, {}, {}});
        m_counts.append(TaskCounts());
        emit goalAdded(goalCount());
        return goalCount();
    }
    // Puts a removed sub-goal back in its place and writes its tasks again.
    void insertGoal(int index, const SubGoalRecord& removed);
    // The sub-goal with its task text split at each "\n", for putting back.
    SubGoalRecord removeGoal(int index);
    void renameGoal(int index, const QString& name)
    {
        m_goals[index - 1].name = name;
        emit goalChanged(index);
    }
    void setDue(int index, const QString& due)
    {
        m_goals[index - 1].due = due;
        emit goalChanged(index);
    }
    // Writes the tasks to the sub-goal's file and recounts them.
    void setTasks(int index, const QString& text) { storeTasks(index, text, TaskCounts::of(text)); }
    // One change of the tasks as the project has them: removed characters at position give
    // way to inserted ones.
    void changeTasks(int index, qsizetype position, qsizetype removed, const QString& inserted);
    // The sub-goal's tasks; a missing file is created empty. The counts are left alone.
    QString tasks(int index);

    // A new project with the given file (empty: unnamed), history clean.
    void clear(const QString& file = {});
    // Replaces everything with a file's project and writes every task file, as one reset.
    // The errors of task files that could not be written, one line each.
    QStringList load(const QString& file, ProjectData data);
    Expected<ProjectData> toProjectData() const;

signals:
    void nameChanged(const QString& name);
    void fileChanged(const QString& file);
    void modifiedChanged(bool modified);
    void goalAdded(int index);
    void goalRemoved(int index);
    void goalChanged(int index);
    void goalsReset();
    void selectionChanged(int index);
    // A task file was written (error empty), or could not be written or read.
    void taskFileResult(const QString& key, const QString& error);

private:
    // Drawn again while it matches a sub-goal's key or a task file already there, so two
    // sub-goals never share a file and a new one never inherits old tasks.
    QString drawKey(const QStringList& alsoTaken = {}) const
    {
        return GoalKey::make(m_random, [&](const QString& key) {
            return alsoTaken.contains(key) || m_store.isTaken(key) || indexOf(key) > 0;
        });
    }
    QString failure(const SubGoalRecord& goal, const QString& why) const;
    void storeTasks(int index, const QString& text, const TaskCounts& counts);
    void report(const SubGoalRecord& goal, const Result& result)
    {
        emit taskFileResult(goal.key, result.ok() ? QString() : failure(goal, result.error));
    }
    void setEdited(bool clean, bool edited);

    TaskStore& m_store;
    RandomSource& m_random;
    QString m_name;
    QString m_file;
    bool m_clean = true;
    bool m_edited = false;
    int m_selected = 0;
    QString m_selectedKey;
    // The selected sub-goal's tasks as last written: each key release compares with them.
    QString m_selectedTasks;
    QList<SubGoalRecord> m_goals;
    QList<TaskCounts> m_counts;
    ProgressHistory m_progress;
};
