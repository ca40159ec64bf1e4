#include "storage/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

Workspace::Workspace(QString appDir) : m_appDir(std::move(appDir))
{
    while (m_appDir.size() > 1 && m_appDir.endsWith(u'/'))
        m_appDir.chop(1);
}

QString Workspace::tmpFolder() const
{
    return m_appDir + QStringLiteral("/tmp");
}

QString Workspace::taskFilePath(const QString& key) const
{
    return tmpFolder() + u'/' + key + QStringLiteral(".txt");
}

QString Workspace::projectsFolder() const
{
    return m_appDir + QStringLiteral("/projects");
}

QString Workspace::projectPath(const QString& fileName) const
{
    return projectsFolder() + u'/' + fileName;
}

QString Workspace::imagePath(const QString& fileName) const
{
    return m_appDir + QStringLiteral("/imgs/") + fileName;
}

void Workspace::prepareTmp() const
{
    const QString tmp = tmpFolder();
    const QFileInfo info(tmp);
    if (info.isSymLink())
        return;
    if (!info.exists()) {
        QDir().mkpath(tmp);
        return;
    }
    if (!info.isDir())
        return;
    const QDir dir(tmp);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || entry.isFile())
            QFile::remove(entry.absoluteFilePath());
    }
}

Result Workspace::ensureFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return Result::success();
    if (info.exists())
        return Result::failure(QStringLiteral("a file of that name is in the way"));
    if (!QDir().mkpath(path))
        return Result::failure(QStringLiteral("the folder could not be created"));
    return Result::success();
}
