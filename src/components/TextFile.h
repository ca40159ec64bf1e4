#pragma once

#include "components/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

// Whole-file text reading and writing. Files are written as UTF-8 with CR LF line ends;
// they are read as UTF-8, or as Windows-1252 when the bytes are not valid UTF-8 (files
// from the old Windows program), with CR LF or LF ending lines.
class TextFile
{
public:
    // Text as held in memory ("\n" between lines) from a file's bytes; a byte-order mark
    // names the encoding.
    static QString decode(const QByteArray& bytes)
    {
        const auto marked = QStringConverter::encodingForData(bytes);
        QString text = marked ? QStringDecoder(*marked, QStringConverter::Flag::Stateless)(bytes)
                              : decoderFor(bytes)(bytes);
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    // The decoder for a file's bytes without a byte-order mark: UTF-8, or Windows-1252 when
    // the bytes are not valid UTF-8. It decodes the pieces of the file one by one as well.
    static QStringDecoder decoderFor(QByteArrayView bytes);
    // File bytes for text held in memory: "\n" becomes CR LF, nothing is added at the end.
    static QByteArray encode(const QString& text);

    // Lines of text; CR LF and LF both end a line, and a final line end yields no empty
    // last line.
    static QStringList splitLines(const QString& text)
    {
        QStringList lines;
        forEachLine(text, [&](QStringView line) { lines.append(line.toString()); });
        return lines;
    }
    // The same lines, handed to fn one by one without copying them.
    template <typename Fn> static void forEachLine(QStringView text, Fn&& fn);

    // Replaces the file whole, all or nothing: the bytes go to a temporary file beside it,
    // which replaces the old one only once every byte reached the disk. A link is replaced,
    // never the file it points at.
    static Result save(const QString& path, const QString& text)
    {
        return saveBytes(path, encode(text));
    }
    // Private files (task lists, snapshots) are readable by their owner only; shared ones
    // (exports) get the permissions a new file of the user's would.
    enum class Access
    {
        Private,
        Shared
    };
    static Result saveBytes(const QString& path, const QByteArray& bytes,
                            Access access = Access::Private);

    // Renames a file aside, to the first free name beside it of stem, then stem-2, stem-3...
    // with suffix; never over another file. The new path.
    static Expected<QString> setAside(const QString& path, const QString& stem,
                                      const QString& suffix);

    static Expected<QByteArray> readBytes(const QString& path);
    static Expected<QString> load(const QString& path)
    {
        auto bytes = readBytes(path);
        if (!bytes.ok())
            return {{}, bytes.error};
        return {decode(bytes.value), {}};
    }
    static Expected<QStringList> loadLines(const QString& path)
    {
        auto text = load(path);
        if (!text.ok())
            return {{}, text.error};
        return {splitLines(text.value), {}};
    }
};

template <typename Fn> void TextFile::forEachLine(QStringView text, Fn&& fn)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(u'\n', start);
        const bool ended = end >= 0;
        if (!ended)
            end = size;
        qsizetype length = end - start;
        if (ended && length > 0 && text.at(end - 1) == u'\r')
            --length;
        fn(text.sliced(start, length));
        start = end + 1;
    }
}
