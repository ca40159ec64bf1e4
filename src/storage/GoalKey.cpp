#include "storage/GoalKey.h"

#include "components/RandomSource.h"

namespace {
constexpr int Bound = 9000;
constexpr int MaxDraws = 10000;
} // namespace

QString GoalKey::draw(RandomSource& random)
{
    // Three draws from 0 to Bound, both included.
    const auto number = [&](int add) { return int(random.bounded(quint32(Bound))) + add; };
    const int a = number(100);
    const int b = number(300);
    return QStringLiteral("%1-%2-%3").arg(a).arg(b).arg(number(300));
}

QString GoalKey::make(RandomSource& random, const std::function<bool(const QString&)>& taken)
{
    for (int i = 0; i < MaxDraws; ++i) {
        QString key = draw(random);
        if (!taken(key))
            return key;
    }
    // A source that keeps repeating itself must not hang the program: count upwards.
    const QString base = draw(random);
    for (int n = 1;; ++n) {
        QString key = base + u'-' + QString::number(n);
        if (!taken(key))
            return key;
    }
}
