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
};
