#include "storage/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

} // namespace

Workspace::Workspace(QString dataFolder, QString imagesFolder)
    : m_dataFolder(withoutTrailingSlash(std::move(dataFolder))),
      m_imagesFolder(imagesFolder.isEmpty() ? m_dataFolder + QStringLiteral("/imgs")
                                            : withoutTrailingSlash(std::move(imagesFolder)))
{
}

Workspace Workspace::forProgram(const QString& appDir, const QString& userDataDir,
                                const QString& shareDir)
{
    const Workspace portable(appDir);
    if (QFileInfo(portable.m_imagesFolder).isDir())
        return portable;
    return Workspace(userDataDir, withoutTrailingSlash(shareDir) + QStringLiteral("/imgs"));
}

namespace {

Result prepareFolder(const QString& folder)
{
    const Result made = Workspace::ensureFolder(folder);
    if (!made.ok())
        return Result::failure(QStringLiteral("\"%1\": %2").arg(folder, made.error));
    if (!QFileInfo(folder).isWritable())
        return Result::failure(
            QStringLiteral("\"%1\": the folder cannot be written to").arg(folder));
    return Result::success();
}

} // namespace

Result Workspace::prepareFolders() const
{
    // An empty data folder would put everything at the root of the file system.
    if (m_dataFolder.isEmpty())
        return Result::failure(QStringLiteral("no folder for user data is known (is HOME set?)"));
    for (const QString& folder : {m_dataFolder, tmpFolder()}) {
        if (const Result prepared = prepareFolder(folder); !prepared.ok())
            return prepared;
    }
    if (!QFileInfo(m_imagesFolder).isDir())
        return Result::failure(
            QStringLiteral("\"%1\": the status pictures are missing").arg(m_imagesFolder));
    return Result::success();
}

Result Workspace::prepareProjectsFolder() const
{
    return prepareFolder(projectsFolder());
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
