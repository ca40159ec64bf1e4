#pragma once

#include "components/Clock.h"

// A day that a test sets.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDate date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void set(QDate date) { m_date = date; }

private:
    QDate m_date;
};
