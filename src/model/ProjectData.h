#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The plain project that the project file, the recovery snapshot and the exports hold.
struct SubGoalRecord
{
    QString key;
    QString name;
    QString due; // empty: no due date
    QStringList tasks;

    bool operator==(const SubGoalRecord&) const = default;
};

struct ProjectData
{
    // A project has at most this many sub-goals, one a panel.
    static constexpr int MaxGoals = 8;
    // Typing is held to these lengths; a longer name from a file stays whole.
    static constexpr int MaxGoalName = 16;
    static constexpr int MaxProjectName = 40;

    QString name;
    QList<SubGoalRecord> goals; // panel order, at most MaxGoals

    bool operator==(const ProjectData&) const = default;
};
