#include "model/ProgressHistory.h"

#include "model/TaskCounts.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

ProgressHistory::ProgressHistory(QObject* parent) : QObject(parent) {}

ProgressHistory::Known ProgressHistory::knownOf(const QString& path)
{
    const QFileInfo info(path);
    return {path, info.exists() ? info.size() : -1, info.lastModified()};
}

bool ProgressHistory::setAside(const QString& path, const QString& why, QString& note)
{
    const Expected<QString> aside = HistoryFile::setAside(path, QDateTime::currentDateTime());
    if (!aside.ok()) {
        note = u"The progress history %1 cannot be read (%2) and could not be set aside: %3. "
               u"It is left as it is."_s.arg(path, why, aside.error);
        return false;
    }
    note = u"The progress history %1 cannot be read (%2); it was kept as %3 and a new one "
           u"begins."_s.arg(path, why, aside.value);
    return true;
}

QString ProgressHistory::open(const QString& projectFile)
{
    waitForWrites(); // a file being written is read as written
    m_rows.clear();
    m_known = {};
    QString note;
    const QString path = HistoryFile::pathFor(projectFile);
    if (!projectFile.isEmpty() && QFileInfo::exists(path)) {
        Expected<QList<HistoryRow>> read = HistoryFile::read(path);
        if (read.ok()) {
            m_rows = std::move(read.value);
            m_known = knownOf(path);
        } else {
            setAside(path, read.error, note);
        }
    }
    emit changed();
    return note;
}

void ProgressHistory::clear()
{
    m_rows.clear();
    m_known = {};
    emit changed();
}

QString ProgressHistory::record(const QString& projectFile, const ProjectData& saved, QDate today)
{
    const QString path = HistoryFile::pathFor(projectFile);
    QString note;
    const Known now = knownOf(path);
    // Only a file changed since we read or wrote it is read again; while our own write is
    // under way, the file is ours.
    const bool ours =
        path == m_known.path &&
        (m_pending > 0 || (now.size == m_known.size && now.modified == m_known.modified));
    if (now.size >= 0 && !ours) {
        Expected<QList<HistoryRow>> read = HistoryFile::read(path);
        if (!read.ok() && !setAside(path, read.error, note))
            return note; // never written over
        if (read.ok() && path == m_known.path)
            m_rows = std::move(read.value); // another copy of the program saved meanwhile
    }
    QList<HistoryRow> day;
    for (const SubGoalRecord& goal : saved.goals) {
        const TaskCounts counts = TaskCounts::ofLines(goal.tasks);
        day.append({today, goal.key, goal.name, counts.total, counts.completed});
    }
    m_rows = HistoryFile::withDay(std::move(m_rows), today, day);
    m_known = {path, -1, {}};
    ++m_pending;
    if (!m_writer) {
        m_writer = std::make_unique<QThreadPool>();
        m_writer->setMaxThreadCount(1);
    }
    m_writer->start([this, path, rows = m_rows] {
        const QString error = HistoryFile::write(path, rows).error;
        QMetaObject::invokeMethod(
            this, [this, path, error] { written(path, error); }, Qt::QueuedConnection);
    });
    emit changed();
    return note;
}

void ProgressHistory::written(const QString& path, const QString& error)
{
    --m_pending;
    if (!error.isEmpty())
        emit writeFailed(
            u"The progress history could not be written to %1: %2."_s.arg(path, error));
    else if (m_pending == 0 && path == m_known.path)
        m_known = knownOf(path);
}

void ProgressHistory::waitForWrites()
{
    if (m_writer)
        m_writer->waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
