#include "components/Clock.h"
#include "components/DayWatcher.h"
#include "dashboard/DueBand.h"
#include "dashboard/ProjectPrinter.h"
#include "model/DueDateText.h"
#include "model/DueStatus.h"
#include "model/ProgressSummary.h"
#include "report/MarkdownExport.h"
#include "sidebar/TaskEditor.h"
#include "sidebar/TaskHighlighter.h"
#include "support/TestPaths.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void dueState_data();
    void dueState();
    void dueStateFollowsTheDateChange();
    void summaryText_data();
    void summaryText();
    void struckLinesAreCountedLines();
    void markdownOfFullProject();
    void markdownEscaping_data();
    void markdownEscaping();
    void pdfReadsBackEveryNameCountAndTask();
    void failedExportLeavesNoFile_data();
    void failedExportLeavesNoFile();
};

namespace {

const QDate Today(2026, 3, 20);
const QLocale C = QLocale::c();

ProjectData fullProject()
{
    const auto read = ProjectFile::read(QStringLiteral(AIMWELL_TEST_DATA "/full-project.gpj"));
    return read.value;
}

// total tasks of which done carry the mark.
SubGoalRecord goal(int total, int done, const QString& due = {})
{
    SubGoalRecord g{u"k"_s, u"g"_s, due, {}};
    for (int i = 0; i < total; ++i)
        g.tasks.append(i < done ? u"t --"_s : u"t"_s);
    return g;
}

// Whitespace left out: pdftotext breaks and spaces lines as it sees fit.
QString squeezed(QString text)
{
    return text.remove(QRegularExpression(u"\\s+"_s));
}

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

void TestExport::dueState_data()
{
    QTest::addColumn<int>("daysToDue"); // from today
    QTest::addColumn<QString>("due");   // instead of a date, when set
    QTest::addColumn<QString>("tasks");
    QTest::addColumn<DueState>("state");
    QTest::addColumn<QColor>("band");
    const QColor navy(0x00, 0x00, 0x80), amber(0xC0, 0x70, 0x00), red(0xC0, 0x00, 0x00);
    QTest::newRow("yesterday") << -1 << QString() << u"a\nb --"_s << DueState::Overdue << red;
    QTest::newRow("today") << 0 << QString() << u"a"_s << DueState::DueSoon << amber;
    QTest::newRow("in three days") << 3 << QString() << u"a"_s << DueState::DueSoon << amber;
    QTest::newRow("in four days") << 4 << QString() << u"a"_s << DueState::OnTrack << navy;
    QTest::newRow("past, all done") << -30 << QString() << u"a --"_s << DueState::OnTrack << navy;
    QTest::newRow("past, no tasks") << -30 << QString() << u" \n"_s << DueState::OnTrack << navy;
    QTest::newRow("unreadable") << 0 << u"next spring"_s << u"a"_s << DueState::Unreadable << navy;
    QTest::newRow("no due date") << 0 << u""_s << u"a"_s << DueState::None << navy;
}

void TestExport::dueState()
{
    QFETCH(int, daysToDue);
    QFETCH(QString, due);
    QFETCH(QString, tasks);
    QFETCH(DueState, state);
    QFETCH(QColor, band);
    const FixedClock clock(Today);
    if (due.isNull())
        due = DueDateText::format(clock.today().addDays(daysToDue), C);
    QCOMPARE(DueStatus::of(due, TaskCounts::of(tasks), clock.today(), C), state);

    const DueBand::Colours colours = DueBand::colours(state);
    QCOMPARE(colours.background, band);
    QVERIFY(DueBand::contrast(colours.text, colours.background) >= 4.5);
    // The state is said in words too, not by colour alone.
    const QString words = DueStatus::describe(due, state);
    QCOMPARE(words.endsWith(u"overdue"_s), state == DueState::Overdue);
    QCOMPARE(words.endsWith(u"due soon"_s), state == DueState::DueSoon);
}

void TestExport::dueStateFollowsTheDateChange()
{
    FixedClock clock(Today);
    DayWatcher watcher(clock);
    QSignalSpy changed(&watcher, &DayWatcher::dayChanged);
    const QString due = DueDateText::format(Today, C);
    const TaskCounts counts = TaskCounts::of(u"a"_s);
    watcher.check();
    QCOMPARE(changed.count(), 0);

    clock.set(Today.addDays(1));
    watcher.check();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(DueStatus::of(due, counts, watcher.today(), C), DueState::Overdue);
}

void TestExport::summaryText_data()
{
    QTest::addColumn<ProjectData>("project");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty")
        << ProjectData{} << u"0 sub-goals · 0 tasks · 0 completed (0 %) · 0 pending · 0 overdue"_s;
    QTest::newRow("full test project")
        << fullProject() << u"8 sub-goals · 8 tasks · 4 completed (50 %) · 4 pending · 1 overdue"_s;
    QTest::newRow("singular")
        << ProjectData{u"p"_s, {goal(1, 1)}}
        << u"1 sub-goal · 1 task · 1 completed (100 %) · 0 pending · 0 overdue"_s;
    QTest::newRow("almost all is not 100 %")
        << ProjectData{u"p"_s, {goal(199, 198), goal(1, 1)}}
        << u"2 sub-goals · 200 tasks · 199 completed (99 %) · 1 pending · 0 overdue"_s;
    QTest::newRow("a little is not 0 %")
        << ProjectData{u"p"_s, {goal(300, 1, u"1 Mar 2026"_s), goal(1, 0, u"2 Mar 2026"_s)}}
        << u"2 sub-goals · 301 tasks · 1 completed (1 %) · 300 pending · 2 overdue"_s;
}

void TestExport::summaryText()
{
    QFETCH(ProjectData, project);
    QFETCH(QString, text);
    QCOMPARE(ProgressSummary::of(project, Today, C).text(), text);
}

void TestExport::struckLinesAreCountedLines()
{
    TaskEditor editor;
    TaskHighlighter::attach(&editor);
    // Shift+Enter breaks a line inside a block; the counts see two lines there.
    editor.setTasksText(u"buy paint --\nMigrate blog --> new CMS\nleft - right\n--\n \t\n"
                        "-\t-\nfirst --\u2028second\nopen"_s);
    editor.moveCursor(QTextCursor::End);
    typeText(&editor, u" --\nlast"_s);

    int struck = 0;
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
        const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
        const QStringList lines = block.text().split(QChar::LineSeparator);
        qsizetype start = 0;
        for (const QString& line : lines) {
            for (qsizetype i = start; i < start + line.size(); ++i) {
                const bool isStruck = std::any_of(formats.begin(), formats.end(), [&](auto& r) {
                    return r.start <= i && i < r.start + r.length && r.format.fontStrikeOut();
                });
                QCOMPARE(isStruck, TaskCounts::isCompleted(line));
            }
            struck += TaskCounts::isCompleted(line);
            start += line.size() + 1;
        }
    }
    QCOMPARE(struck, 5);
    QCOMPARE(TaskCounts::of(editor.tasksText()).completed, struck);
}

void TestExport::markdownOfFullProject()
{
    const QByteArray golden = fileBytes(QStringLiteral(AIMWELL_TEST_DATA "/full-project.md"));
    QCOMPARE(MarkdownExport::toMarkdown(fullProject(), Today, C), golden);

    const QTemporaryDir dir;
    const QString path = dir.filePath(u"out.md"_s);
    QVERIFY(MarkdownExport::save(path, fullProject(), Today, C).ok());
    QCOMPARE(fileBytes(path), golden);
}

void TestExport::markdownEscaping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("heading") << u"# not a heading"_s << u"\\# not a heading"_s;
    QTest::newRow("link") << u"[link](x)"_s << u"\\[link\\](x)"_s;
    QTest::newRow("image and emphasis") << u"!*a*_b_`c`"_s << u"!\\*a\\*\\_b\\_\\`c\\`"_s;
    QTest::newRow("html") << u"<b>x</b>"_s << u"\\<b\\>x\\</b\\>"_s;
    QTest::newRow("list marker") << u"- item"_s << u"\\- item"_s;
    QTest::newRow("ordered list") << u"12. item 3."_s << u"12\\. item 3."_s;
    QTest::newRow("done mark stays") << u"a -- b"_s << u"a -- b"_s;
    QTest::newRow("entity") << u"&copy; & co"_s << u"\\&copy; & co"_s;
    QTest::newRow("blanks around") << u"    code? \t"_s << u"code?"_s;
    QTest::newRow("backslash") << u"a\\b"_s << u"a\\\\b"_s;
}

void TestExport::markdownEscaping()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(MarkdownExport::escape(text), escaped);
}

void TestExport::pdfReadsBackEveryNameCountAndTask()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext is missing (Debian: poppler-utils)");
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"full.pdf"_s);
    const ProjectData project = fullProject();
    const Result written = ProjectPrinter::exportPdf(path, project, Today, C);
    QVERIFY2(written.ok(), qPrintable(written.error));

    const QString text = squeezed(run(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, path, u"-"_s}));
    QVERIFY(text.contains(squeezed(project.name)));
    // In drawing order: the default mode would join a line ending in "--" to the next one.
    const QString lines = squeezed(run(u"pdftotext"_s, {u"-raw"_s, u"-f"_s, u"2"_s, path, u"-"_s}));
    for (const SubGoalRecord& goal : project.goals) {
        const TaskCounts counts = TaskCounts::ofLines(goal.tasks);
        const QString status =
            DueStatus::statusWords(counts, DueStatus::of(goal.due, counts, Today, C));
        QString heading = goal.name + u"Tasks: %1 · Completed: %2 · Pending: %3"_s.arg(counts.total)
                                          .arg(counts.completed)
                                          .arg(counts.pending());
        if (!goal.due.isEmpty())
            heading += u" · Due: "_s + goal.due;
        if (!status.isEmpty())
            heading += u" · "_s + status;
        QVERIFY2(lines.contains(squeezed(heading)), qPrintable(heading));
        for (const QString& task : goal.tasks) {
            const QString shown = (TaskCounts::isCompleted(task) ? u"✓"_s : QString()) + task;
            QVERIFY2(lines.contains(squeezed(shown)), qPrintable(task));
        }
    }
    // Page one says it in words too.
    const QString dashboard = run(u"pdftotext"_s, {u"-l"_s, u"1"_s, path, u"-"_s});
    QVERIFY(dashboard.contains(u"OVERDUE"_s));
    QVERIFY(dashboard.contains(u"all tasks completed"_s));

    const QString info = run(u"pdfinfo"_s, {path});
    QVERIFY2(info.contains(u"(A4)"_s), qPrintable(info));
    const QStringList fonts = run(u"pdffonts"_s, {path}).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(fonts.size() > 2);
    for (const QString& font : fonts.mid(2)) {
        // The "emb" column, counted from the end: a type can be two words.
        const QStringList columns = font.simplified().split(u' ');
        QVERIFY2(columns.value(columns.size() - 5) == u"yes"_s, qPrintable(font));
    }
}

void TestExport::failedExportLeavesNoFile_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::newRow("markdown") << false;
    QTest::newRow("pdf") << true;
}

void TestExport::failedExportLeavesNoFile()
{
    QFETCH(bool, pdf);
    const QTemporaryDir dir;
    // A file where the folder should be: no write can succeed, not even as root.
    writeFile(dir.filePath(u"blocked"_s), "x");
    const QString path = dir.filePath(u"blocked/out"_s);
    const Result result = pdf ? ProjectPrinter::exportPdf(path, fullProject(), Today, C)
                              : MarkdownExport::save(path, fullProject(), Today, C);
    QVERIFY(!result.ok());
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{u"blocked"_s});
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
