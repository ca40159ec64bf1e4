#include "report/MarkdownExport.h"

#include "model/DueStatus.h"
#include "model/TaskCounts.h"

namespace {

bool isAsciiAlnum(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// Characters that start emphasis, code, links, HTML, tables or strike-through anywhere in
// a line.
bool alwaysEscaped(char16_t c)
{
    switch (c) {
    case u'\\':
    case u'`':
    case u'*':
    case u'_':
    case u'[':
    case u']':
    case u'<':
    case u'>':
    case u'|':
    case u'~':
    case u'#':
        return true;
    default:
        return false;
    }
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// inLine: the text follows other text on its line, so nothing in it can start a block.
void appendEscaped(QString& out, QStringView text, bool inLine = false)
{
    qsizetype i = 0;
    if (!inLine) {
        // Leading blanks would indent the line into a code block, and trailing ones could
        // end it in a hard line break.
        const auto blank = [&](qsizetype at) { return text[at] == u' ' || text[at] == u'\t'; };
        while (i < text.size() && blank(i))
            ++i;
        while (text.size() > i && blank(text.size() - 1))
            text.chop(1);
        // A list, a rule or a setext underline would start here.
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+' || text[i] == u'=')) {
            out += u'\\';
        } else {
            qsizetype j = i;
            while (j < text.size() && isDigit(text[j]))
                ++j;
            // "1." or "1)" starts an ordered list.
            if (j > i && j < text.size() && (text[j] == u'.' || text[j] == u')')) {
                out += text.sliced(i, j - i);
                out += u'\\';
                i = j;
            }
        }
    }
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            out += u' ';
            continue;
        }
        // "&copy;" would become a character reference.
        if (alwaysEscaped(c.unicode()) || (c == u'&' && i + 1 < text.size() &&
                                           (isAsciiAlnum(text[i + 1]) || text[i + 1] == u'#')))
            out += u'\\';
        out += c;
    }
}

QString countsLine(const SubGoalRecord& goal, const TaskCounts& counts, DueState state)
{
    const QString dot = QStringLiteral(" \u00B7 ");
    QString line = QStringLiteral("Tasks: ") + QString::number(counts.total) + dot +
                   QStringLiteral("Completed: ") + QString::number(counts.completed) + dot +
                   QStringLiteral("Pending: ") + QString::number(counts.pending());
    if (!goal.due.isEmpty()) {
        line += dot + QStringLiteral("Due: ");
        appendEscaped(line, goal.due, true);
        const QString said = DueStatus::words(state);
        if (!said.isEmpty())
            line += QStringLiteral(" (") + said + u')';
    }
    if (counts.allDone())
        line += dot + DueStatus::statusWords(counts, state);
    return line;
}

} // namespace

QString MarkdownExport::escape(QStringView text)
{
    QString out;
    out.reserve(text.size() + 8);
    appendEscaped(out, text);
    return out;
}

QByteArray MarkdownExport::toMarkdown(const ProjectData& project, QDate today,
                                      const QLocale& locale)
{
    qsizetype size = project.name.size() + 64;
    for (const SubGoalRecord& goal : project.goals) {
        size += goal.name.size() + goal.due.size() + 128;
        for (const QString& task : goal.tasks)
            size += task.size() + 8;
    }
    QString out;
    out.reserve(size + size / 16);
    out += QStringLiteral("# ");
    appendEscaped(out, project.name);
    out += u'\n';
    for (const SubGoalRecord& goal : project.goals) {
        const TaskCounts counts = TaskCounts::ofLines(goal.tasks);
        const DueState state = DueStatus::of(goal.due, counts, today, locale);
        out += QStringLiteral("\n## ");
        appendEscaped(out, goal.name);
        out += QStringLiteral("\n\n");
        out += countsLine(goal, counts, state);
        out += u'\n';
        if (counts.total > 0)
            out += u'\n';
        for (const QString& task : goal.tasks) {
            if (!TaskCounts::isTask(task))
                continue;
            out +=
                TaskCounts::isCompleted(task) ? QStringLiteral("- [x] ") : QStringLiteral("- [ ] ");
            appendEscaped(out, task);
            out += u'\n';
        }
    }
    return out.toUtf8();
}

Result MarkdownExport::save(const QString& path, const ProjectData& project, QDate today,
                            const QLocale& locale)
{
    return ProjectFile::write(path, toMarkdown(project, today, locale));
}
