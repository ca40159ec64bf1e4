// Feeds arbitrary bytes to the project-file reader, the recovery-file reader and the
// task-list helpers.
//
// What must hold for every input:
//  - a file that reads, written out again and read back, gives the same project;
//  - the same for a recovery file, including the path of the project it belongs to;
//  - the counts of a task list agree with its lines as splitLines() cuts them;
//  - a project's Markdown export is valid UTF-8 with one list item for each task, ticked
//    as the counts tick it;
//  - nothing crashes, leaks or hits undefined behaviour.
//
// The inputs in tests/data/fuzz-crashes once broke the round trip (a lone CR inside a
// value, an unpaired UTF-16 surrogate); the storage tests keep them.

#include "components/TextFile.h"
#include "model/ProgressSummary.h"
#include "model/TaskCounts.h"
#include "report/MarkdownExport.h"
#include "storage/ProjectFile.h"
#include "storage/RecoveryFile.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Printable form of a value, so that a failure names the characters that differ.
QByteArray shown(const QString& value)
{
    QByteArray out;
    for (const QChar c : value) {
        const ushort u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != '\\')
            out += char(u);
        else
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
    }
    return out;
}

[[noreturn]] void fail(const char* what, const QString& before = {}, const QString& after = {})
{
    std::fprintf(stderr, "round trip broken: %s\n  read first:  \"%s\"\n  read again:  \"%s\"\n",
                 what, shown(before).constData(), shown(after).constData());
    std::abort();
}

void compareValue(const char* what, const QString& first, const QString& again)
{
    if (first != again)
        fail(what, first, again);
}

void checkRoundTrip(const ProjectData& first)
{
    const auto again = ProjectFile::parse(ProjectFile::serialize(first));
    if (!again.ok())
        fail("the written file is refused", again.error);
    compareValue("project name", first.name, again.value.name);
    if (first.goals.size() != again.value.goals.size())
        fail("number of sub-goals", QString::number(first.goals.size()),
             QString::number(again.value.goals.size()));
    for (qsizetype g = 0; g < first.goals.size(); ++g) {
        const SubGoalRecord& a = first.goals.at(g);
        const SubGoalRecord& b = again.value.goals.at(g);
        compareValue("sub-goal key", a.key, b.key);
        compareValue("sub-goal name", a.name, b.name);
        compareValue("due date", a.due, b.due);
        if (a.tasks.size() != b.tasks.size())
            fail("number of tasks", QString::number(a.tasks.size()),
                 QString::number(b.tasks.size()));
        for (qsizetype t = 0; t < a.tasks.size(); ++t)
            compareValue("task", a.tasks.at(t), b.tasks.at(t));
    }
    if (!(first == again.value))
        fail("ProjectData differs although every field matched");
}

void checkRecoveryRoundTrip(const RecoverySnapshot& first)
{
    const auto again = RecoveryFile::parse(RecoveryFile::serialize(first));
    if (!again.ok())
        fail("the written recovery file is refused", again.error);
    compareValue("project file path", first.projectFile, again.value.projectFile);
    if (!(first.project == again.value.project))
        fail("the project in the recovery file differs");
}

bool isBlank(QStringView line)
{
    for (const QChar c : line) {
        if (c != u' ' && c != u'\t' && c != u'\r')
            return false;
    }
    return true;
}

// The counter walks the text itself; it must agree with the lines the rest of the program sees.
void checkCounts(const QString& text)
{
    const QStringList lines = TextFile::splitLines(text);
    TaskCounts expected;
    for (const QString& line : lines) {
        if (isBlank(line))
            continue;
        ++expected.total;
        if (line.contains(QStringLiteral("--")))
            ++expected.completed;
    }
    const TaskCounts counts = TaskCounts::of(text);
    if (counts.total != expected.total || counts.completed != expected.completed) {
        std::fprintf(stderr, "task counts %d/%d disagree with the lines: %d/%d\n", counts.total,
                     counts.completed, expected.total, expected.completed);
        std::abort();
    }
}

void checkMarkdown(const ProjectData& project)
{
    const QDate today(2026, 1, 1);
    const QByteArray markdown = MarkdownExport::toMarkdown(project, today, QLocale::c());
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(markdown);
    if (decoder.hasError())
        fail("the Markdown export is not valid UTF-8");
    const ProgressSummary summary = ProgressSummary::of(project, today, QLocale::c());
    const TaskCounts expected{summary.tasks, summary.completed};
    TaskCounts listed;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const bool done = line.startsWith(u"- [x] ");
        listed.total += done || line.startsWith(u"- [ ] ");
        listed.completed += done;
    }
    if (!(listed == expected))
        fail("the Markdown list items disagree with the counts",
             QString::number(expected.total) + u'/' + QString::number(expected.completed),
             QString::number(listed.total) + u'/' + QString::number(listed.completed));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto project = ProjectFile::parse(bytes);
    if (project.ok()) {
        checkRoundTrip(project.value);
        checkMarkdown(project.value);
    }
    const auto recovery = RecoveryFile::parse(bytes);
    if (recovery.ok())
        checkRecoveryRoundTrip(recovery.value);
    checkCounts(TextFile::decode(bytes));
    return 0;
}
