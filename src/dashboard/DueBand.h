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

    static Colours colours(DueState state)
    {
        // The text has at least the 4.5:1 contrast body text needs: white on red and navy
        // (6.5:1, 16:1), black on amber (5.6:1; white would give 3.8:1).
        switch (state) {
        case DueState::Overdue:
            return {QColor(0xC0, 0x00, 0x00), Qt::white};
        case DueState::DueSoon:
            return {QColor(0xC0, 0x70, 0x00), Qt::black};
        default:
            return {QColor(0x00, 0x00, 0x80), Qt::white};
        }
    }
};
