#pragma once

#include "model/ProjectData.h"
#include "storage/HistoryFile.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

// A day's sums of tasks and completed tasks.
struct ProgressPoint
{
    QDate date;
    int total = 0;
    int completed = 0;

    bool operator==(const ProgressPoint&) const = default;
};

// When the tasks will be done at the pace of the last PaceDays days: completed and total
// both go on as they went, and the forecast is where they meet.
struct Forecast
{
    static constexpr int PaceDays = 14;
    // Beyond this the finish says nothing a plan can use.
    static constexpr int HorizonDays = 3650;

    enum class Kind
    {
        NoHistory,
        OneDay,
        NoTasks,
        AllDone,
        NoProgress,
        ScopeGrowing,
        TooFar,
        Finish
    };
    Kind kind = Kind::NoHistory;
    double pace = 0;      // tasks completed a day
    double scopePace = 0; // tasks added a day; removals are not counted on
    ProgressPoint from;   // the last point, where the forecast line starts
    QDate finish;
    double finishTotal = 0;
    QString sentence;

    // One point a day: the rows of key summed, or of every key when key is empty.
    static QList<ProgressPoint> series(const QList<HistoryRow>& rows, const QString& key = {});
    static Forecast of(const QList<ProgressPoint>& points, QDate today, QDate due = {});
    // When what is shown is due: the sub-goal of key, or for the whole goal (no key) the last
    // of them. Invalid when there is no date that can be read.
    static QDate dueOf(const QList<SubGoalRecord>& goals, const QString& key = {},
                       const QLocale& locale = QLocale());
    // "3 Mar 2027", the same under every locale.
    static QString dateText(QDate date);
};
