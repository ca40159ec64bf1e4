#include "app/HelpMenu.h"

#include "dialogs/AboutDialog.h"
#include "dialogs/Prompt.h"
#include "storage/Workspace.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption,
               const QList<MenuItem>& items, const std::function<void()>& first)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
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
    return menu;
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

void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace, Prompt* prompt,
                 std::function<void()> openProjectsFolder)
{
    const auto about = [parent, folder = workspace.projectsFolder(), openProjectsFolder] {
        // One About window at a time.
        auto* dialog = parent->findChild<AboutDialog*>();
        if (!dialog) {
            dialog = new AboutDialog(folder, openProjectsFolder, parent);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
        }
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    };
    const auto keys = [parent, prompt] {
        prompt->inform(parent, keyboardShortcutsText(), QStringLiteral("Keyboard Shortcuts"));
    };
    QMenu* help = addMenu(bar, "mnuHelp", QStringLiteral("Help"),
                          {{"mnuAbout", QStringLiteral("About Aimwell"), {}, about},
                           {"mnuShortcuts", QStringLiteral("Keyboard Shortcuts"), {}, keys}});
    help->actions().constFirst()->setMenuRole(QAction::AboutRole);
}

QString keyboardShortcutsText()
{
    const auto key = [](QKeySequence sequence) {
        return sequence.toString(QKeySequence::NativeText);
    };
    return QStringLiteral("New project: %1\n"
                          "Open a project: %2\n"
                          "Save the project: %3\n"
                          "Undo: %4\n"
                          "Redo: %5 or %6\n"
                          "Add a sub-goal, or rename the selected one: Enter in the sub-goal "
                          "box")
        .arg(key(Qt::CTRL | Qt::Key_N), key(Qt::CTRL | Qt::Key_O), key(Qt::CTRL | Qt::Key_S),
             key(Qt::CTRL | Qt::Key_Z), key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
             key(Qt::CTRL | Qt::Key_Y));
}
