#pragma once

#include <QString>

// One change of a text: at `position`, `before` was replaced by `after`. A history step
// keeps this rather than whole texts, so a long task list costs a few bytes per step.
struct TextDiff
{
    qsizetype position = 0;
    QString before;
    QString after;
    // A pure insertion or deletion inside a run of repeated text could stand this many
    // places further left: typing "b" after "a" in "abob" reads as at 2, though it was at 1.
    qsizetype slack = 0;

    bool isEmpty() const { return before == after; }
    // The smallest single change that turns from into to.
    static TextDiff between(QStringView from, QStringView to);
    // This change followed by next, as one change, when the two touch or overlap.
    bool absorb(const TextDiff& next);
};
