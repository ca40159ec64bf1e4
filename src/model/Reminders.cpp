#include "model/Reminders.h"

#include "model/DueDateText.h"
#include "model/DueStatus.h"
#include "model/Project.h"

namespace {

void addIfDue(QList<DueGoal>& due, const SubGoalRecord& goal, const TaskCounts& counts, QDate today,
              const QLocale& locale)
{
    const DueState state = DueStatus::of(goal.due, counts, today, locale);
    if (state != DueState::Overdue && state != DueState::DueSoon)
        return;
    due.append({goal.key, goal.name, *DueDateText::parse(goal.due, locale), counts.pending()});
}

QString counted(qsizetype n, const char* one, const char* many)
{
    return QString::number(n) + u' ' + QLatin1StringView(n == 1 ? one : many);
}

} // namespace

namespace Reminders {

QList<DueGoal> of(const Project& project, QDate today, const QLocale& locale)
{
    QList<DueGoal> due;
    for (int i = 1; i <= project.goalCount(); ++i)
        addIfDue(due, project.goal(i), project.counts(i), today, locale);
    return due;
}

QList<DueGoal> of(const ProjectData& project, QDate today, const QLocale& locale)
{
    QList<DueGoal> due;
    for (const SubGoalRecord& goal : project.goals)
        addIfDue(due, goal, TaskCounts::ofLines(goal.tasks), today, locale);
    return due;
}

QString summary(const QString& mainGoal, qsizetype count)
{
    return mainGoal + QStringLiteral(": ") + counted(count, "sub-goal", "sub-goals") +
           (count == 1 ? QStringLiteral(" needs attention") : QStringLiteral(" need attention"));
}

QString line(const DueGoal& goal, QDate today, const QLocale& locale)
{
    const qint64 days = today.daysTo(goal.due);
    QString when;
    if (days < 0)
        when = QStringLiteral("overdue since ") + DueDateText::format(goal.due, locale);
    else if (days == 0)
        when = QStringLiteral("due today");
    else if (days == 1)
        when = QStringLiteral("due tomorrow");
    else
        when = QStringLiteral("due in %1 days").arg(days);
    return goal.name + QStringLiteral(": ") + when + QStringLiteral(", ") +
           counted(goal.pending, "task", "tasks") + QStringLiteral(" pending");
}

QStringList lines(const QList<DueGoal>& goals, QDate today, const QLocale& locale)
{
    QStringList out;
    for (const DueGoal& goal : goals)
        out.append(line(goal, today, locale));
    return out;
}

QStringList untold(QList<DueGoal>& goals, const QSet<QString>& told)
{
    goals.removeIf([&told](const DueGoal& goal) { return told.contains(goal.key); });
    QStringList keys;
    for (const DueGoal& goal : goals)
        keys.append(goal.key);
    return keys;
}

} // namespace Reminders
