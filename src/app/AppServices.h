#pragma once

#include "components/Clock.h"
#include "storage/Workspace.h"

class FolderOpener;
class Prompt;
class RandomSource;

// What the windows need from outside; tests hand in fakes and a temporary folder.
struct AppServices
{
    Workspace workspace;
    Prompt* prompt = nullptr;
    FolderOpener* folderOpener = nullptr;
    RandomSource* random = nullptr;
    const Clock* clock = &Clock::system();
    // Where the choices are kept; empty: aimwell.ini in the data folder.
    QString settingsFile = {};

    QString settingsPath() const
    {
        return settingsFile.isEmpty() ? workspace.dataFolder() + QStringLiteral("/aimwell.ini")
                                      : settingsFile;
    }
};
