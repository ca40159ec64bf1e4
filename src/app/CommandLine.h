#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. It is read before any window exists, so that --help
// and --version work without a display.
class CommandLine
{
public:
    enum class Action
    {
        Run,
        Remind,
        ShowHelp,
        ShowVersion,
        Fail
    };

    // Arguments as in argv, the program first. A relative project path is taken from
    // currentDir, so that it still names the same file when handed to another copy.
    static CommandLine parse(const QStringList& arguments, const QString& currentDir);

    Action action() const { return m_action; }
    // Absolute; empty when no project was given.
    const QString& projectFile() const { return m_projectFile; }

    // Prints the help, the version or the error and returns the exit status.
    int report() const;

private:
    Action m_action = Action::Run;
    QString m_projectFile;
    QString m_error;
};
