#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QMenu;
class QMenuBar;
class QUndoStack;

// One menu item; the caption "-" makes a separator line.
struct MenuItem
{
    const char* name;
    QString caption;
    QList<QKeySequence> shortcuts;
    std::function<void()> run;
};

// Adds items to a menu; every item runs `first` before its own action.
void addItems(QMenu* menu, const QList<MenuItem>& items, const std::function<void()>& first);
// Adds a menu with its items.
QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption,
               const QList<MenuItem>& items, const std::function<void()>& first);
// Keeps the Undo and Redo items enabled and named after the step they would take.
void followHistory(const QUndoStack& history, QMenu* edit);
