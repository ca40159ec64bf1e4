#pragma once

#include <QDate>

// Today's date, asked for wherever the program compares or shows dates; tests fix it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;

    static const Clock& system();
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDate date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void set(QDate date) { m_date = date; }

private:
    QDate m_date;
};
