#include "storage/FileNameRules.h"

#include <QFile>

namespace {

// The longest file name common file systems hold, in bytes, with the ".gpj" added.
constexpr qsizetype MaxFileNameBytes = 255;

} // namespace

FileNameRules::Verdict FileNameRules::check(const QString& name)
{
    if (name.isEmpty())
        return Verdict::Empty;
    // The old program's eight characters, plus the path separator (it would put the file
    // outside the projects folder) and control characters.
    static const QString rejected = QStringLiteral(" .;'?@\"$/");
    for (const QChar c : name) {
        if (rejected.contains(c) || c.unicode() < 32 || c.unicode() == 127)
            return Verdict::Invalid;
    }
    if (QFile::encodeName(name + QStringLiteral(".gpj")).size() > MaxFileNameBytes)
        return Verdict::TooLong;
    return Verdict::Ok;
}

QString FileNameRules::exportName(const QString& projectName)
{
    static const QString rejected = QStringLiteral("\\/:*?\"<>|");
    QString name = projectName;
    for (QChar& c : name) {
        if (rejected.contains(c) || c.unicode() < 32 || c.unicode() == 127)
            c = u'_';
    }
    // A leading dot hides the file; trailing dots and blanks are dropped by some systems.
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Project") : name;
}
