#include "app/ProjectSafety.h"

#include "components/AppInfo.h"
#include "dialogs/Prompt.h"
#include "model/Project.h"

#include <QUndoStack>
#include <QWidget>

namespace {

const QString RecoverCaption = QStringLiteral("Recover Project");
const QString FileCaption = QStringLiteral("Project File Changed");
const QString TaskFileCaption = QStringLiteral("Task File");

} // namespace

ProjectSafety::ProjectSafety(Project& project, QUndoStack& history, const AppServices& services,
                             QWidget* window)
    : QObject(window), m_window(window), m_project(project), m_history(history),
      m_services(services),
      m_recovery(m_project, m_watcher, RecoveryFile::pathIn(services.workspace.recoveryFolder()))
{
    // A failure here shows as a failed write, told once when there is something to keep.
    Workspace::ensureFolder(services.workspace.recoveryFolder());
    connect(&m_recovery.writer(), &RecoveryWriter::writeFailed, this,
            &ProjectSafety::recoveryWriteFailed);
    connect(&m_watcher, &ProjectFileWatcher::changed, this, &ProjectSafety::fileChangedOnDisk);
    connect(&m_project, &Project::fileChanged, this, &ProjectSafety::fileChangedHere);
    connect(&m_project, &Project::taskFileResult, this, &ProjectSafety::taskFileResult);
    connect(&m_project, &Project::goalsReset, this, [this] { m_taskFilesTold.clear(); });
}

void ProjectSafety::taskFileResult(const QString& key, const QString& error)
{
    if (error.isEmpty()) {
        m_taskFilesTold.remove(key);
    } else if (!m_taskFilesTold.contains(key)) {
        m_taskFilesTold.insert(key);
        m_services.prompt->warn(m_window,
                                error + QStringLiteral("\n\nYour tasks are kept while the program "
                                                       "runs and are stored in the project when "
                                                       "you save it."),
                                TaskFileCaption);
    }
}

void ProjectSafety::tellTaskFiles(const QStringList& failures)
{
    if (!failures.isEmpty())
        m_services.prompt->warn(m_window,
                                failures.join(u'\n') +
                                    QStringLiteral("\n\nThese tasks are kept while the program "
                                                   "runs and are stored in the project when you "
                                                   "save it."),
                                TaskFileCaption);
}

void ProjectSafety::offerRecovery()
{
    const QString path = m_recovery.writer().path();
    RecoveryFile::removeLeftovers(path);
    if (!QFileInfo::exists(path))
        return;
    Expected<RecoverySnapshot> snapshot = RecoveryFile::read(path);
    // Kept under a dated name before anything is asked, so that neither answer nor a write
    // meanwhile can lose it.
    const Expected<QString> aside = RecoveryFile::setAside(path, QDateTime::currentDateTime());
    if (!snapshot.ok()) {
        m_services.prompt->warn(
            m_window,
            QStringLiteral("%1 was not closed properly, but its recovery file could not be read: "
                           "%2.\n\nThe file was kept as %3.")
                .arg(AppInfo::productName(), snapshot.error, aside.ok() ? aside.value : path),
            RecoverCaption);
        return;
    }
    const QString file = snapshot.value.projectFile;
    const Answer answer = m_services.prompt->ask(
        m_window,
        {QStringLiteral("%1 was not closed properly. Restore the unsaved changes to %2 (%3)?"
                        "\n\nNo keeps a copy of them in %4.")
             .arg(AppInfo::productName(), snapshot.value.project.name,
                  file.isEmpty() ? QStringLiteral("New Project (No Filename)") : file,
                  m_services.workspace.recoveryFolder()),
         RecoverCaption, Message::Icon::Question, Message::Buttons::YesNo});
    if (answer != Answer::Yes) {
        emit told(QStringLiteral("The unsaved changes were kept as %1.")
                      .arg(aside.ok() ? aside.value : path));
        return;
    }
    emit projectRead(file, snapshot.value.project);
    // The restored state was never saved: it is unsaved, and undoing back to it is too.
    m_history.resetClean();
    // The file as the changes found it, not as it is now: Save asks before replacing a
    // change another program made meanwhile, or one refused before the crash.
    if (!file.isEmpty())
        m_watcher.watch(file, snapshot.value.base);
    // Once the restored project is the recovery copy again, the dated one is not needed.
    m_recovery.writer().touch();
    if (aside.ok() && m_recovery.writer().flush().ok())
        RecoveryFile::remove(aside.value);
}

bool ProjectSafety::open(const QString& path)
{
    FileFingerprint known;
    Expected<ProjectData> project = ProjectFile::read(path, known);
    if (!project.ok()) {
        m_services.prompt->warn(
            m_window,
            QStringLiteral("The file \"%1\" could not be opened as a project: %2.\n\n"
                           "The open project is unchanged.")
                .arg(path, project.error),
            QStringLiteral("Open Project"));
        return false;
    }
    emit projectRead(path, project.value);
    m_watcher.watch(path, known);
    return true;
}

bool ProjectSafety::mayReplace(const QString& path)
{
    // Only the file we read or wrote is compared; Save As to another file asks in its window.
    if (path.isEmpty() || path != m_watcher.path())
        return true;
    const FileFingerprint now = FileFingerprint::of(path);
    if (!now.exists() || now == m_watcher.known())
        return true;
    m_asking = true;
    const Answer answer = m_services.prompt->ask(
        m_window, {QStringLiteral("The project file %1 was changed by another program since it "
                                  "was opened here. Replace it with this project?")
                       .arg(path),
                   FileCaption, Message::Icon::Warning, Message::Buttons::YesNo, Answer::No});
    m_asking = false;
    if (answer == Answer::Yes)
        return true;
    m_services.prompt->inform(m_window,
                              QStringLiteral("Nothing was saved: the project file keeps the other "
                                             "program's changes. Use Save As to keep both."),
                              QStringLiteral("Save Project"));
    return false;
}

bool ProjectSafety::save(const QString& path)
{
    if (!mayReplace(path))
        return false;
    const Expected<ProjectData> project = m_project.toProjectData();
    QString failure = project.error;
    if (failure.isEmpty())
        failure = Workspace::ensureFolder(QFileInfo(path).absolutePath()).error;
    FileFingerprint written;
    if (failure.isEmpty())
        failure = ProjectFile::save(path, project.value, written).error;
    if (!failure.isEmpty()) {
        m_services.prompt->warn(
            m_window,
            QStringLiteral("The project could not be saved to \"%1\": %2.").arg(path, failure),
            QStringLiteral("Save Project"));
        return false;
    }
    m_watcher.watch(path, written);
    emit saved(path, project.value);
    return true;
}

void ProjectSafety::fileChangedOnDisk(const QString& path, const FileFingerprint& now)
{
    // A removed file has nothing to reload; the next save simply writes it again.
    if (m_asking || !now.exists())
        return;
    Message question{
        QStringLiteral("The project file %1 was changed by another program. Reload it?").arg(path),
        FileCaption, Message::Icon::Question, Message::Buttons::YesNo};
    // Enter must not throw away work.
    if (m_project.isModified()) {
        question.text += QStringLiteral("\n\nReloading discards the unsaved changes made here.");
        question.defaultButton = Answer::No;
    }
    m_asking = true;
    const Answer answer = m_services.prompt->ask(m_window, question);
    m_asking = false;
    if (answer == Answer::Yes && path == m_project.file())
        open(path);
}

void ProjectSafety::recoveryWriteFailed(const QString& error)
{
    m_services.prompt->warn(
        m_window,
        QStringLiteral("The unsaved changes cannot be kept for recovery in %1: %2.\n\nEditing goes "
                       "on; save to keep your work.")
            .arg(m_services.workspace.recoveryFolder(), error),
        RecoverCaption);
}
