#pragma once

#include "widgets/KeyHelp.h"

#include <QWidget>

class DashboardView;
class QScrollArea;
class Sidebar;

// The window's client area: the sidebar on the left and the dashboard beside it, each in
// a scroll area of its own, so that a window smaller than either scrolls instead of
// cutting it off. With room enough it looks exactly as without the scroll areas.
//
// It also makes the window usable without a mouse: the Tab order across both halves, F10
// for the menu bar, Esc in the sidebar back to the dashboard, and Tab out of the task
// editor. Alt with a letter types nothing into a box; it opens a menu.
class ClientArea : public QWidget
{
    Q_OBJECT

public:
    ClientArea(Sidebar* sidebar, DashboardView* dashboard, QWidget* parent);

    QScrollArea* sidebarArea() const { return m_sidebarArea; }
    QScrollArea* dashboardArea() const { return m_dashboardArea; }
    // The widgets Tab visits now, in order.
    QList<QWidget*> tabChain() const;
    // Scrolls the widget into view when it is in one of the two halves.
    void bringIntoView(QWidget* widget);
    // The keys handled here and in the sidebar, for the Keyboard Shortcuts window.
    static QList<KeyHelp> help();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the two areas in this size, the dashboard after the window's outer width.
    void layOut(int outerWidth);
    void openMenu();

    Sidebar* m_sidebar;
    DashboardView* m_dashboard;
    QScrollArea* m_sidebarArea;
    QScrollArea* m_dashboardArea;
};
