#include "model/ProgressSummary.h"

#include "model/Project.h"

#include <QtMath>

namespace {

QString counted(qint64 n, const char* one, const char* many)
{
    return QString::number(n) + u' ' + QLatin1StringView(n == 1 ? one : many);
}

} // namespace

int ProgressSummary::percentCompleted() const
{
    if (tasks <= 0 || completed <= 0)
        return 0;
    if (completed >= tasks)
        return 100;
    const int rounded = qRound(100.0 * completed / tasks);
    return qBound(1, rounded, 99);
}

ProgressSummary ProgressSummary::of(const ProjectData& project, QDate today, const QLocale& locale)
{
    ProgressSummary summary;
    for (const SubGoalRecord& goal : project.goals) {
        const TaskCounts counts = TaskCounts::ofLines(goal.tasks);
        summary.add(counts, DueStatus::of(goal.due, counts, today, locale));
    }
    return summary;
}

ProgressSummary ProgressSummary::of(const Project& project, QDate today)
{
    ProgressSummary summary;
    for (int i = 1; i <= project.goalCount(); ++i)
        summary.add(project.counts(i),
                    DueStatus::of(project.goal(i).due, project.counts(i), today));
    return summary;
}

QString ProgressSummary::text() const
{
    const QString dot = QStringLiteral(" \u00B7 ");
    return counted(subGoals, "sub-goal", "sub-goals") + dot + counted(tasks, "task", "tasks") +
           dot + QString::number(completed) + QStringLiteral(" completed (") +
           QString::number(percentCompleted()) + QStringLiteral(" %)") + dot +
           QString::number(pending()) + QStringLiteral(" pending") + dot +
           QString::number(overdue) + QStringLiteral(" overdue");
}
