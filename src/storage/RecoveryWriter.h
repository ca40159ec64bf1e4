#pragma once

#include "components/Result.h"
#include "storage/RecoveryFile.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

// Keeps the recovery file up to date while a project has unsaved changes. Each edit calls
// touch(); the snapshot is written once edits pause for the interval, but never later than
// maxDelay after the first edit it does not hold yet, so steady typing is not left out.
// Writing happens on the timer, never inside touch(), which runs on every key release.
class RecoveryWriter : public QObject
{
    Q_OBJECT

public:
    // The project as it is now, or nothing when it has no unsaved changes.
    using Source = std::function<std::optional<RecoverySnapshot>()>;

    static constexpr std::chrono::milliseconds DefaultInterval{1000};

    RecoveryWriter(QString path, Source source, QObject* parent = nullptr);

    void setTiming(std::chrono::milliseconds interval, std::chrono::milliseconds maxDelay);
    const QString& path() const { return m_path; }
    // An edit is waiting to be written.
    bool isPending() const { return m_pending; }

    void touch();
    // Writes now when an edit is waiting.
    Result flush() { return m_pending ? writeNow() : Result::success(); }
    // Nothing is unsaved any more (saved, New, a normal exit): cancels the pending write and
    // removes the file.
    Result discard()
    {
        m_timer.stop();
        m_pending = false;
        return RecoveryFile::remove(m_path);
    }

signals:
    // The first failure after a success (or after the start), so the window tells it once.
    void writeFailed(const QString& error);
    void snapshotWritten();

private:
    Result writeNow();

    QString m_path;
    Source m_source;
    QTimer m_timer;
    std::chrono::milliseconds m_interval = DefaultInterval;
    std::chrono::milliseconds m_maxDelay = DefaultInterval;
    QDeadlineTimer m_deadline;
    bool m_pending = false;
    bool m_failing = false;
};
