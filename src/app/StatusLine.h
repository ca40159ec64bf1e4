#pragma once

#include <QObject>

class DayWatcher;
class Project;
class QStatusBar;

// The status bar: "Unsaved changes" on the left while there are any, and on the right the
// line on the whole goal, which follows every recount and the day, as the overdue count
// depends on both.
class StatusLine : public QObject
{
    Q_OBJECT

public:
    StatusLine(const Project& project, const DayWatcher& day, QStatusBar* bar);
};
