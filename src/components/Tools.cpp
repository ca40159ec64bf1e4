#include "components/Tools.h"

#include "components/RandomSource.h"

#include <QFileInfo>

bool Tools::fileExists(const QString& path, bool folder)
{
    const QFileInfo info(path);
    return folder ? info.isDir() : (info.exists() && !info.isDir());
}

QStringList Tools::splitToList(const QString& text, const QString& delimiter, const QString& filter)
{
    QStringList pieces;
    if (text.isEmpty())
        return pieces;
    QStringView rest(text);
    if (!delimiter.isEmpty() && rest.endsWith(delimiter))
        rest.chop(delimiter.size());
    const auto all = delimiter.isEmpty() ? QList<QStringView>{rest} : rest.split(delimiter);
    for (QStringView piece : all) {
        if (filter.isEmpty() || piece.contains(filter))
            pieces.append(piece.toString());
    }
    return pieces;
}

int Tools::randomNumber(int bound, RandomSource& source)
{
    return bound <= 0 ? 0 : static_cast<int>(source.bounded(static_cast<quint32>(bound)));
}
