#include "storage/GoalKey.h"

#include "components/RandomSource.h"
#include "components/Tools.h"

namespace {
constexpr int Bound = 9000;
constexpr int MaxDraws = 10000;
} // namespace

QString GoalKey::draw(RandomSource& random)
{
    const qint16 a = static_cast<qint16>(Tools::randomNumber(Bound, random) + 100);
    const qint16 b = static_cast<qint16>(Tools::randomNumber(Bound, random) + 300);
    const qint16 c = static_cast<qint16>(Tools::randomNumber(Bound, random) + 300);
    return QStringLiteral("%1-%2-%3").arg(a).arg(b).arg(c);
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
