#pragma once

#include <QRandomGenerator>

// Where random numbers come from, so that tests can fix the draws.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // A number from 0 to bound, both included.
    virtual quint32 bounded(quint32 bound) = 0;
};

class SystemRandomSource : public RandomSource
{
public:
    quint32 bounded(quint32 bound) override
    {
        return QRandomGenerator::global()->bounded(bound + 1);
    }
};
