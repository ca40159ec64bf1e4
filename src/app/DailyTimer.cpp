#include "app/DailyTimer.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QSettings>

namespace {

const QString Unit = QStringLiteral("aimwell-remind.timer");
const QString Key = QStringLiteral("reminders/daily");

} // namespace

DailyTimer::DailyTimer(QSettings& settings, QMenu* menu, QAction* before)
    : QObject(menu), m_settings(settings),
      m_action(new QAction(QStringLiteral("Remind Me Daily, Even When Closed"), menu))
{
    m_action->setObjectName(QStringLiteral("mnuRemindDaily"));
    m_action->setCheckable(true);
    m_action->setChecked(m_settings.value(Key, false).toBool());
    menu->insertAction(before, m_action);
    // Asked when the menu opens rather than at start-up: the timer may be switched
    // outside the program, and no process runs for a window that never shows the menu.
    connect(menu, &QMenu::aboutToShow, this, &DailyTimer::refresh);
    connect(m_action, &QAction::triggered, this, &DailyTimer::turn);
}

void DailyTimer::refresh()
{
    systemctl({QStringLiteral("is-enabled"), Unit}, [this](int code, const QString& output) {
        // Without systemctl the item keeps the last choice; otherwise "enabled",
        // "disabled", or an error for a unit that is not installed.
        if (code >= 0)
            m_action->setChecked(output.trimmed() == u"enabled");
    });
}

void DailyTimer::turn(bool on)
{
    m_settings.setValue(Key, on);
    m_settings.sync();
    const QString verb = on ? QStringLiteral("enable") : QStringLiteral("disable");
    systemctl({verb, QStringLiteral("--now"), Unit}, [this, on](int code, const QString& output) {
        if (code != 0)
            emit failed((on ? QStringLiteral("Daily reminders could not be turned on: %1")
                            : QStringLiteral("Daily reminders could not be turned off: %1"))
                            .arg(output.trimmed()));
        refresh();
    });
}

void DailyTimer::systemctl(const QStringList& arguments,
                           std::function<void(int, const QString&)> done)
{
    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    connect(process, &QProcess::finished, this,
            [process, done](int code, QProcess::ExitStatus status) {
                process->deleteLater();
                done(status == QProcess::NormalExit ? code : -1,
                     QString::fromLocal8Bit(process->readAll()));
            });
    connect(process, &QProcess::errorOccurred, this, [process, done](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        done(-1, QStringLiteral("systemctl could not be started"));
    });
    process->start(QStringLiteral("systemctl"), QStringList{QStringLiteral("--user")} + arguments);
}
