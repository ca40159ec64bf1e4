#pragma once

#include "widgets/KeyHelp.h"

#include <QWidget>

#include <functional>

class QMenu;
class QMenuBar;
class QUndoStack;
class Workspace;

// One menu item; the caption "-" makes a separator line.
struct MenuItem
{
    const char* name;
    QString caption;
    QList<QKeySequence> shortcuts;
    std::function<void()> run;
};

// Adds a menu; every item runs `first` before its own action.
QMenu* addMenu(
    QMenuBar* bar, const char* name, const QString& caption, const QList<MenuItem>& items,
    const std::function<void()>& first = [] {});
void addItems(QMenu* menu, const QList<MenuItem>& items, const std::function<void()>& first);
// Keeps the Undo and Redo items enabled and named after the step they would take.
void followHistory(const QUndoStack& history, QMenu* edit);

// Shows the one window of a kind, made when first asked for; it goes when closed.
template <typename Window, typename... Args> void showOnce(QWidget* parent, Args&&... args)
{
    auto* window = parent->findChild<Window*>();
    if (!window) {
        window = new Window(std::forward<Args>(args)..., parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

// The Help menu: About, and the list of keyboard shortcuts. Meant to be added last.
void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace,
                 std::function<void()> openProjectsFolder);

// Every key the window answers: the menus' letters, every item's shortcuts, and the keys of
// the dashboard and the sidebar, read from where they are defined so the list cannot drift.
QList<KeyHelp> keyboardShortcuts(const QMenuBar* bar);
