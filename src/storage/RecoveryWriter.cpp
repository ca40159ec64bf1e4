#include "storage/RecoveryWriter.h"

#include <algorithm>

RecoveryWriter::RecoveryWriter(QString path, Source source, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_source(std::move(source))
{
    m_timer.setSingleShot(true);
    // A coarse timer may fire 5% late; the interval is what the kill test holds us to.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { writeNow(); });
}

void RecoveryWriter::setTiming(std::chrono::milliseconds interval,
                               std::chrono::milliseconds maxDelay)
{
    m_interval = interval;
    m_maxDelay = std::max(interval, maxDelay);
}

void RecoveryWriter::touch()
{
    if (!m_pending) {
        m_pending = true;
        m_deadline.setRemainingTime(m_maxDelay, Qt::PreciseTimer);
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline.remainingTimeAsDuration());
    m_timer.start(std::clamp(left, std::chrono::milliseconds(0), m_interval));
}

Result RecoveryWriter::writeNow()
{
    m_timer.stop();
    m_pending = false;
    const std::optional<RecoverySnapshot> snapshot = m_source();
    const Result result =
        snapshot ? RecoveryFile::write(m_path, *snapshot) : RecoveryFile::remove(m_path);
    if (!result.ok()) {
        if (!m_failing)
            emit writeFailed(result.error);
        m_failing = true;
        return result;
    }
    m_failing = false;
    if (snapshot)
        emit snapshotWritten();
    return result;
}
