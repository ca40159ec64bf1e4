#pragma once

#include "components/RandomSource.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"

#include <QStringList>

// Stands in for the user: opens the project it was given and never saves changes, so a
// timed loop never stops at a window. Warnings are kept so that a run that went wrong is
// reported instead of timed.
class BenchPrompt : public Prompt
{
public:
    QString projectToOpen;
    QStringList warnings;

    Answer ask(QWidget*, const Message& message) override
    {
        if (message.icon == Message::Icon::Warning)
            warnings.append(message.text);
        return message.buttons == Message::Buttons::Ok ? Answer::Ok : Answer::No;
    }
    std::optional<QString> chooseProjectToOpen(QWidget*, const Workspace&) override
    {
        return projectToOpen;
    }
    std::optional<QString> chooseProjectToSave(QWidget*, const Workspace&) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseExportFile(QWidget*, const QString&, const QString&,
                                            const QString&) override
    {
        return std::nullopt;
    }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
};

class BenchFolderOpener : public FolderOpener
{
public:
    bool open(const QString&) override { return true; }
};

// Same keys on every run.
class CountingRandom : public RandomSource
{
public:
    quint32 bounded(quint32 bound) override { return bound == 0 ? 0 : m_next++ % (bound + 1); }

private:
    quint32 m_next = 1234;
};
