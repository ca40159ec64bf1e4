#include "dashboard/DueBand.h"

#include <QtMath>

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : qPow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

} // namespace

DueBand::Colours DueBand::colours(DueState state)
{
    QColor background;
    switch (state) {
    case DueState::Overdue:
        background = QColor(0xC0, 0x00, 0x00);
        break;
    case DueState::DueSoon:
        background = QColor(0xC0, 0x70, 0x00);
        break;
    default:
        background = QColor(0x00, 0x00, 0x80);
        break;
    }
    return {background, readableTextOn(background)};
}

QColor DueBand::readableTextOn(const QColor& background)
{
    return contrast(Qt::white, background) >= 4.5 ? QColor(Qt::white) : QColor(Qt::black);
}

double DueBand::contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}
