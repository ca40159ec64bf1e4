#include "components/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
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

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
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
    if (text.contains(u'\r'))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QByteArray TextFile::encode(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains('\n'))
        return bytes;
    QByteArray out;
    out.reserve(bytes.size() + bytes.count('\n'));
    char previous = 0;
    for (const char c : bytes) {
        if (c == '\n' && previous != '\r')
            out.append('\r');
        out.append(c);
        previous = c;
    }
    return out;
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

Result TextFile::saveBytes(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(path);
    if (target.isDir())
        return Result::failure(QStringLiteral("a folder of that name is in the way"));
    QTemporaryFile temp(target.absolutePath() + u'/' + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    temp.setAutoRemove(true);
    if (!temp.open())
        return Result::failure(temp.errorString());
    if (temp.write(bytes) != bytes.size() || !temp.flush()) {
        const QString why = temp.errorString();
        return Result::failure(why);
    }
    const QString tempName = temp.fileName();
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        return Result::failure(temp.errorString());
    if (std::rename(QFile::encodeName(tempName).constData(), QFile::encodeName(path).constData()) !=
        0)
        return Result::failure(errnoText());
    temp.setAutoRemove(false);
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
