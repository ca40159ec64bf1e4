#include "storage/FileFingerprint.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cstring>

namespace {

QDateTime modificationTime(const QFileInfo& info)
{
    return info.fileTime(QFileDevice::FileModificationTime).toUTC();
}

} // namespace

void FileFingerprint::Hasher::add(QByteArrayView bytes)
{
    m_size += bytes.size();
    while (!bytes.isEmpty()) {
        if (m_fill == 0 && bytes.size() >= Block) {
            m_hash = qHashBits(bytes.data(), Block, m_hash);
            bytes = bytes.sliced(Block);
            continue;
        }
        const qsizetype take = std::min(Block - m_fill, bytes.size());
        std::memcpy(m_block.data() + m_fill, bytes.data(), size_t(take));
        m_fill += take;
        bytes = bytes.sliced(take);
        if (m_fill == Block) {
            m_hash = qHashBits(m_block.data(), Block, m_hash);
            m_fill = 0;
        }
    }
}

quint64 FileFingerprint::Hasher::result() const
{
    // The length goes in too, so that trailing zero bytes are not lost in the seed.
    return qHashBits(m_block.data(), size_t(m_fill), m_hash ^ quint64(m_size));
}

FileFingerprint FileFingerprint::of(const QString& path)
{
    FileFingerprint print;
    const QFileInfo info(path);
    if (!info.exists())
        return print;
    print.m_state = State::Unreadable;
    print.m_size = info.size();
    print.m_modified = modificationTime(info);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return print;
    Hasher hasher;
    QByteArray chunk(16 * Hasher::Block, Qt::Uninitialized);
    qint64 got = 0;
    while ((got = file.read(chunk.data(), chunk.size())) > 0)
        hasher.add(QByteArrayView(chunk.constData(), got));
    if (got == 0) {
        print.m_state = State::Read;
        print.m_size = hasher.size();
        print.m_hash = hasher.result();
    }
    return print;
}

FileFingerprint FileFingerprint::written(const QString& path, const Hasher& hasher)
{
    FileFingerprint print;
    const QFileInfo info(path);
    if (!info.exists())
        return print;
    print.m_state = State::Read;
    print.m_size = hasher.size();
    print.m_modified = modificationTime(info);
    print.m_hash = hasher.result();
    return print;
}

FileFingerprint FileFingerprint::read(const QString& path, QByteArrayView bytes,
                                      const QDateTime& time)
{
    Hasher hasher;
    hasher.add(bytes);
    FileFingerprint print = written(path, hasher);
    print.m_modified = time;
    return print;
}
