#include "model/TextDiff.h"

#include <algorithm>

namespace {

// Moves a pure insertion or deletion left to place, within its slack: the repeated text
// it inserts or deletes turns round by the distance moved.
void slide(TextDiff& diff, qsizetype place)
{
    QString& moved = diff.before.isEmpty() ? diff.after : diff.before;
    const qsizetype turn = (diff.position - place) % moved.size();
    moved = moved.right(turn) + moved.left(moved.size() - turn);
    diff.slack -= diff.position - place;
    diff.position = place;
}

// The common runs from the starts and back from the ends, looking at most n characters. Whole
// blocks go through Qt's own string compare first, which is several times quicker than one
// character at a time: a key release compares the whole list (bench type_key row).
constexpr qsizetype Block = 512;

qsizetype commonFront(QStringView x, QStringView y, qsizetype n)
{
    qsizetype run = 0;
    while (run + Block <= n && x.sliced(run, Block) == y.sliced(run, Block))
        run += Block;
    return run + (std::mismatch(x.begin() + run, x.begin() + n, y.begin() + run).first -
                  (x.begin() + run));
}

qsizetype commonBack(QStringView x, QStringView y, qsizetype n)
{
    qsizetype run = 0;
    while (run + Block <= n && x.chopped(run).last(Block) == y.chopped(run).last(Block))
        run += Block;
    return run + (std::mismatch(x.rbegin() + run, x.rbegin() + n, y.rbegin() + run).first -
                  (x.rbegin() + run));
}

} // namespace

TextDiff TextDiff::between(QStringView from, QStringView to)
{
    const qsizetype shorter = std::min(from.size(), to.size());
    const qsizetype prefix = commonFront(from, to, shorter);
    const qsizetype suffix = commonBack(from, to, shorter - prefix);
    TextDiff diff{prefix, from.sliced(prefix, from.size() - prefix - suffix).toString(),
                  to.sliced(prefix, to.size() - prefix - suffix).toString()};
    // How far the common end reaches on into the common start: a pure change may stand
    // anywhere in that stretch.
    if (prefix + suffix == shorter && from.size() != to.size())
        diff.slack = commonBack(from.chopped(suffix), to.chopped(suffix), prefix);
    return diff;
}

bool TextDiff::absorb(const TextDiff& nextAsRead)
{
    // Both in the coordinates of the text between the two changes. Where one of them is a pure
    // change that could stand nearer the other, it is moved there first, so that a burst typed in
    // front of repeated letters stays one change.
    TextDiff next = nextAsRead;
    if (next.position > position + after.size() &&
        next.position - next.slack <= position + after.size())
        slide(next, position + after.size());
    if (next.position + next.before.size() < position &&
        position - slack <= next.position + next.before.size())
        slide(*this, next.position + next.before.size());
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
    slack = 0;
    before = std::move(combinedBefore);
    after = std::move(combinedAfter);
    return true;
}
