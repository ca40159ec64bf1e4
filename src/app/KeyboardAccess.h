#pragma once

#include "widgets/KeyHelp.h"

#include <QObject>

class DashboardView;
class QMainWindow;
class Sidebar;

// The keys that make the window usable without a mouse: F10 reaches the menu bar, Esc in a
// text box goes back to the dashboard, and Tab leaves the task editor. Alt with a letter
// types nothing into a box.
class KeyboardAccess : public QObject
{
    Q_OBJECT

public:
    KeyboardAccess(QMainWindow* window, Sidebar* sidebar, DashboardView* dashboard);

    // The keys handled here and in the sidebar, for the Keyboard Shortcuts window.
    static QList<KeyHelp> help();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow* m_window;
    Sidebar* m_sidebar;
    DashboardView* m_dashboard;
};
