#pragma once

#include "storage/ProjectFileWatcher.h"
#include "storage/RecoveryWriter.h"

#include <QObject>
#include <QString>

#include <optional>

class Project;

// Keeps the recovery file following the project. Every change to the project restarts the
// writer's timer, so a key release costs no write; once nothing is unsaved (a save, New,
// an undo back to the saved state) the file goes.
class RecoveryFeed : public QObject
{
    Q_OBJECT

public:
    // The watcher knows the version of the project's file the unsaved changes started from.
    RecoveryFeed(Project& project, const ProjectFileWatcher& watcher, const QString& path,
                 QObject* parent = nullptr);

    RecoveryWriter& writer() { return m_writer; }
    // The project as the recovery file would hold it now, or nothing when nothing is unsaved.
    std::optional<RecoverySnapshot> snapshot() const;

private:
    Project& m_project;
    const ProjectFileWatcher& m_watcher;
    RecoveryWriter m_writer;
};
