#pragma once

#include "components/Clock.h"

#include <QDate>
#include <QObject>
#include <QTimer>

// Tells when the clock's date moves on, so that what depends on today (due colours, the
// overdue count) follows it while the program stays open past midnight. It asks the clock
// once a minute rather than waiting for midnight: a suspended machine or a changed system
// clock would make a single midnight timer miss the day.
class DayWatcher : public QObject
{
    Q_OBJECT

public:
    explicit DayWatcher(const Clock& clock, QObject* parent = nullptr)
        : QObject(parent), m_clock(clock), m_today(clock.today())
    {
        m_timer.setInterval(60000);
        // Coarse: a minute late at midnight does not matter, waking the processor does.
        m_timer.setTimerType(Qt::VeryCoarseTimer);
        connect(&m_timer, &QTimer::timeout, this, &DayWatcher::check);
        m_timer.start();
    }

    QDate today() const { return m_today; }
    // Asks the clock now; emits dayChanged when the date differs from the last one seen.
    void check()
    {
        const QDate now = m_clock.today();
        if (now == m_today)
            return;
        m_today = now;
        emit dayChanged(now);
    }

signals:
    void dayChanged(QDate today);

private:
    const Clock& m_clock;
    QDate m_today;
    QTimer m_timer;
};
