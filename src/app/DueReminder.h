#pragma once

#include "storage/ReminderLog.h"

#include <QObject>
#include <QSettings>

class DayWatcher;
class DesktopNotifier;
class MainWindow;
class QAction;

// Tells the user, by a desktop notification or else in the status bar, which sub-goals of
// the open project are overdue or due soon: once after start-up, then on each new day.
// Adds its two items to the Project menu, before Exit.
class DueReminder : public QObject
{
    Q_OBJECT

public:
    DueReminder(MainWindow* window, DayWatcher& day, QSettings& settings);

    // Checks now and from then on whenever the day changes.
    void start();
    // Tells what was not told today, unless turned off.
    void check();

private:
    void turn(bool on);
    void show(const QString& key);

    MainWindow* m_window;
    DayWatcher& m_day;
    QSettings& m_settings;
    ReminderLog m_log;
    DesktopNotifier* m_notifier;
    QAction* m_enabled = nullptr;
};
