#pragma once

#include "components/Result.h"
#include "model/TaskCounts.h"
#include "storage/ProjectFile.h"

#include <QList>
#include <QObject>
#include <QString>

class RandomSource;
class TaskStore;

// One sub-goal as the dashboard shows it. Its tasks live in the task store by key.
struct Goal
{
    QString key;
    QString name;
    QString due; // empty: no due date
    TaskCounts counts;

    bool operator==(const Goal&) const = default;
};

// A sub-goal taken off the dashboard, with everything needed to put it back.
struct RemovedGoal
{
    Goal goal;
    QString tasks;
};

// The open project: its name and file, the sub-goals in panel order, the selection and
// whether anything is unsaved. The one owner of this state; the windows draw it from the
// signals. Panels are numbered 1 to goalCount(); 0 is the main goal.
class Project : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxGoals = 8;

    Project(TaskStore& store, RandomSource& random, QObject* parent = nullptr);

    const QString& name() const { return m_name; }
    const QString& file() const { return m_file; }
    bool isModified() const { return m_modified; }
    int selected() const { return m_selected; }
    // The key of the sub-goal selected last; empty once a load or a delete has begun.
    const QString& selectedKey() const { return m_selectedKey; }
    int goalCount() const { return int(m_goals.size()); }
    bool isFull() const { return goalCount() >= MaxGoals; }
    const Goal& goal(int index) const { return m_goals.at(index - 1); }
    const QList<Goal>& goals() const { return m_goals; }
    QStringList goalNames() const;
    TaskCounts totals() const;
    TaskStore& store() { return m_store; }

    void setName(const QString& name);
    void setFile(const QString& file);
    void setModified(bool modified);
    void select(int index);
    void forgetSelectedKey() { m_selectedKey.clear(); }

    // Appends a sub-goal without tasks; a key is drawn when none is given.
    int addGoal(const QString& name, const QString& key = {});
    // Puts a removed sub-goal back in its place and writes its tasks again.
    Result insertGoal(int index, const RemovedGoal& removed);
    RemovedGoal removeGoal(int index);
    void renameGoal(int index, const QString& name);
    void setDue(int index, const QString& due);
    // Writes the tasks to the sub-goal's file and recounts them.
    Result setTasks(int index, const QString& text);
    // The sub-goal's tasks; a missing file is created empty. The counts are left alone.
    Expected<QString> tasks(int index);

    // A new, unnamed project.
    void clear();
    // Replaces the sub-goals and name with a file's; writes every task file. The errors of
    // task files that could not be written, one line each.
    QStringList load(ProjectData data);
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

private:
    QString drawKey(const QStringList& alsoTaken = {}) const;
    QString failure(const Goal& goal, const QString& why) const;

    TaskStore& m_store;
    RandomSource& m_random;
    QString m_name;
    QString m_file;
    bool m_modified = false;
    int m_selected = 0;
    QString m_selectedKey;
    QList<Goal> m_goals;
};
