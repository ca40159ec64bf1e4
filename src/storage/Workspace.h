#pragma once

#include "components/Result.h"

#include <QString>

// Where the program keeps its files. Portable: everything in one folder beside the
// program. Installed: the pictures in the shared data folder, everything the user makes
// in the user's data folder.
class Workspace
{
public:
    // Without an images folder, the portable layout: data and pictures (imgs) in one folder.
    explicit Workspace(QString dataFolder, QString imagesFolder = {});

    // Portable when imgs sits beside the program; otherwise the pictures come from
    // shareDir/imgs and the rest goes to userDataDir.
    static Workspace forProgram(const QString& appDir, const QString& userDataDir,
                                const QString& shareDir);

    const QString& dataFolder() const { return m_dataFolder; }
    QString tmpFolder() const { return m_dataFolder + QStringLiteral("/tmp"); }
    QString taskFilePath(const QString& key) const
    {
        return tmpFolder() + u'/' + key + QStringLiteral(".txt");
    }
    QString projectsFolder() const { return m_dataFolder + QStringLiteral("/projects"); }
    QString projectPath(const QString& fileName) const
    {
        return projectsFolder() + u'/' + fileName;
    }
    QString imagePath(const QString& fileName) const { return m_imagesFolder + u'/' + fileName; }
    QString recoveryFolder() const { return m_dataFolder + QStringLiteral("/recovery"); }

    // Creates the data and tmp folders and checks that they can be written and that the
    // pictures are there: the program cannot run without them. The error names the folder.
    Result prepareFolders() const;
    // The same for the projects folder. Without it the program still runs; only saving
    // there fails.
    Result prepareProjectsFolder() const;

    // Creates tmp, or empties it of the files an earlier run left: only entries directly
    // inside it, never sub-folders or names starting with ".", and never through a link.
    // Failures are ignored: the main window opens all the same.
    void prepareTmp() const;

    static Result ensureFolder(const QString& path);

private:
    QString m_dataFolder;
    QString m_imagesFolder;
};
