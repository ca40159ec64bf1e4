#pragma once

#include <QPoint>
#include <QRect>

#include <optional>

// Geometry of the main window in twips (1/1440 inch), and the arithmetic of its resize
// rule. Widgets convert with toPixels().
namespace DashboardLayout {

constexpr int TwipsPerPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips >= 0 ? twips + TwipsPerPixel / 2 : twips - TwipsPerPixel / 2) / TwipsPerPixel;
}
QRect toPixels(const QRect& twips);

constexpr int ClientWidth = 17130;
constexpr int ClientHeight = 10005;
constexpr int ContainerLeft = 5310;
constexpr int ContainerMargin = 700;
constexpr int CanvasWidth = 12255;
constexpr int CanvasHeight = 9465;
constexpr int PanelWidth = 3030;
constexpr int PanelHeight = 2895;
// The narrowest container that shows every panel whole with the canvas centred in it:
// the panels end 720 twips into the canvas on the left and 450 short of it on the right.
constexpr int PanelsWidth = 2 * (8775 + PanelWidth - CanvasWidth / 2);

// Top-left corner of panel 1..8 on the canvas; the centre cell is left free.
QPoint panelOrigin(int panel);

// The container width for a window of the given outer width, or nothing when the result
// would be negative (the container then keeps its width).
std::optional<int> containerWidth(int outerWindowWidth);

// The canvas left edge that centres it in a container of that width; negative when the
// container is narrower than the canvas.
int canvasLeft(int containerWidth);

enum class Step
{
    Left,
    Right,
    Up,
    Down
};

// Where an arrow key moves from the centre (0) or a panel (1..8) when panels 1..filled are
// on the dashboard. Left and Right follow the reading order across rows; Up and Down stay
// in the column and pass over empty cells. Nowhere to go leaves `from`.
int neighbour(int from, Step step, int filled);

} // namespace DashboardLayout
