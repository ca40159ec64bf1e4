#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QStringView>

#include <algorithm>
#include <cstring>

// Markdown text built as UTF-8 in one buffer with room for the worst case (three bytes a
// UTF-16 unit, or a backslash and an ASCII character). Encoding and escaping happen in the
// same pass over the text: a QString built first, or an encoder called for each plain
// stretch, took longer than the escaping itself.
class MarkdownText
{
public:
    // Room for this many UTF-16 units of text, escaped, plus some markup.
    static constexpr qsizetype roomFor(qsizetype units) { return 3 * units + 64; }

    explicit MarkdownText(qsizetype units) : m_bytes(roomFor(units), Qt::Uninitialized) {}

    // Makes room for the given number of units before they are written.
    void reserve(qsizetype units) { reserveBytes(roomFor(units)); }
    qsizetype size() const { return m_at - m_bytes.constData(); }

    // Leaves a gap of the given size, to be filled by fill() once its text is known.
    qsizetype skip(qsizetype bytes);
    // Writes the bytes into a gap and closes what is left of it, or widens it.
    void fill(qsizetype gapAt, qsizetype gapSize, QByteArrayView bytes);

    // Text as it is, and markup.
    MarkdownText& operator+=(QStringView text)
    {
        const char16_t* chars = text.utf16();
        for (qsizetype i = 0, n = text.size(); i < n; ++i)
            i = put(chars, i, n);
        return *this;
    }
    MarkdownText& operator+=(QLatin1StringView ascii)
    {
        std::memcpy(m_at, ascii.data(), size_t(ascii.size()));
        m_at += ascii.size();
        return *this;
    }
    MarkdownText& operator+=(char c)
    {
        *m_at++ = c;
        return *this;
    }

    // Text that reads back literally. inLine: the text follows other text on its line, so
    // nothing in it can start a block.
    void appendEscaped(QStringView text, bool inLine = false);

    QByteArray take()
    {
        m_bytes.truncate(size());
        return std::move(m_bytes);
    }

private:
    void reserveBytes(qsizetype need)
    {
        const qsizetype used = size();
        if (m_bytes.size() - used >= need)
            return;
        m_bytes.resize(std::max(used + need, 2 * m_bytes.size()));
        m_at = m_bytes.data() + used;
    }
    // Copies the run of characters from i that need neither escaping nor more than one
    // byte, and returns where it ends. Most of every task line is such a run, so it is
    // looked at sixteen characters at a time where the processor allows.
    qsizetype putPlain(const char16_t* chars, qsizetype i, qsizetype n);
    // Writes the character at i and returns the index of its last unit (a surrogate pair
    // takes two). A lone surrogate becomes U+FFFD, as Qt's own encoder writes it.
    qsizetype put(const char16_t* chars, qsizetype i, qsizetype n)
    {
        const char32_t c = chars[i];
        if (c < 0x80) {
            *m_at++ = char(c);
            return i;
        }
        return putWide(chars, i, n);
    }
    qsizetype putWide(const char16_t* chars, qsizetype i, qsizetype n);

    QByteArray m_bytes;
    char* m_at = m_bytes.data();
};
