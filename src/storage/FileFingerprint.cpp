#include "storage/FileFingerprint.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

QDateTime FileFingerprint::modificationTime(const QString& path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime).toUTC();
}

FileFingerprint FileFingerprint::of(const QString& path)
{
    FileFingerprint print;
    const QFileInfo info(path);
    if (!info.exists())
        return print;
    print.m_state = State::Unreadable;
    print.m_size = info.size();
    print.m_modified = modificationTime(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return print;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return print;
    return read(path, bytes, print.m_modified);
}

FileFingerprint FileFingerprint::read(const QString& path, QByteArrayView bytes,
                                      const QDateTime& time)
{
    FileFingerprint print;
    if (!QFileInfo::exists(path))
        return print;
    print.m_state = State::Read;
    print.m_size = bytes.size();
    print.m_modified = time;
    // The length goes in too, so that trailing zero bytes are not lost in the seed.
    print.m_hash = qHashBits(bytes.data(), size_t(bytes.size()), quint64(bytes.size()));
    return print;
}
