#include "storage/TaskStore.h"

#include "components/TextFile.h"
#include "storage/Workspace.h"

TaskStore::TaskStore(QString folder) : m_folder(std::move(folder)) {}

Expected<QString> TaskStore::load(const QString& key)
{
    const auto unwritten = m_unwritten.constFind(key);
    if (unwritten != m_unwritten.cend())
        return {*unwritten, {}};
    Workspace::ensureFolder(m_folder);
    const QString file = path(key);
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
        return TextFile::load(file);
    const Result made = save(key, QString());
    return {QString(), made.error};
}

Result TaskStore::save(const QString& key, const QString& text)
{
    Workspace::ensureFolder(m_folder);
    const Result written = TextFile::save(path(key), text);
    if (written.ok())
        m_unwritten.remove(key);
    else
        m_unwritten.insert(key, text);
    return written;
}

Expected<QStringList> TaskStore::lines(const QString& key) const
{
    const auto unwritten = m_unwritten.constFind(key);
    if (unwritten != m_unwritten.cend())
        return {TextFile::splitLines(*unwritten), {}};
    const QString file = path(key);
    if (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink())
        return {};
    return TextFile::loadLines(file);
}
