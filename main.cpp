#include "app/AppServices.h"
#include "app/DueReminder.h"
#include "app/InstanceChannel.h"
#include "app/MainWindow.h"
#include "app/ProjectSafety.h"
#include "app/RemindCommand.h"
#include "app/SplashWindow.h"
#include "components/AppInfo.h"
#include "components/RandomSource.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"
#include "storage/InstanceLock.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Written out rather than taken from the parser, whose usage line needs a running
// application for the program's name.
const char HelpText[] = "Usage: aimwell [options] [project.gpj]\n"
                        "Plans one main goal with up to eight sub-goals and their tasks.\n"
                        "\n"
                        "Options:\n"
                        "  -h, --help     Show this help and exit.\n"
                        "  -v, --version  Show the version and exit.\n"
                        "  --remind       Without a window or a display: send a desktop\n"
                        "                 notification for each project with sub-goals that\n"
                        "                 are overdue or due within three days, print the\n"
                        "                 same lines, and exit. The aimwell-remind.timer\n"
                        "                 systemd user unit runs it daily.\n"
                        "\n"
                        "Arguments:\n"
                        "  project.gpj    A project to open after start-up. If a copy is\n"
                        "                 already running, that copy opens it.\n";

// Read before any window exists, so that --help and --version work without a display.
// Returns the exit status when the program is not to run. A relative project path is
// made absolute, so that it still names the same file when handed to another copy.
std::optional<int> readCommandLine(const QStringList& arguments, QString& projectFile, bool& remind)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    const QCommandLineOption reminders(u"remind"_s);
    parser.addOptions({help, version, reminders});
    // The toolkit reads its own options from the same line ("-style fusion"): accepted
    // here and left for it. Single-dash words are whole names, so an unknown one is named
    // whole too.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"style", "stylesheet", "platform", "platformpluginpath",
                             "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
                             "qwindowtitle", "session", "display", "geometry", "qmljsdebugger"})
        parser.addOption({QString::fromLatin1(name), QString(), u"value"_s});
    parser.addOptions({QCommandLineOption(u"reverse"_s), QCommandLineOption(u"widgetcount"_s)});
    const auto fail = [](const QString& error) {
        std::fprintf(stderr, "aimwell: %s Try 'aimwell --help'.\n", qUtf8Printable(error));
        return 2;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(HelpText, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qUtf8Printable(AppInfo::productName()),
                    qUtf8Printable(AppInfo::version()));
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    remind = parser.isSet(reminders);
    if (remind && !files.isEmpty())
        return fail(u"--remind reads every project in the projects folder; it takes no file."_s);
    if (files.size() > 1)
        return fail(u"Only one project can be opened at a time."_s);
    if (!files.isEmpty())
        projectFile = QDir::cleanPath(QDir::current().absoluteFilePath(files.first()));
    return std::nullopt;
}

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

// A project handed over on the command line or by a second start: the window comes to
// the front and opens it as Open does. An empty path only brings the window forward.
void openRequestedProject(MainWindow* window, const QString& path)
{
    // A question or the open window is showing: opening now would pull the project away
    // from under it, so wait until the user has answered.
    if (!window->bringForward()) {
        QTimer::singleShot(300, window, [window, path] { openRequestedProject(window, path); });
        return;
    }
    if (!path.isEmpty())
        window->openProjectFile(path);
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QString projectFile;
    bool remindOnly = false;
    if (const std::optional<int> status = readCommandLine(arguments, projectFile, remindOnly))
        return *status;
    if (remindOnly)
        return remind(argc, argv);

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
            prompt, u"%1 cannot keep its files in %2."_s.arg(AppInfo::productName(), ready.error));
    const Result projects = services.workspace.prepareProjectsFolder();

    InstanceLock lock(dataFolder);
    switch (lock.acquire()) {
    case InstanceLock::State::Acquired:
        break;
    case InstanceLock::State::HeldByOther:
        if (InstanceChannel::send(InstanceChannel::serverNameFor(dataFolder), projectFile))
            return 0;
        prompt.inform(
            nullptr,
            u"%1 is already running from this folder. Switch to the open window "
            "instead; a second copy would empty its task files."_s.arg(AppInfo::productName()),
            AppInfo::productName());
        return 1;
    case InstanceLock::State::Unavailable:
        return refuseStart(prompt, u"%1 cannot take its lock file in \"%2\", so it cannot tell "
                                   "whether another copy is using that folder."_s.arg(
                                       AppInfo::productName(), dataFolder));
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
        QTimer::singleShot(0, window, [&, window, file = projectFile] {
            // Once the splash is gone, and before a project from the command line replaces
            // what would be restored.
            window->safety().offerRecovery();
            // Told once; every save there fails with its own message.
            if (!projects.ok())
                warn(prompt, window,
                     u"%1 cannot save projects in %2. It works on; projects can be opened, "
                     "and saved once the folder can be written to."_s.arg(AppInfo::productName(),
                                                                          projects.error));
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
