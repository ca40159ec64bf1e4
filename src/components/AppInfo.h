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

// Product, " Pro ", version and one trailing blank.
inline QString windowTitle()
{
    return QStringLiteral("Aimwell") + QStringLiteral(" Pro ") + QStringLiteral("v") + version() +
           QStringLiteral(" ");
}

} // namespace AppInfo
