#pragma once

#include <QString>

// Shows a folder in the desktop's file browser without waiting for it.
class FolderOpener
{
public:
    virtual ~FolderOpener() = default;
    virtual bool open(const QString& folder) = 0;
};

class DesktopFolderOpener : public FolderOpener
{
public:
    bool open(const QString& folder) override;
};
