#include "app/ProjectRequest.h"

#include "app/MainWindow.h"

#include <QApplication>
#include <QTimer>

void openRequestedProject(MainWindow* window, const QString& path)
{
    // A question or the open window is showing: opening now would pull the project away
    // from under it, so wait until the user has answered.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
        QTimer::singleShot(300, window, [window, path] { openRequestedProject(window, path); });
        return;
    }
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
    if (!path.isEmpty())
        window->openProjectFile(path);
}
