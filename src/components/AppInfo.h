#pragma once

#include <QString>

namespace AppInfo {

inline QString productName()
{
    return QStringLiteral("Aimwell Pro");
}

inline QString version()
{
    return QStringLiteral("1.4");
}

// Product, version and one trailing blank.
inline QString windowTitle()
{
    return productName() + QStringLiteral(" v") + version() + u' ';
}

} // namespace AppInfo
