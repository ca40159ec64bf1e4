#pragma once

#include <QString>

#include <functional>

class RandomSource;

// A sub-goal's key: three numbers joined by "-". It names the sub-goal's task file.
class GoalKey
{
public:
    // One key from three draws.
    static QString draw(RandomSource& random);
    // A key for which taken() is false, drawn again as often as needed.
    static QString make(RandomSource& random, const std::function<bool(const QString&)>& taken);
};
