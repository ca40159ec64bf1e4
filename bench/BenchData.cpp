#include "BenchData.h"

#include <QDir>
#include <QFile>

#include <array>

namespace {

struct Lcg
{
    quint32 state;
    quint32 next(quint32 bound)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
};

constexpr std::array Verbs{u"Buy",   u"Call",   u"Email",   u"Book",     u"Paint",
                           u"Fix",   u"Order",  u"Check",   u"Clean",    u"Plan",
                           u"Write", u"Review", u"Measure", u"Ask about"};
constexpr std::array Objects{u"the fence",
                             u"paint for the hall",
                             u"the plumber",
                             u"the quarterly report",
                             u"train tickets",
                             u"the shed roof",
                             u"brushes, rollers and tape",
                             u"the insurance renewal",
                             u"the dentist",
                             u"the spare room",
                             u"the garden gate",
                             u"invoices for March",
                             u"a skip",
                             u"the boiler"};
constexpr std::array Tails{u"",
                           u"",
                           u"",
                           u" before Friday",
                           u" with Sam",
                           u" (get two quotes)",
                           u" this weekend",
                           u", then tell Jo",
                           u" again"};

} // namespace

QStringList BenchData::tasks(int count, quint32 seed)
{
    Lcg random{seed};
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString line = QString::fromUtf16(Verbs[random.next(Verbs.size())]) + u' ' +
                       QString::fromUtf16(Objects[random.next(Objects.size())]) +
                       QString::fromUtf16(Tails[random.next(Tails.size())]);
        switch (random.next(6)) {
        case 0:
        case 1:
            line += QStringLiteral(" --");
            break;
        case 2:
            line = QStringLiteral("-- ") + line;
            break;
        default:
            break;
        }
        lines.append(line);
    }
    return lines;
}

ProjectData BenchData::project(int goals, int tasksPerGoal)
{
    ProjectData project;
    project.name = QStringLiteral("Move house");
    static constexpr std::array Names{u"Kitchen", u"Garden", u"Paperwork", u"Packing",
                                      u"Car",     u"Bank",   u"Schools",   u"Party"};
    for (int g = 0; g < goals; ++g) {
        SubGoalRecord goal;
        goal.key = QStringLiteral("%1-%2-%3").arg(4217 + g).arg(815 + g).arg(9001 + g);
        goal.name = QString::fromUtf16(Names[g % Names.size()]);
        if (g % 2 == 0)
            goal.due = QStringLiteral("%1/03/2026").arg(10 + g);
        goal.tasks = tasks(tasksPerGoal, 7u + quint32(g));
        project.goals.append(std::move(goal));
    }
    return project;
}

AppFolder::AppFolder()
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder: ") + m_dir.errorString();
        return;
    }
    const QDir source(QStringLiteral(AIMWELL_SOURCE_IMGS));
    const QDir root(m_dir.path());
    if (!root.mkpath(QStringLiteral("imgs")) || !root.mkpath(QStringLiteral("projects"))) {
        m_error = QStringLiteral("cannot create imgs/ or projects/ in ") + m_dir.path();
        return;
    }
    const QStringList pictures = source.entryList(QDir::Files);
    if (pictures.isEmpty())
        m_error = QStringLiteral("no pictures in ") + source.path();
    for (const QString& name : pictures) {
        if (!QFile::copy(source.filePath(name), root.filePath(QStringLiteral("imgs/") + name)))
            m_error = QStringLiteral("cannot copy ") + name;
    }
}

QString AppFolder::addProject(const QString& fileName, const ProjectData& project)
{
    const QString path = m_dir.path() + QStringLiteral("/projects/") + fileName;
    const Result written = ProjectFile::save(path, project);
    if (!written.ok())
        m_error = QStringLiteral("cannot write ") + path + QStringLiteral(": ") + written.error;
    return path;
}
