#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <array>

// What a file was when we last read or wrote it: whether it is there, its size, its
// modification time and a hash of its bytes. Equal fingerprints mean the file was not
// changed in between; the hash catches a writer that kept the size and the time.
//
// The hash is Qt's 64-bit qHashBits chained over fixed blocks: a project can be tens of MB
// and is hashed on every change notice, and SHA-256 was forty times slower. It is stable
// within one run of the program, which is all a fingerprint is compared across.
class FileFingerprint
{
public:
    enum class State
    {
        Missing,
        Unreadable,
        Read
    };

    // Fed the bytes in any pieces; the result depends on the bytes alone.
    class Hasher
    {
    public:
        static constexpr qsizetype Block = 64 * 1024;

        void add(QByteArrayView bytes);
        quint64 result() const;
        qint64 size() const { return m_size; }

    private:
        std::array<char, Block> m_block{};
        qsizetype m_fill = 0;
        quint64 m_hash = 0;
        qint64 m_size = 0;
    };

    FileFingerprint() = default; // missing

    static FileFingerprint of(const QString& path);
    // A file just read whole: its bytes need not be read again. The time is taken before
    // the bytes, so a change made while they were read still shows.
    static FileFingerprint read(const QString& path, QByteArrayView bytes, const QDateTime& time);
    // A file we have just written: the hash of the bytes that went out and the time the
    // file has now. of(path) compares equal as long as nobody else wrote it since.
    static FileFingerprint written(const QString& path, const Hasher& hasher);

    State state() const { return m_state; }
    bool exists() const { return m_state != State::Missing; }
    qint64 size() const { return m_size; }
    const QDateTime& modified() const { return m_modified; }
    quint64 hash() const { return m_hash; }

    bool operator==(const FileFingerprint&) const = default;

private:
    State m_state = State::Missing;
    qint64 m_size = 0;
    QDateTime m_modified;
    quint64 m_hash = 0;
};
