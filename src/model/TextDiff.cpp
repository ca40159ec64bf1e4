#include "model/TextDiff.h"

#include <algorithm>

TextDiff TextDiff::between(QStringView from, QStringView to)
{
    const qsizetype shorter = std::min(from.size(), to.size());
    const qsizetype prefix =
        std::mismatch(from.begin(), from.begin() + shorter, to.begin()).first - from.begin();
    const qsizetype suffix =
        std::mismatch(from.rbegin(), from.rbegin() + (shorter - prefix), to.rbegin()).first -
        from.rbegin();
    return {prefix, from.sliced(prefix, from.size() - prefix - suffix).toString(),
            to.sliced(prefix, to.size() - prefix - suffix).toString()};
}

QString TextDiff::applyTo(QString text) const
{
    return text.replace(position, before.size(), after);
}

QString TextDiff::revert(QString text) const
{
    return text.replace(position, after.size(), before);
}

bool TextDiff::absorb(const TextDiff& next)
{
    // Both in the coordinates of the text between the two changes.
    const qsizetype mineEnd = position + after.size();
    const qsizetype nextEnd = next.position + next.before.size();
    if (next.position > mineEnd || nextEnd < position)
        return false;
    const qsizetype start = std::min(position, next.position);
    // The middle text from start on: this change's result, widened by what the next
    // change replaced on either side of it.
    QString middle = next.before.left(std::max<qsizetype>(0, position - next.position)) + after;
    if (nextEnd > mineEnd)
        middle += next.before.right(nextEnd - mineEnd);
    QString combinedBefore = middle;
    combinedBefore.replace(position - start, after.size(), before);
    QString combinedAfter = middle;
    combinedAfter.replace(next.position - start, next.before.size(), next.after);
    position = start;
    before = std::move(combinedBefore);
    after = std::move(combinedAfter);
    return true;
}
