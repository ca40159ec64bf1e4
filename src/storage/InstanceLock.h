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

    explicit InstanceLock(const QString& appDir) : m_lock(appDir + QStringLiteral("/.aimwell.lock"))
    {
        // Stale only when its process is gone, never because of its age.
        m_lock.setStaleLockTime(0);
    }
    State acquire()
    {
        if (m_lock.tryLock(0))
            return State::Acquired;
        return m_lock.error() == QLockFile::LockFailedError ? State::HeldByOther
                                                            : State::Unavailable;
    }

private:
    QLockFile m_lock;
};
