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
    explicit DayWatcher(const Clock& clock, QObject* parent = nullptr);

    QDate today() const { return m_today; }
    // Asks the clock now; emits dayChanged when the date differs from the last one seen.
    void check();

signals:
    void dayChanged(QDate today);

private:
    const Clock& m_clock;
    QDate m_today;
    QTimer m_timer;
};
