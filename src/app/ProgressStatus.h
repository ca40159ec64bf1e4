#pragma once

#include <QObject>

class DayWatcher;
class Project;
class QLabel;
class QStatusBar;

// The status bar's line on the whole goal's progress: sub-goals, tasks, completed, pending
// and overdue. It follows every recount and the day, as the overdue count depends on both.
class ProgressStatus : public QObject
{
    Q_OBJECT

public:
    ProgressStatus(const Project& project, const DayWatcher& day, QStatusBar* bar);

    void update();

private:
    const Project& m_project;
    const DayWatcher& m_day;
    QLabel* m_label;
};
