#include "storage/FileFingerprint.h"

#include <QFile>
#include <QHash>
#include <QStringList>

using namespace Qt::StringLiterals;

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

QString FileFingerprint::toText() const
{
    if (!exists())
        return {};
    return u"%1 %2 %3 %4"_s.arg(m_state == State::Read ? u"read"_s : u"unreadable"_s)
        .arg(m_size)
        .arg(m_modified.toMSecsSinceEpoch())
        .arg(m_hash, 0, 16);
}

FileFingerprint FileFingerprint::fromText(const QString& text)
{
    const QStringList parts = text.split(u' ');
    if (parts.size() != 4 || (parts[0] != u"read"_s && parts[0] != u"unreadable"_s))
        return {};
    bool size = false, time = false, hash = false;
    FileFingerprint print;
    print.m_state = parts[0] == u"read"_s ? State::Read : State::Unreadable;
    print.m_size = parts[1].toLongLong(&size);
    print.m_modified = QDateTime::fromMSecsSinceEpoch(parts[2].toLongLong(&time), Qt::UTC);
    print.m_hash = parts[3].toULongLong(&hash, 16);
    return size && time && hash ? print : FileFingerprint();
}
