#include "app/HelpMenu.h"

#include "app/KeyboardAccess.h"
#include "dashboard/PanelNavigator.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/ShortcutsDialog.h"
#include "storage/Workspace.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

// One window of a kind at a time, not modal.
template <typename Dialog, typename... Args> void showOnce(QWidget* parent, Args&&... args)
{
    auto* dialog = parent->findChild<Dialog*>();
    if (!dialog) {
        dialog = new Dialog(std::forward<Args>(args)..., parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

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

void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace,
                 std::function<void()> openProjectsFolder)
{
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));

    QAction* about = help->addAction(QStringLiteral("About Aimwell"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, parent,
                     [parent, folder = workspace.projectsFolder(), openProjectsFolder] {
                         showOnce<AboutDialog>(parent, folder, openProjectsFolder);
                     });

    QAction* keys = help->addAction(QStringLiteral("Keyboard Shortcuts"));
    keys->setObjectName(QStringLiteral("mnuShortcuts"));
    keys->setShortcut(QKeySequence::HelpContents);
    QObject::connect(keys, &QAction::triggered, parent,
                     [parent, bar] { showOnce<ShortcutsDialog>(parent, keyboardShortcuts(bar)); });
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
    return rows + PanelNavigator::help() + KeyboardAccess::help();
}
