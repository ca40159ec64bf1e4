#include "report/MarkdownExport.h"

#include "components/TextFile.h"
#include "model/DueStatus.h"
#include "model/TaskCounts.h"
#include "report/MarkdownText.h"

using namespace Qt::StringLiterals;

namespace {

void appendCounts(MarkdownText& out, const SubGoalRecord& goal, const TaskCounts& counts,
                  DueState state)
{
    const QString dot = QStringLiteral(" \u00B7 ");
    out += QStringLiteral("Tasks: ") + QString::number(counts.total) + dot +
           QStringLiteral("Completed: ") + QString::number(counts.completed) + dot +
           QStringLiteral("Pending: ") + QString::number(counts.pending());
    if (!goal.due.isEmpty()) {
        out += dot + QStringLiteral("Due: ");
        out.appendEscaped(goal.due, true);
        const QString said = DueStatus::words(state);
        if (!said.isEmpty())
            out += QStringLiteral(" (") + said + u')';
    }
    if (counts.allDone())
        out += dot + DueStatus::statusWords(counts, state);
}

// The heading's and the counts line's own words take about a hundred characters.
constexpr qsizetype HeaderWords = 128;

void writeGoal(MarkdownText& out, const SubGoalRecord& goal, QDate today, const QLocale& locale)
{
    // The heading and the counts come first, but the counts are only known after the
    // lines: a gap is left for them, so that each line is read once while it is in the
    // cache rather than judged in one pass and written in another.
    const qsizetype headerUnits = goal.name.size() + goal.due.size() + HeaderWords;
    const qsizetype gapSize = MarkdownText::roomFor(headerUnits);
    const qsizetype gapAt = out.skip(gapSize);
    TaskCounts counts;
    for (const QString& task : goal.tasks) {
        if (!TaskCounts::isTask(task))
            continue;
        const bool done = TaskCounts::isCompleted(task);
        ++counts.total;
        counts.completed += done;
        out.reserve(task.size());
        out += done ? "- [x] "_L1 : "- [ ] "_L1;
        out.appendEscaped(task);
        out += '\n';
    }
    MarkdownText header(headerUnits);
    header += "\n## "_L1;
    header.appendEscaped(goal.name);
    header += "\n\n"_L1;
    appendCounts(header, goal, counts, DueStatus::of(goal.due, counts, today, locale));
    header += '\n';
    if (counts.total > 0)
        header += '\n';
    out.fill(gapAt, gapSize, header.take());
}

} // namespace

QString MarkdownExport::escape(QStringView text)
{
    MarkdownText out(text.size());
    out.appendEscaped(text);
    return QString::fromUtf8(out.take());
}

QByteArray MarkdownExport::toMarkdown(const ProjectData& project, QDate today,
                                      const QLocale& locale)
{
    qsizetype units = project.name.size();
    for (const SubGoalRecord& goal : project.goals) {
        // The gap left for the heading takes a little more than the heading.
        units += goal.name.size() + goal.due.size() + HeaderWords + 64;
        for (const QString& task : goal.tasks)
            units += task.size() + 8;
    }
    MarkdownText out(units);
    out += "# "_L1;
    out.appendEscaped(project.name);
    out += '\n';
    for (const SubGoalRecord& goal : project.goals)
        writeGoal(out, goal, today, locale);
    return out.take();
}

Result MarkdownExport::save(const QString& path, const ProjectData& project, QDate today,
                            const QLocale& locale)
{
    // Temporary file and rename: nothing half-written is left behind, and an export needs
    // no wait for the disk as a project save does.
    return TextFile::saveBytes(path, toMarkdown(project, today, locale), TextFile::Access::Shared);
}
