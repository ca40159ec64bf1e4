#include "model/RecoveryFeed.h"

#include "model/Project.h"

RecoveryFeed::RecoveryFeed(Project& project, const ProjectFileWatcher& watcher, const QString& path,
                           QObject* parent)
    : QObject(parent), m_project(project), m_watcher(watcher),
      m_writer(path, [this] { return snapshot(); })
{
    const auto touch = [this] { m_writer.touch(); };
    connect(&project, &Project::nameChanged, this, touch);
    connect(&project, &Project::fileChanged, this, touch);
    connect(&project, &Project::goalAdded, this, touch);
    connect(&project, &Project::goalRemoved, this, touch);
    connect(&project, &Project::goalChanged, this, touch);
    connect(&project, &Project::goalsReset, this, touch);
    connect(&project, &Project::modifiedChanged, this, [this](bool modified) {
        if (modified)
            m_writer.touch();
        else
            m_writer.discard();
    });
}

std::optional<RecoverySnapshot> RecoveryFeed::snapshot() const
{
    if (!m_project.isModified())
        return std::nullopt;
    Expected<ProjectData> data = m_project.toProjectData();
    if (data.ok()) {
        const bool known = !m_project.file().isEmpty() && m_watcher.path() == m_project.file();
        return RecoverySnapshot{std::move(data.value), m_project.file(),
                                known ? m_watcher.known() : FileFingerprint()};
    }
    // A task file that cannot be read just now must not cost the snapshot already kept.
    Expected<RecoverySnapshot> kept = RecoveryFile::read(m_writer.path());
    if (kept.ok())
        return std::move(kept.value);
    return std::nullopt;
}
