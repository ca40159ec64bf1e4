#include "app/RemindCommand.h"

#include "app/DesktopNotifier.h"
#include "components/Clock.h"
#include "model/Reminders.h"
#include "storage/ProjectFile.h"
#include "storage/ReminderLog.h"
#include "storage/Workspace.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>

int remindOfDueDates(const Workspace& workspace, const Clock& clock, QTextStream& out,
                     QTextStream& err)
{
    const QString folder = workspace.projectsFolder();
    const QFileInfo info(folder);
    // Nothing saved yet: nothing to tell.
    if (!info.exists() && !info.isSymLink())
        return 0;
    const QDir dir(folder);
    if (!info.isDir() || !info.isReadable()) {
        err << "aimwell: cannot read the projects folder \"" << folder << "\".\n";
        return 1;
    }
    const QDate today = clock.today();
    const ReminderLog log(workspace.dataFolder());
    DesktopNotifier notifier;
    QEventLoop loop;
    int waiting = 0;
    bool unshown = false;
    for (const QString& name : dir.entryList({QStringLiteral("*.gpj")}, QDir::Files, QDir::Name)) {
        const QString path = dir.absoluteFilePath(name);
        const Expected<ProjectData> project = ProjectFile::read(path);
        if (!project.ok()) {
            err << "aimwell: skipped \"" << path << "\": " << project.error << "\n";
            continue;
        }
        const QSet<QString> told = log.told(today, path);
        QList<DueGoal> due = Reminders::of(project.value, today);
        const QStringList keys = Reminders::untold(due, told);
        if (due.isEmpty())
            continue;
        const QString summary = Reminders::summary(project.value.name, due.size());
        const QStringList lines = Reminders::lines(due, today);
        out << summary << "\n" << lines.join(u'\n') << "\n";
        ++waiting;
        notifier.notify(summary, lines, {}, [&, path, keys](bool shown) {
            // Left untold when nobody saw it, so that the window or the next run tells it.
            if (shown)
                log.remember(today, path, keys);
            unshown = unshown || !shown;
            if (--waiting == 0)
                loop.quit();
        });
    }
    out.flush();
    if (waiting > 0)
        loop.exec();
    if (unshown)
        err << "aimwell: no desktop notification service answered; these reminders were only "
               "printed.\n";
    return 0;
}
