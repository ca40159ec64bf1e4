#include "storage/ProjectFileWatcher.h"

ProjectFileWatcher::ProjectFileWatcher(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, &ProjectFileWatcher::check);
}

void ProjectFileWatcher::watch(const QString& path, const FileFingerprint& known)
{
    m_settle.stop();
    m_path = path;
    m_known = known;
    m_reported = known;
    if (path.isEmpty()) {
        m_watcher.reset();
        return;
    }
    m_watcher = std::make_unique<QFileSystemWatcher>();
    const auto notice = [this] { m_settle.start(); };
    connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, this, notice);
    connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, this, notice);
    m_watcher->addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path))
        m_watcher->addPath(path);
}

void ProjectFileWatcher::check()
{
    if (m_path.isEmpty())
        return;
    if (QFileInfo::exists(m_path) && !m_watcher->files().contains(m_path))
        m_watcher->addPath(m_path);
    const FileFingerprint now = FileFingerprint::of(m_path);
    // A folder notice comes for any file in it, and a change asked about is not news.
    if (now == m_known || now == m_reported)
        return;
    m_reported = now;
    emit changed(m_path, now);
}
