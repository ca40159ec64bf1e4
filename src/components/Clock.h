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

inline const Clock& Clock::system()
{
    static const struct : Clock
    {
        QDate today() const override { return QDate::currentDate(); }
    } clock{};
    return clock;
}
