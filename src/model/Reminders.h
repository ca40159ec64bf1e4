#pragma once

#include "model/ProjectData.h"
#include "model/TaskCounts.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

class Project;

// A sub-goal that needs attention: pending tasks, and its date passed or at most
// DueStatus::DueSoonDays away.
struct DueGoal
{
    QString key;
    QString name;
    QDate due;
    int pending = 0;

    bool operator==(const DueGoal&) const = default;
};

// What a reminder says about a project on a given day; the window and --remind say the same.
namespace Reminders {

// In panel order.
QList<DueGoal> of(const Project& project, QDate today, const QLocale& locale = QLocale());
QList<DueGoal> of(const ProjectData& project, QDate today, const QLocale& locale = QLocale());

// Takes out the sub-goals already told; returns the keys of those left, in order.
QStringList untold(QList<DueGoal>& goals, const QSet<QString>& told);

// "My Goal: 2 sub-goals need attention"
QString summary(const QString& mainGoal, qsizetype count);
// "Paint house: overdue since 15 Mar 2026, 1 task pending"
QString line(const DueGoal& goal, QDate today, const QLocale& locale = QLocale());
QStringList lines(const QList<DueGoal>& goals, QDate today, const QLocale& locale = QLocale());

} // namespace Reminders
