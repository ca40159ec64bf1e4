#pragma once

#include <QString>

namespace AppInfo {

inline QString productName()
{
    return QStringLiteral("Aimwell Pro");
}

// Product, " Pro ", version and one trailing blank.
inline QString windowTitle()
{
    return QStringLiteral("Aimwell") + QStringLiteral(" Pro ") + QStringLiteral("v1.4") +
           QStringLiteral(" ");
}

} // namespace AppInfo
