#include "components/DayWatcher.h"

DayWatcher::DayWatcher(const Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_today(clock.today())
{
    m_timer.setInterval(60000);
    // Coarse: a minute late at midnight does not matter, waking the processor does.
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &DayWatcher::check);
    m_timer.start();
}

void DayWatcher::check()
{
    const QDate now = m_clock.today();
    if (now == m_today)
        return;
    m_today = now;
    emit dayChanged(now);
}
