#pragma once

#include "app/Workspace.h"

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
};
