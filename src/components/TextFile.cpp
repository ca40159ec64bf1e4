#include "components/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cstring>

namespace {

QString decodeAs(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder(bytes);
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder(bytes);
}

} // namespace

QString TextFile::decode(const QByteArray& bytes)
{
    QByteArrayView view(bytes);
    QString text;
    if (view.startsWith("\xEF\xBB\xBF")) {
        text = decodeAs(QStringConverter::Utf8, view.sliced(3));
    } else if (view.startsWith("\xFF\xFE")) {
        text = decodeAs(QStringConverter::Utf16LE, view.sliced(2));
    } else if (view.startsWith("\xFE\xFF")) {
        text = decodeAs(QStringConverter::Utf16BE, view.sliced(2));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8(view);
        if (utf8.hasError())
            text = decodeWindows1252(view);
    }
    // CR LF becomes "\n" in one pass over the text.
    if (text.contains(u'\r')) {
        QChar* out = text.data();
        const QChar* in = out;
        const QChar* const end = in + text.size();
        for (; in < end; ++in) {
            if (*in == u'\r' && in + 1 < end && in[1] == u'\n')
                continue;
            *out++ = *in;
        }
        text.truncate(out - text.constData());
    }
    return text;
}

QByteArray TextFile::encode(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const qsizetype lineEnds = countLineFeeds(bytes);
    if (lineEnds == 0)
        return bytes;
    // Copy whole runs between line ends; byte by byte is too slow for long lists.
    QByteArray out(bytes.size() + lineEnds, Qt::Uninitialized);
    char* to = out.data();
    const char* from = bytes.constData();
    const char* const end = from + bytes.size();
    while (from < end) {
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', size_t(end - from)));
        if (!lf) {
            std::memcpy(to, from, size_t(end - from));
            to += end - from;
            break;
        }
        std::memcpy(to, from, size_t(lf - from));
        to += lf - from;
        if (lf == bytes.constData() || lf[-1] != '\r')
            *to++ = '\r';
        *to++ = '\n';
        from = lf + 1;
    }
    out.truncate(to - out.constData());
    return out;
}

qsizetype TextFile::countLineFeeds(QByteArrayView bytes)
{
    qsizetype n = 0;
    if (bytes.isEmpty()) // an empty view may have no data at all, and memchr wants some
        return n;
    const char* const end = bytes.data() + bytes.size();
    for (const char* p = bytes.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++n;
    return n;
}

QStringList TextFile::splitLines(const QString& text)
{
    QStringList lines;
    forEachLine(text, [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}

Result TextFile::save(const QString& path, const QString& text)
{
    return saveBytes(path, encode(text));
}

Result TextFile::saveBytes(const QString& path, const QByteArray& bytes, Access access)
{
    const QFileInfo target(path);
    if (target.isDir())
        return Result::failure(QStringLiteral("a folder of that name is in the way"));
    // QSaveFile would write through a link to wherever it points; the link goes instead.
    if (target.isSymLink())
        QFile::remove(path);
    QSaveFile file(path);
    // Unbuffered, so that every failed write shows at once: commit() would not report a
    // failure of its own final flush and would then replace the good file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Result::failure(file.errorString());
    if (access == Access::Private)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Result::failure(why);
    }
    if (!file.commit())
        return Result::failure(file.errorString());
    return Result::success();
}

Expected<QByteArray> TextFile::readBytes(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isDir())
        return {{}, QStringLiteral("it is a folder, not a file")};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return {std::move(bytes), {}};
}

Expected<QString> TextFile::load(const QString& path)
{
    auto bytes = readBytes(path);
    if (!bytes.ok())
        return {{}, bytes.error};
    return {decode(bytes.value), {}};
}

Expected<QStringList> TextFile::loadLines(const QString& path)
{
    auto text = load(path);
    if (!text.ok())
        return {{}, text.error};
    return {splitLines(text.value), {}};
}
