#include "app/DueReminder.h"

#include "app/DailyTimer.h"
#include "app/DesktopNotifier.h"
#include "app/MainWindow.h"
#include "components/DayWatcher.h"
#include "model/Reminders.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {

const QString EnabledKey = QStringLiteral("reminders/dueDates");

} // namespace

DueReminder::DueReminder(MainWindow* window, DayWatcher& day, QSettings& settings)
    : QObject(window), m_window(window), m_day(day), m_settings(settings),
      m_log(window->workspace().dataFolder()), m_notifier(new DesktopNotifier(this))
{
    connect(m_notifier, &DesktopNotifier::activated, this, &DueReminder::show);

    auto* menu = window->menuBar()->findChild<QMenu*>(QStringLiteral("mnuProject"));
    QAction* exit = menu->findChild<QAction*>(QStringLiteral("mnuExit"));
    m_enabled = new QAction(QStringLiteral("Remind Me of Due Dates"), menu);
    m_enabled->setObjectName(QStringLiteral("mnuRemindDueDates"));
    m_enabled->setCheckable(true);
    m_enabled->setChecked(m_settings.value(EnabledKey, true).toBool());
    menu->insertAction(exit, m_enabled);
    connect(m_enabled, &QAction::triggered, this, &DueReminder::turn);
    auto* daily = new DailyTimer(m_settings, menu, exit);
    connect(daily, &DailyTimer::failed, window->statusBar(),
            [bar = window->statusBar()](const QString& message) { bar->showMessage(message); });
    menu->insertSeparator(exit)->setObjectName(QStringLiteral("mnuSepReminders"));
}

void DueReminder::start()
{
    connect(&m_day, &DayWatcher::dayChanged, this, &DueReminder::check, Qt::UniqueConnection);
    check();
}

void DueReminder::turn(bool on)
{
    m_settings.setValue(EnabledKey, on);
    m_settings.sync();
    if (on)
        check();
}

void DueReminder::check()
{
    if (!m_enabled->isChecked())
        return;
    const Project& project = m_window->project();
    const QDate today = m_day.today();
    const QSet<QString> told = m_log.told(today, project.file());
    QList<DueGoal> due = Reminders::of(project, today);
    const QStringList keys = Reminders::untold(due, told);
    if (due.isEmpty())
        return;
    // Told either way: by the notification, or else in the status bar.
    m_log.remember(today, project.file(), keys);
    const QString summary = Reminders::summary(project.name(), due.size());
    m_notifier->notify(summary, Reminders::lines(due, today), keys.first(),
                       [bar = m_window->statusBar(), summary](bool shown) {
                           if (!shown)
                               bar->showMessage(summary);
                       });
}

// The notification was clicked: the window comes forward with the sub-goal selected,
// unless a question is waiting for an answer.
void DueReminder::show(const QString& key)
{
    if (!m_window->bringForward())
        return;
    const int index = m_window->project().indexOf(key);
    if (index > 0)
        m_window->lblGoal_Click(index);
}
