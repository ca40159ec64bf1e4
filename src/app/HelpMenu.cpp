#include "app/HelpMenu.h"

#include "app/ClientArea.h"
#include "dashboard/PanelNavigator.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/ShortcutsDialog.h"
#include "storage/Workspace.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

namespace {

QString plain(QString caption)
{
    return caption.remove(u'&');
}

void addItemKeys(QList<KeyHelp>& rows, const QMenu* menu, const QString& path)
{
    for (const QAction* action : menu->actions()) {
        const QString name = path + QStringLiteral(", ") + plain(action->text());
        if (action->menu())
            addItemKeys(rows, action->menu(), name);
        else if (!action->shortcuts().isEmpty())
            rows.append({KeyHelp::keysText(action->shortcuts()), name});
    }
}

} // namespace

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

void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace,
                 std::function<void()> openProjectsFolder)
{
    const auto about = [parent, folder = workspace.projectsFolder(), openProjectsFolder] {
        showOnce<AboutDialog>(parent, folder, openProjectsFolder);
    };
    const auto keys = [parent, bar] { showOnce<ShortcutsDialog>(parent, keyboardShortcuts(bar)); };
    QMenu* help = addMenu(bar, "mnuHelp", QStringLiteral("&Help"),
                          {{"mnuAbout", QStringLiteral("About Aimwell"), {}, about},
                           {"mnuShortcuts",
                            QStringLiteral("Keyboard Shortcuts"),
                            {QKeySequence::HelpContents},
                            keys}});
    help->actions().constFirst()->setMenuRole(QAction::AboutRole);
}

QList<KeyHelp> keyboardShortcuts(const QMenuBar* bar)
{
    QList<KeyHelp> rows;
    for (const QAction* title : bar->actions()) {
        if (!title->menu())
            continue;
        rows.append({KeyHelp::keysText({QKeySequence::mnemonic(title->text())}),
                     QStringLiteral("Open the %1 menu").arg(plain(title->text()))});
        addItemKeys(rows, title->menu(), plain(title->text()));
    }
    return rows + PanelNavigator::help() + ClientArea::help();
}
