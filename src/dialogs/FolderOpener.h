#pragma once

#include <QDesktopServices>
#include <QString>
#include <QUrl>

class Prompt;
class QWidget;

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
    bool open(const QString& folder) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    }
};

// Makes the projects folder when it is missing and shows it; tells the user what failed.
void showProjectsFolder(const QString& folder, FolderOpener& opener, Prompt& prompt,
                        QWidget* parent);
