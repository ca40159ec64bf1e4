#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class Prompt;
class QMenu;
class QMenuBar;
class QUndoStack;
class QWidget;
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
// Keeps the Undo and Redo items enabled and named after the step they would take.
void followHistory(const QUndoStack& history, QMenu* edit);

// The Help menu: About, and the list of keyboard shortcuts. Meant to be added last.
void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace, Prompt* prompt,
                 std::function<void()> openProjectsFolder);

QString keyboardShortcutsText();
