#pragma once

#include "model/DueStatus.h"

#include <QColor>

// The colours of a panel's due band for each due state. An unreadable date keeps the
// plain navy band: its text is shown as stored, without a warning colour.
class DueBand
{
public:
    struct Colours
    {
        QColor background;
        QColor text;
    };

    static Colours colours(DueState state);

    // White text, unless it falls short of the 4.5:1 contrast that body text needs on the
    // background; then black.
    static QColor readableTextOn(const QColor& background);
    // WCAG contrast ratio of two colours, 1 to 21.
    static double contrast(const QColor& a, const QColor& b);
};
