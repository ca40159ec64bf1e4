#pragma once

#include <QLockFile>
#include <QString>

// One running copy per application folder: every copy shares tmp, and a second start
// would empty the first one's task files.
class InstanceLock
{
public:
    enum class State
    {
        Acquired,
        HeldByOther,
        Unavailable
    };

    explicit InstanceLock(const QString& appDir);
    State acquire();

private:
    QLockFile m_lock;
};
