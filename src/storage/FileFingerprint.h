#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QFileInfo>
#include <QString>

// What a file was when we last read or wrote it: whether it is there, its size, its
// modification time and a hash of its bytes. Equal fingerprints mean the file was not
// changed in between; the hash catches a writer that kept the size and the time.
//
// The hash is Qt's 64-bit qHashBits with a fixed seed, the same in every run.
class FileFingerprint
{
public:
    FileFingerprint() = default; // missing

    static FileFingerprint of(const QString& path);
    // A file just read or written whole: its bytes need not be read again. For a read, the
    // time is taken before the bytes, so a change made while they were read still shows.
    static FileFingerprint read(const QString& path, QByteArrayView bytes, const QDateTime& time);
    static QDateTime modificationTime(const QString& path)
    {
        return QFileInfo(path).fileTime(QFileDevice::FileModificationTime).toUTC();
    }
    // One line to keep it in a file; an empty or unreadable text is a missing file.
    QString toText() const;
    static FileFingerprint fromText(const QString& text);

    bool exists() const { return m_state != State::Missing; }
    const QDateTime& modified() const { return m_modified; }

    bool operator==(const FileFingerprint&) const = default;

private:
    enum class State
    {
        Missing,
        Unreadable,
        Read
    };
    State m_state = State::Missing;
    qint64 m_size = 0;
    QDateTime m_modified;
    quint64 m_hash = 0;
};
