#include "storage/InstanceLock.h"

InstanceLock::InstanceLock(const QString& appDir)
    : m_lock(appDir + QStringLiteral("/.aimwell.lock"))
{
    // Stale only when its process is gone, never because of its age.
    m_lock.setStaleLockTime(0);
}

InstanceLock::State InstanceLock::acquire()
{
    if (m_lock.tryLock(0))
        return State::Acquired;
    return m_lock.error() == QLockFile::LockFailedError ? State::HeldByOther : State::Unavailable;
}
