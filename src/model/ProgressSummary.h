#pragma once

#include "model/DueStatus.h"
#include "model/TaskCounts.h"
#include "storage/ProjectFile.h"

#include <QDate>
#include <QLocale>
#include <QString>

class Project;

// The whole goal's progress, added up over its sub-goals, for the status bar.
struct ProgressSummary
{
    int subGoals = 0;
    int tasks = 0;
    int completed = 0;
    int overdue = 0;

    int pending() const { return tasks - completed; }
    // Rounded to the nearest, but 0 only when nothing is done and 100 only when all is:
    // 199 of 200 reads 99 %, not 100 %.
    int percentCompleted() const;

    void add(const TaskCounts& counts, DueState state)
    {
        ++subGoals;
        tasks += counts.total;
        completed += counts.completed;
        overdue += state == DueState::Overdue;
    }
    static ProgressSummary of(const ProjectData& project, QDate today,
                              const QLocale& locale = QLocale());
    // From the counts the panels show, not the files: no disk read on every key.
    static ProgressSummary of(const Project& project, QDate today);

    // "5 sub-goals · 30 tasks · 12 completed (40 %) · 18 pending · 1 overdue"
    QString text() const;
};
