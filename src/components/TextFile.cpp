#include "components/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;

QStringDecoder TextFile::decoderFor(QByteArrayView bytes)
{
    // Stateless: a sequence cut short at the end of the bytes is an error, not left pending.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString ignored = utf8(bytes);
    if (!utf8.hasError())
        return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QStringDecoder windows1252("windows-1252");
    return windows1252.isValid() ? std::move(windows1252)
                                 : QStringDecoder(QStringConverter::Latin1);
}

QByteArray TextFile::encode(const QString& text)
{
    // A key release writes the whole list: block copies keep it within the "typed key" row,
    // which appending line by line with Qt's calls did not.
    const QByteArray bytes = text.toUtf8();
    QByteArray out(2 * bytes.size(), Qt::Uninitialized); // room for a CR before every byte
    char* to = out.data();
    const char* from = bytes.constData();
    const char* const end = from + bytes.size();
    for (const char* lf;
         (lf = static_cast<const char*>(std::memchr(from, '\n', size_t(end - from))));
         from = lf + 1) {
        to = std::copy(from, lf, to);
        if (lf == bytes.constData() || lf[-1] != '\r') // a CR already there stays single
            *to++ = '\r';
        *to++ = '\n';
    }
    to = std::copy(from, end, to);
    out.truncate(to - out.constData());
    return out;
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

Expected<QString> TextFile::setAside(const QString& path, const QString& stem,
                                     const QString& suffix)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {{}, QStringLiteral("the file does not exist")};
    QFile file(path);
    for (int n = 1; n <= 1000; ++n) {
        const QString target =
            info.dir().filePath(stem + (n > 1 ? u'-' + QString::number(n) : QString()) + suffix);
        // rename() never replaces an existing file; a name taken meanwhile just tries the next.
        if (QFileInfo::exists(target))
            continue;
        if (file.rename(target))
            return {target, {}};
        if (QFileInfo::exists(target))
            continue;
        return {{}, file.errorString()};
    }
    return {{}, QStringLiteral("every dated name for it is taken")};
}
