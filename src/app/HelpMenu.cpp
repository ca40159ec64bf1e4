#include "app/HelpMenu.h"

#include "dialogs/AboutDialog.h"
#include "dialogs/Prompt.h"
#include "storage/Workspace.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace, Prompt* prompt,
                 std::function<void()> openProjectsFolder)
{
    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));

    QAction* about = help->addAction(QStringLiteral("About Aimwell"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, parent,
                     [parent, folder = workspace.projectsFolder(), openProjectsFolder] {
                         // One About window at a time.
                         auto* dialog = parent->findChild<AboutDialog*>();
                         if (!dialog) {
                             dialog = new AboutDialog(folder, openProjectsFolder, parent);
                             dialog->setAttribute(Qt::WA_DeleteOnClose);
                         }
                         dialog->show();
                         dialog->raise();
                         dialog->activateWindow();
                     });

    QAction* keys = help->addAction(QStringLiteral("Keyboard Shortcuts"));
    keys->setObjectName(QStringLiteral("mnuShortcuts"));
    QObject::connect(keys, &QAction::triggered, parent, [parent, prompt] {
        prompt->inform(parent, keyboardShortcutsText(), QStringLiteral("Keyboard Shortcuts"));
    });
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
