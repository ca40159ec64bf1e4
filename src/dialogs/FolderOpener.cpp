#include "dialogs/FolderOpener.h"

#include "dialogs/Prompt.h"
#include "storage/Workspace.h"

void showProjectsFolder(const QString& folder, FolderOpener& opener, Prompt& prompt,
                        QWidget* parent)
{
    const Result made = Workspace::ensureFolder(folder);
    if (!made.ok()) {
        prompt.warn(parent,
                    QStringLiteral("The projects folder \"%1\" could not be created: %2.")
                        .arg(folder, made.error),
                    QStringLiteral("Projects Folder"));
        return;
    }
    if (!opener.open(folder)) {
        prompt.warn(parent,
                    QStringLiteral(
                        "The projects folder \"%1\" could not be shown: no file browser answered.")
                        .arg(folder),
                    QStringLiteral("Projects Folder"));
    }
}
