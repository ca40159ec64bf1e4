#include "model/DashboardLayout.h"

#include <QtMath>

namespace DashboardLayout {

QRect toPixels(const QRect& twips)
{
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()),
            toPixels(twips.height())};
}

QPoint panelOrigin(int panel)
{
    static constexpr QPoint origins[8] = {{720, 315},   {4770, 315}, {8775, 315},  {720, 3375},
                                          {8775, 3375}, {720, 6480}, {4770, 6480}, {8775, 6480}};
    Q_ASSERT(panel >= 1 && panel <= 8);
    return origins[panel - 1];
}

std::optional<int> containerWidth(int outerWindowWidth)
{
    const int width = outerWindowWidth - ContainerLeft - ContainerMargin;
    if (width < 0)
        return std::nullopt;
    return width;
}

int canvasLeft(int containerWidth)
{
    return qFloor(containerWidth / 2.0 - CanvasWidth / 2.0);
}

namespace {

// The grid in reading order: three rows of three cells with the centre in the middle.
constexpr int Cells[9] = {1, 2, 3, 4, 0, 5, 6, 7, 8};

int cellOf(int item)
{
    return item == 0 ? 4 : (item <= 4 ? item - 1 : item);
}

} // namespace

int neighbour(int from, Step step, int filled)
{
    const bool forward = step == Step::Right || step == Step::Down;
    const int stride = (step == Step::Left || step == Step::Right) ? 1 : 3;
    for (int cell = cellOf(from) + (forward ? stride : -stride); cell >= 0 && cell < 9;
         cell += forward ? stride : -stride) {
        if (Cells[cell] <= filled)
            return Cells[cell];
    }
    return from;
}

} // namespace DashboardLayout
