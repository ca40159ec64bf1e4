#include "app/MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption,
               const QList<MenuItem>& items, const std::function<void()>& first)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    addItems(menu, items, first);
    return menu;
}

void addItems(QMenu* menu, const QList<MenuItem>& items, const std::function<void()>& first)
{
    for (const MenuItem& item : items) {
        QAction* action =
            item.caption == u"-" ? menu->addSeparator() : menu->addAction(item.caption);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcuts(item.shortcuts);
        if (item.run)
            QObject::connect(action, &QAction::triggered, menu, [first, run = item.run] {
                first();
                run();
            });
    }
}

void followHistory(const QUndoStack& history, QMenu* edit)
{
    auto* undo = edit->findChild<QAction*>(QStringLiteral("mnuUndo"));
    auto* redo = edit->findChild<QAction*>(QStringLiteral("mnuRedo"));
    const auto follow = [&history, undo, redo] {
        undo->setEnabled(history.canUndo());
        undo->setText(history.canUndo() ? QStringLiteral("Undo ") + history.undoText()
                                        : QStringLiteral("Undo"));
        redo->setEnabled(history.canRedo());
        redo->setText(history.canRedo() ? QStringLiteral("Redo ") + history.redoText()
                                        : QStringLiteral("Redo"));
    };
    QObject::connect(&history, &QUndoStack::indexChanged, edit, follow);
    QObject::connect(&history, &QUndoStack::cleanChanged, edit, follow);
    follow();
}
