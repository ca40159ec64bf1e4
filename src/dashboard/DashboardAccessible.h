#pragma once

#include <QString>

class QWidget;

// What screen readers are told about the dashboard and the clickable labels: each panel
// and the centre box is one button named after its goal, a panel's red "X" a button of
// its own, and a clickable label a link or button that can be pressed.
namespace DashboardAccessible {

// Registers the interfaces with Qt; once is enough, later calls do nothing.
void install();

// The description of a panel or the centre box: the one the dashboard gave it from what the
// panel shows; none for an empty panel. Never the tool tip, which is rich text.
QString description(const QWidget* item);

// The counts a panel reports as its value, kept on the panel.
void setCounts(QWidget* item, int completed, int total);

} // namespace DashboardAccessible
