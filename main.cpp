#include "app/AppServices.h"
#include "app/CommandLine.h"
#include "app/DueReminder.h"
#include "app/InstanceChannel.h"
#include "app/MainWindow.h"
#include "app/ProjectRequest.h"
#include "app/ProjectSafety.h"
#include "app/RemindCommand.h"
#include "app/SplashWindow.h"
#include "components/AppInfo.h"
#include "components/RandomSource.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"
#include "storage/InstanceLock.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>

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

// Said on the terminal too, for a start from a shell or a script.
void warn(Prompt& prompt, QWidget* parent, const QString& text)
{
    std::fprintf(stderr, "aimwell: %s\n", qUtf8Printable(text));
    prompt.warn(parent, text, AppInfo::productName());
}

int refuseStart(Prompt& prompt, const QString& text)
{
    warn(prompt, nullptr, text);
    return 1;
}

QIcon programIcon()
{
    QIcon icon;
    for (const char* size : {"48", "128", "256"})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/io.github.aimwell.Aimwell.png")
                         .arg(QLatin1String(size)));
    return icon;
}

// Portable with imgs beside the program, else the user's folders.
Workspace programWorkspace()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    return Workspace::forProgram(
        appDir, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
        QDir::cleanPath(appDir + QStringLiteral("/" AIMWELL_SHARE_FROM_BIN)));
}

// Without a window, so without a display.
int remind(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Aimwell"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return remindOfDueDates(programWorkspace(), Clock::system(), out, err);
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = CommandLine::parse(arguments, QDir::currentPath());
    if (command.action() == CommandLine::Action::Remind)
        return remind(argc, argv);
    if (command.action() != CommandLine::Action::Run)
        return command.report();

    qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    QApplication::setApplicationName(QStringLiteral("Aimwell"));
    QApplication::setApplicationVersion(AppInfo::version());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.aimwell.Aimwell"));
    QApplication::setWindowIcon(programIcon());

    DialogPrompt prompt;
    DesktopFolderOpener folderOpener;
    SystemRandomSource random;
    AppServices services{programWorkspace(), &prompt, &folderOpener, &random};
    const QString dataFolder = services.workspace.dataFolder();
    // Choices stay beside a portable program, else in the user's settings.
    if (dataFolder != QCoreApplication::applicationDirPath())
        services.settingsFile =
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
            QStringLiteral("/aimwell.ini");

    const Result ready = services.workspace.prepareFolders();
    if (!ready.ok())
        return refuseStart(
            prompt, QStringLiteral("Aimwell Pro cannot keep its files in %1.").arg(ready.error));
    const Result projects = services.workspace.prepareProjectsFolder();

    InstanceLock lock(dataFolder);
    switch (lock.acquire()) {
    case InstanceLock::State::Acquired:
        break;
    case InstanceLock::State::HeldByOther:
        if (InstanceChannel::send(InstanceChannel::serverNameFor(dataFolder),
                                  command.projectFile()))
            return 0;
        prompt.inform(
            nullptr,
            QStringLiteral("Aimwell Pro is already running from this folder. Switch to the open "
                           "window instead; a second copy would empty its task files."),
            QStringLiteral("Aimwell Pro"));
        return 1;
    case InstanceLock::State::Unavailable:
        return refuseStart(prompt, QStringLiteral("Aimwell Pro cannot take its lock file in "
                                                  "\"%1\", so it cannot tell whether another "
                                                  "copy is using that folder.")
                                       .arg(dataFolder));
    }

    // Without the channel the program still works; only a second start cannot hand over.
    InstanceChannel channel(dataFolder);
    if (!channel.listen())
        std::fprintf(stderr, "aimwell: a second start cannot hand its project over: %s\n",
                     qUtf8Printable(channel.errorString()));

    std::unique_ptr<MainWindow> mainWindow;
    SplashWindow splash(services.workspace, [&] {
        mainWindow = std::make_unique<MainWindow>(services);
        // Maximised, so that the whole dashboard fits wherever the screen allows.
        mainWindow->showMaximized();
        MainWindow* window = mainWindow.get();
        QTimer::singleShot(0, window, [&, window, file = command.projectFile()] {
            // Once the splash is gone, and before a project from the command line replaces
            // what would be restored.
            window->safety().offerRecovery();
            // Told once; every save there fails with its own message.
            if (!projects.ok())
                warn(prompt, window,
                     QStringLiteral("Aimwell Pro cannot save projects in %1. It works on; "
                                    "projects can be opened, and saved once the folder can "
                                    "be written to.")
                         .arg(projects.error));
            if (!file.isEmpty())
                openRequestedProject(window, file);
            window->reminder().start();
            channel.setReceiver(
                [window](const QString& path) { openRequestedProject(window, path); });
        });
    });
    splash.show();
    return app.exec();
}
