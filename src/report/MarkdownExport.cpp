#include "report/MarkdownExport.h"

#include "components/TextFile.h"
#include "model/DueStatus.h"
#include "model/TaskCounts.h"

#include <QStringEncoder>

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// UTF-8 written straight into one buffer sized for the worst case (three bytes a character
// and a backslash before each): building a QString first and converting it took longer
// than the escaping. Pages of the buffer that are never written are never touched.
class Utf8Out
{
public:
    explicit Utf8Out(qsizetype maxChars) : m_bytes(4 * maxChars + 64, Qt::Uninitialized) {}

    Utf8Out& operator+=(QStringView text)
    {
        m_at = m_encoder.appendToBuffer(m_at, text);
        return *this;
    }
    Utf8Out& operator+=(QLatin1StringView ascii)
    {
        std::memcpy(m_at, ascii.data(), size_t(ascii.size()));
        m_at += ascii.size();
        return *this;
    }
    Utf8Out& operator+=(char c)
    {
        *m_at++ = c;
        return *this;
    }
    QByteArray take()
    {
        m_bytes.truncate(m_at - m_bytes.constData());
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    char* m_at = m_bytes.data();
    QStringEncoder m_encoder{QStringConverter::Utf8};
};

bool isAsciiAlnum(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// Characters that start emphasis, code, links, HTML, tables, strike-through or a closing
// heading sequence anywhere in a line. A table, because this runs over every character.
constexpr auto AlwaysEscaped = [] {
    std::array<bool, 128> table{};
    for (const char c : std::string_view("\\`*_[]<>|~#"))
        table[size_t(c)] = true;
    return table;
}();

// Everything the escaping loop has to look at more closely.
constexpr auto MaybeSpecial = [] {
    std::array<bool, 128> table = AlwaysEscaped;
    for (const char c : std::string_view("\r\n&"))
        table[size_t(c)] = true;
    return table;
}();

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// inLine: the text follows other text on its line, so nothing in it can start a block.
void appendEscaped(Utf8Out& out, QStringView text, bool inLine = false)
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
            out += '\\';
        } else {
            qsizetype j = i;
            while (j < text.size() && isDigit(text[j]))
                ++j;
            // "1." or "1)" starts an ordered list.
            if (j > i && j < text.size() && (text[j] == u'.' || text[j] == u')')) {
                out += text.sliced(i, j - i);
                out += '\\';
                i = j;
            }
        }
    }
    // Plain stretches are copied whole: most task lines need no escape at all, and one
    // table look-up a character finds the few that might.
    const char16_t* chars = text.utf16();
    const qsizetype n = text.size();
    qsizetype plain = i;
    for (; i < n; ++i) {
        const char16_t c = chars[i];
        if (c >= 128 || !MaybeSpecial[c])
            continue;
        const bool lineBreak = c == u'\r' || c == u'\n';
        // "&copy;" would become a character reference.
        const bool escaped =
            AlwaysEscaped[c] ||
            (c == u'&' && i + 1 < n && (isAsciiAlnum(text[i + 1]) || text[i + 1] == u'#'));
        if (!lineBreak && !escaped)
            continue;
        out += text.sliced(plain, i - plain);
        out += lineBreak ? ' ' : '\\';
        plain = lineBreak ? i + 1 : i;
    }
    out += text.sliced(plain);
}

void appendCounts(Utf8Out& out, const SubGoalRecord& goal, const TaskCounts& counts, DueState state)
{
    const QString dot = QStringLiteral(" \u00B7 ");
    out += QStringLiteral("Tasks: ") + QString::number(counts.total) + dot +
           QStringLiteral("Completed: ") + QString::number(counts.completed) + dot +
           QStringLiteral("Pending: ") + QString::number(counts.pending());
    if (!goal.due.isEmpty()) {
        out += dot + QStringLiteral("Due: ");
        appendEscaped(out, goal.due, true);
        const QString said = DueStatus::words(state);
        if (!said.isEmpty())
            out += QStringLiteral(" (") + said + u')';
    }
    if (counts.allDone())
        out += dot + DueStatus::statusWords(counts, state);
}

} // namespace

QString MarkdownExport::escape(QStringView text)
{
    Utf8Out out(text.size());
    appendEscaped(out, text);
    return QString::fromUtf8(out.take());
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
    Utf8Out out(size);
    enum class Kind : char
    {
        None,
        Pending,
        Done
    };
    std::vector<Kind> kinds;
    out += "# "_L1;
    appendEscaped(out, project.name);
    out += '\n';
    for (const SubGoalRecord& goal : project.goals) {
        // Each line is judged once; the counts come before the lines in the text.
        kinds.resize(goal.tasks.size());
        TaskCounts counts;
        for (qsizetype t = 0; t < goal.tasks.size(); ++t) {
            const QString& task = goal.tasks[t];
            kinds[t] = !TaskCounts::isTask(task)       ? Kind::None
                       : TaskCounts::isCompleted(task) ? Kind::Done
                                                       : Kind::Pending;
            counts.total += kinds[t] != Kind::None;
            counts.completed += kinds[t] == Kind::Done;
        }
        const DueState state = DueStatus::of(goal.due, counts, today, locale);
        out += "\n## "_L1;
        appendEscaped(out, goal.name);
        out += "\n\n"_L1;
        appendCounts(out, goal, counts, state);
        out += '\n';
        if (counts.total > 0)
            out += '\n';
        for (qsizetype t = 0; t < goal.tasks.size(); ++t) {
            if (kinds[t] == Kind::None)
                continue;
            out += kinds[t] == Kind::Done ? "- [x] "_L1 : "- [ ] "_L1;
            appendEscaped(out, goal.tasks[t]);
            out += '\n';
        }
    }
    return out.take();
}

Result MarkdownExport::save(const QString& path, const ProjectData& project, QDate today,
                            const QLocale& locale)
{
    // Temporary file and rename: nothing half-written is left behind, and an export needs
    // no wait for the disk as a project save does.
    return TextFile::saveBytes(path, toMarkdown(project, today, locale), TextFile::Access::Shared);
}
