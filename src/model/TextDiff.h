#pragma once

#include <QString>

// One change of a text: at `position`, `before` was replaced by `after`. A history step
// keeps this rather than whole texts, so a long task list costs a few bytes per step.
struct TextDiff
{
    qsizetype position = 0;
    QString before;
    QString after;

    bool isEmpty() const { return before == after; }
    // The smallest single change that turns from into to.
    static TextDiff between(QStringView from, QStringView to);
    // Applies the change forwards (after replaces before) or backwards.
    QString applyTo(QString text) const;
    QString revert(QString text) const;
    // This change followed by next, as one change, when the two touch or overlap.
    bool absorb(const TextDiff& next);
};
