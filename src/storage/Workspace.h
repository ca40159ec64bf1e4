#pragma once

#include "components/Result.h"

#include <QString>

// The folders beside the program and the paths built from them.
class Workspace
{
public:
    explicit Workspace(QString appDir);

    const QString& appDir() const { return m_appDir; }
    QString tmpFolder() const;
    QString taskFilePath(const QString& key) const;
    QString projectsFolder() const;
    QString projectPath(const QString& fileName) const;
    QString imagePath(const QString& fileName) const;

    // Creates tmp, or empties it of the files an earlier run left: only entries directly
    // inside it, never sub-folders or names starting with ".", and never through a link.
    // Failures are ignored: the main window opens all the same.
    void prepareTmp() const;

    static Result ensureFolder(const QString& path);

private:
    QString m_appDir;
};
