#include "storage/FileNameRules.h"

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
    return Verdict::Ok;
}
