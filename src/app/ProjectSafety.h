#pragma once

#include "app/AppServices.h"
#include "components/Result.h"
#include "model/RecoveryFeed.h"
#include "storage/ProjectFile.h"
#include "storage/ProjectFileWatcher.h"

#include <QObject>
#include <QSet>
#include <QString>

class Project;
class QUndoStack;
class QWidget;

// Makes sure no work is lost: keeps a recovery copy of unsaved changes and offers it back
// after a crash, and watches the project file so that another program's changes are
// neither overwritten without asking nor left unnoticed.
class ProjectSafety : public QObject
{
    Q_OBJECT

public:
    ProjectSafety(Project& project, QUndoStack& history, const AppServices& services,
                  QWidget* window);

    RecoveryFeed& recovery() { return m_recovery; }
    const ProjectFileWatcher& watcher() const { return m_watcher; }

    // At start-up, before anything else: a recovery file left by a copy that did not close
    // properly is offered back.
    void offerRecovery();
    // Reads a project file and hands it on to be shown as Open does; false when it could
    // not be read, and the open project is left as it was.
    bool open(const QString& path);
    // Writes the project and takes the written file as the known one. It asks first when
    // another program changed the file since we read or wrote it, and tells what failed.
    // False: nothing was written.
    bool save(const QString& path);
    // A normal exit keeps nothing for recovery.
    void discard() { m_recovery.writer().discard(); }
    // Task files that could not be written when a project was shown, as one message. A
    // failed write later is told once per sub-goal until a write works again.
    void tellTaskFiles(const QStringList& failures);

signals:
    // A save went through: what was written, and where.
    void saved(const QString& path, const ProjectData& data);
    // A project read from its file (or restored) is to be shown in place of the open one.
    void projectRead(const QString& path, const ProjectData& data);
    // Word for the status bar, such as where a declined recovery copy was kept.
    void told(const QString& message);

private:
    // False: the user keeps the other program's file.
    bool mayReplace(const QString& path);
    void fileChangedOnDisk(const QString& path, const FileFingerprint& now);
    void fileChangedHere(const QString& file)
    {
        // Only a file we read or wrote ourselves has a version to compare with.
        if (file != m_watcher.path())
            m_watcher.watch(QString(), {});
    }
    void recoveryWriteFailed(const QString& error);
    void taskFileResult(const QString& key, const QString& error);

    QWidget* m_window;
    Project& m_project;
    QUndoStack& m_history;
    AppServices m_services;
    ProjectFileWatcher m_watcher; // before the feed, which reads it
    RecoveryFeed m_recovery;
    // A question about the file is showing: further notices must not stack more.
    bool m_asking = false;
    QSet<QString> m_taskFilesTold;
};
