#include "app/AppServices.h"
#include "storage/InstanceLock.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "components/RandomSource.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

// While the toolkit starts, a missing display ends the program with one clear line
// instead of the platform plugin's abort and trace.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs("aimwell: cannot open a display; start it from a graphical desktop session.\n",
                   stderr);
        _exit(2);
    }
    if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0)
        return;
    std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    QApplication::setApplicationName(QStringLiteral("Aimwell"));
    QApplication::setApplicationVersion(QStringLiteral("1.4"));

    DialogPrompt prompt;
    DesktopFolderOpener folderOpener;
    SystemRandomSource random;
    AppServices services{Workspace(QCoreApplication::applicationDirPath()), &prompt, &folderOpener,
                         &random};

    InstanceLock lock(services.workspace.appDir());
    if (lock.acquire() == InstanceLock::State::HeldByOther) {
        prompt.inform(
            nullptr,
            QStringLiteral("Aimwell Pro is already running from this folder. Switch to the open "
                           "window instead; a second copy would empty its task files."),
            QStringLiteral("Aimwell Pro"));
        return 1;
    }

    std::unique_ptr<MainWindow> mainWindow;
    SplashWindow splash(services.workspace, [&] {
        mainWindow = std::make_unique<MainWindow>(services);
        // Maximised, so that the whole dashboard fits wherever the screen allows.
        mainWindow->showMaximized();
    });
    splash.show();
    return app.exec();
}
