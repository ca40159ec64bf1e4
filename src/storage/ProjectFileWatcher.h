#pragma once

#include "storage/FileFingerprint.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

// Tells when another program changes the open project's file. It compares the file with
// the fingerprint of the version we know (opened or last saved here), so our own saves,
// which replace the file by a rename, never count. The folder is watched too: a rename
// over the file ends the watch on the old one, and the new file must be picked up again.
class ProjectFileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit ProjectFileWatcher(QObject* parent = nullptr);

    // After Open, Save and Save As; an empty path stops watching (New).
    void watch(const QString& path, const FileFingerprint& known);
    const QString& path() const { return m_path; }
    const FileFingerprint& known() const { return m_known; }

signals:
    // Once for each new state of the file that is not the known one; a file removed counts.
    void changed(const QString& path, const FileFingerprint& now);

private:
    void check();

    // Made with the first file: a new project has none, and every window starts with one.
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    QTimer m_settle; // another program's write comes as several notices
    QString m_path;
    FileFingerprint m_known;
    FileFingerprint m_reported; // the last state the signal told of
};
