#pragma once

#include "model/ProjectData.h"
#include "storage/HistoryFile.h"

#include <QDateTime>
#include <QObject>
#include <QThreadPool>

#include <memory>

// The open project's history of saved counts, kept in the file beside the project. A
// history that is missing or cannot be read is no error for the project: the history
// starts again, and an unreadable file is kept under another name.
//
// The file is written on a thread of its own, after the save: a save with 1,000 days of
// history has to stay within 1.2x of one without (bench progress/save_with_1000_days), and
// writing it safely takes as long as the project itself.
class ProgressHistory : public QObject
{
    Q_OBJECT

public:
    explicit ProgressHistory(QObject* parent = nullptr);

    const QList<HistoryRow>& rows() const { return m_rows; }

    // Reads the history of a project file. What the user should hear about it, or nothing.
    QString open(const QString& projectFile);
    void clear();
    // Records a saved project's counts as the day's rows and writes the history beside the
    // file it was saved to; saved under a new name, the project takes its history along.
    // A write that fails is told by writeFailed.
    QString record(const QString& projectFile, const ProjectData& saved, QDate today);
    // Returns once the writes begun have ended and been told.
    void waitForWrites();

signals:
    void changed();
    void writeFailed(const QString& message);

private:
    // The file as we last read or wrote it, so that a save need not read it again.
    struct Known
    {
        QString path;
        qint64 size = -1;
        QDateTime modified;
    };
    static Known knownOf(const QString& path);
    // False when the file could not be moved; note says what happened either way.
    static bool setAside(const QString& path, const QString& why, QString& note);
    void written(const QString& path, const QString& error);

    QList<HistoryRow> m_rows;
    Known m_known;
    int m_pending = 0; // writes begun and not yet told
    // One thread, so that the writes land in order; the last member, so that it is the first
    // to go and waits for them. Made with the first write: most windows never save.
    std::unique_ptr<QThreadPool> m_writer;
};
