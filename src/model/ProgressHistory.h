#pragma once

#include "model/ProjectData.h"
#include "storage/HistoryFile.h"

#include <QDateTime>
#include <QObject>

// The open project's history of saved counts, kept in the file beside the project. A
// history that is missing or cannot be read is no error for the project: the history
// starts again, and an unreadable file is kept under another name.
class ProgressHistory : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    const QList<HistoryRow>& rows() const { return m_rows; }

    // Reads the history of a project file. What the user should hear about it, or nothing.
    QString open(const QString& projectFile);
    void clear();
    // Records a saved project's counts as the day's rows and writes the history beside the
    // file it was saved to; saved under a new name, the project takes its history along.
    QString record(const QString& projectFile, const ProjectData& saved, QDate today);

signals:
    void changed();

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

    QList<HistoryRow> m_rows;
    Known m_known;
};
