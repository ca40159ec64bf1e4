#include "report/MarkdownExport.h"

#include "components/TextFile.h"
#include "model/DueStatus.h"
#include "model/TaskCounts.h"

#include <QStringEncoder>

namespace {

bool isAsciiAlnum(QChar c)
{
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

// Characters that start emphasis, code, links, HTML, tables, strike-through or a closing
// heading sequence anywhere in a line. A switch, as every character of the export is asked:
// the "export to Markdown" benchmark row needs it.
bool isSpecial(QChar c)
{
    switch (c.unicode()) {
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

// Text that reads back literally. inLine: the text follows other text on its line, so
// nothing in it can start a block.
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
            while (j < text.size() && text[j].isDigit() && text[j].unicode() < 0x80)
                ++j;
            // "1." or "1)" starts an ordered list.
            if (j > i && j < text.size() && (text[j] == u'.' || text[j] == u')')) {
                out += text.sliced(i, j - i);
                out += u'\\';
                i = j;
            }
        }
    }
    // Plain runs between the characters that need a change are copied whole.
    qsizetype run = i;
    const auto flush = [&](qsizetype to) {
        out += text.sliced(run, to - run);
        run = to + 1;
    };
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            flush(i);
            out += u' ';
        } else if (isSpecial(c) || (c == u'&' && i + 1 < text.size() &&
                                    (isAsciiAlnum(text[i + 1]) || text[i + 1] == u'#'))) {
            // "&copy;" would become a character reference; a lone "&" stays.
            flush(i);
            out += u'\\';
            out += c;
        }
    }
    flush(text.size());
}

QString counts(const SubGoalRecord& goal, const TaskCounts& counts, DueState state)
{
    const QString dot = QStringLiteral(" \u00B7 ");
    QString out = counts.captions().join(dot);
    if (!goal.due.isEmpty()) {
        out += dot + QStringLiteral("Due: ");
        appendEscaped(out, goal.due, true);
        const QString said = DueStatus::words(state);
        if (!said.isEmpty())
            out += QStringLiteral(" (") + said + u')';
    }
    if (counts.allDone())
        out += dot + DueStatus::statusWords(counts, state);
    return out;
}

void writeGoal(QString& out, const SubGoalRecord& goal, QDate today, const QLocale& locale)
{
    const TaskCounts total = TaskCounts::ofLines(goal.tasks);
    out += QStringLiteral("\n## ");
    appendEscaped(out, goal.name);
    out += QStringLiteral("\n\n");
    out += counts(goal, total, DueStatus::of(goal.due, total, today, locale));
    out += total.total > 0 ? QStringLiteral("\n\n") : QStringLiteral("\n");
    for (const QString& task : goal.tasks) {
        if (!TaskCounts::isTask(task))
            continue;
        out += TaskCounts::isCompleted(task) ? QStringLiteral("- [x] ") : QStringLiteral("- [ ] ");
        appendEscaped(out, task);
        out += u'\n';
    }
}

} // namespace

QByteArray MarkdownExport::toMarkdown(const ProjectData& project, QDate today,
                                      const QLocale& locale)
{
    QString out = QStringLiteral("# ");
    appendEscaped(out, project.name);
    out += u'\n';
    for (const SubGoalRecord& goal : project.goals)
        writeGoal(out, goal, today, locale);
    // Stateless: a lone surrogate becomes U+FFFD where it stands (toUtf8 writes "?").
    QStringEncoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    return utf8(out);
}

Result MarkdownExport::save(const QString& path, const ProjectData& project, QDate today,
                            const QLocale& locale)
{
    return TextFile::saveBytes(path, toMarkdown(project, today, locale), TextFile::Access::Shared);
}
