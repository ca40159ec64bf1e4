#include "app/CommandLine.h"

#include "components/AppInfo.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

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

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments, const QString& currentDir)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption remind(QStringLiteral("remind"),
                                    QStringLiteral("Notify of due sub-goals and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(remind);
    // The toolkit reads its own options from the same line ("-style fusion"): accepted
    // here and left for it. Single-dash words are whole names, so an unknown one is named
    // whole too.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto toolkit = [&parser](const char* name, const QString& valueName) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    };
    for (const char* name : {"style", "stylesheet", "platform", "platformpluginpath",
                             "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
                             "qwindowtitle", "session", "display", "geometry", "qmljsdebugger"})
        toolkit(name, QStringLiteral("value"));
    for (const char* name : {"reverse", "widgetcount"})
        toolkit(name, QString());

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.m_action = Action::Fail;
        result.m_error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.m_action = Action::ShowHelp;
        return result;
    }
    if (parser.isSet(version)) {
        result.m_action = Action::ShowVersion;
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(remind) && !files.isEmpty()) {
        result.m_action = Action::Fail;
        result.m_error = QStringLiteral("--remind reads every project in the projects folder; "
                                        "it takes no file.");
        return result;
    }
    if (parser.isSet(remind)) {
        result.m_action = Action::Remind;
        return result;
    }
    if (files.size() > 1) {
        result.m_action = Action::Fail;
        result.m_error = QStringLiteral("Only one project can be opened at a time.");
        return result;
    }
    if (!files.isEmpty())
        result.m_projectFile = QDir::cleanPath(QDir(currentDir).absoluteFilePath(files.first()));
    return result;
}

int CommandLine::report() const
{
    switch (m_action) {
    case Action::ShowHelp:
        std::fputs(HelpText, stdout);
        return 0;
    case Action::ShowVersion:
        std::printf("%s %s\n", qUtf8Printable(AppInfo::productName()),
                    qUtf8Printable(AppInfo::version()));
        return 0;
    case Action::Fail:
        std::fprintf(stderr, "aimwell: %s Try 'aimwell --help'.\n", qUtf8Printable(m_error));
        return 2;
    case Action::Run:
    case Action::Remind:
        break;
    }
    return 0;
}
