#include "components/DayWatcher.h"
#include "dashboard/ProjectPrinter.h"
#include "model/DueDateText.h"
#include "model/DueStatus.h"
#include "model/GoalDescription.h"
#include "model/ProgressSummary.h"
#include "report/MarkdownExport.h"
#include "sidebar/TaskEditor.h"
#include "sidebar/TaskHighlighter.h"
#include "support/TestPaths.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {

const QDate Today(2026, 3, 20);
const QLocale C = QLocale::c();

const QString FullProject = QStringLiteral(AIMWELL_TEST_DATA "/full-project.gpj");

// total tasks of which done carry the mark.
SubGoalRecord goal(int total, int done, const QString& due = {})
{
    SubGoalRecord g{u"k"_s, u"g"_s, due, {}};
    for (int i = 0; i < total; ++i)
        g.tasks.append(i < done ? u"t --"_s : u"t"_s);
    return g;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void dueState_data()
    {
        QTest::addColumn<int>("daysToDue"); // from today
        QTest::addColumn<QString>("due");   // instead of a date, when set
        QTest::addColumn<QString>("tasks");
        QTest::addColumn<DueState>("state");
        QTest::addColumn<QString>("said"); // %1: the due text
        const QString open = u"Paint: 0 of 1 task completed, 1 pending"_s;
        QTest::newRow("yesterday")
            << -1 << QString() << u"a\nb --"_s << DueState::Overdue
            << u"Paint: 1 of 2 tasks completed, 1 pending, due %1, overdue"_s;
        QTest::newRow("today") << 0 << QString() << u"a"_s << DueState::DueSoon
                               << open + u", due %1, due soon"_s;
        QTest::newRow("in three days")
            << 3 << QString() << u"a"_s << DueState::DueSoon << open + u", due %1, due soon"_s;
        QTest::newRow("in four days")
            << 4 << QString() << u"a"_s << DueState::OnTrack << open + u", due %1"_s;
        QTest::newRow("past, all done")
            << -30 << QString() << u"a --\nb --"_s << DueState::OnTrack
            << u"Paint: 2 of 2 tasks completed, all tasks completed, due %1"_s;
        QTest::newRow("past, no tasks")
            << -30 << QString() << u" \n"_s << DueState::OnTrack << u"Paint: no tasks, due %1"_s;
        QTest::newRow("unreadable") << 0 << u"next spring"_s << u"a"_s << DueState::Unreadable
                                    << open + u", due next spring (the date could not be read)"_s;
    }
    void dueState()
    {
        QFETCH(int, daysToDue);
        QFETCH(QString, due);
        QFETCH(QString, tasks);
        QFETCH(DueState, state);
        QFETCH(QString, said);
        if (due.isNull())
            due = DueDateText::format(Today.addDays(daysToDue), C);
        const TaskCounts counts = TaskCounts::of(tasks);
        QCOMPARE(DueStatus::of(due, counts, Today, C), state);
        // The state is said in words too, not by colour alone.
        QCOMPARE(GoalDescription::of(u"Paint"_s, due, counts, state),
                 said.contains(u"%1"_s) ? said.arg(due) : said);
    }

    void panelsAndStatusBarFollowTheCountsAndTheDay()
    {
        FixedClock clock(Today);
        WindowFixture f(&clock);
        f.addSubGoals({u"Past"_s, u"Soon"_s, u"Done"_s});
        for (const auto& [i, days, tasks] :
             {std::tuple{1, -1, u"a\nb --"_s}, {2, 2, u"c"_s}, {3, -1, u"d --"_s}}) {
            f.w().project().setDue(i, DueDateText::format(Today.addDays(days)));
            f.typeTasks(i, tasks);
        }
        QCOMPARE(f.text(u"statusSummary"_s),
                 u"3 sub-goals · 4 tasks · 2 completed (50 %) · 2 pending · 1 overdue"_s);
        // Band and text: red and white, amber and black (white is not readable on it), navy.
        const auto band = [&f](int i) {
            return f.find(u"shDueDate_%1"_s.arg(i))->palette().window().color().name() +
                   f.find(u"lblDueDateDate_%1"_s.arg(i))->palette().windowText().color().name();
        };
        const QString red = u"#c00000#ffffff"_s;
        QCOMPARE((QStringList{band(1), band(2), band(3)}),
                 (QStringList{red, u"#c07000#000000"_s, u"#000080#ffffff"_s}));
        // The words: dueState above; the panel's description: tst_keyboard.
        QVERIFY(f.find(u"picGoal_1"_s)->toolTip().contains(u"overdue"_s));
        // Left open past midnight: "Soon" has gone by.
        clock.set(Today.addDays(3));
        f.w().findChild<DayWatcher*>()->check();
        QCOMPARE(band(2), red);
        QVERIFY(f.text(u"statusSummary"_s).endsWith(u"2 overdue"_s));
    }

    void summaryText_data()
    {
        QTest::addColumn<ProjectData>("project");
        QTest::addColumn<QString>("text");
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
    void summaryText()
    {
        QFETCH(ProjectData, project);
        QFETCH(QString, text);
        QCOMPARE(ProgressSummary::of(project, Today, C).text(), text);
    }

    void struckLinesAreCountedLines()
    {
        TaskEditor editor;
        TaskHighlighter::attach(&editor);
        // Shift+Enter breaks a line inside a block; the counts see two lines there.
        editor.setTasksText(u"buy paint --\nMigrate blog --> new CMS\nleft - right\n--\n \t\n"
                            "-\t-\nfirst --\u2028second\nopen\u2028then"_s);
        editor.moveCursor(QTextCursor::End);
        typeText(&editor, u" --\nlast"_s);
        int struck = 0;
        for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
            QString drawn(block.text().size(), u'.'); // '-' where struck through
            for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
                if (range.format.fontStrikeOut())
                    drawn.replace(range.start, range.length, QString(range.length, u'-'));
            }
            qsizetype at = 0;
            for (const QString& line : block.text().split(QChar::LineSeparator)) {
                const bool done = TaskCounts::isCompleted(line);
                QCOMPARE(drawn.mid(at, line.size()), QString(line.size(), done ? u'-' : u'.'));
                struck += done;
                at += line.size() + 1;
            }
        }
        QCOMPARE(struck, 5);
        QCOMPARE(TaskCounts::of(editor.tasksText()).completed, struck);
    }

    void markdownEscaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("heading") << u"# not a heading"_s << u"\\# not a heading"_s;
        QTest::newRow("list marker") << u"- item"_s << u"\\- item"_s;
        QTest::newRow("ordered list") << u"12. item 3."_s << u"12\\. item 3."_s;
        QTest::newRow("ordered list, parenthesis") << u"1) item"_s << u"1\\) item"_s;
        QTest::newRow("references") << u"&copy; &#169; & co"_s << u"\\&copy; \\&\\#169; & co"_s;
        QTest::newRow("blanks around") << u"    code? \t"_s << u"code?"_s;
        QTest::newRow("specials, one last")
            << u"a#*<>[]|~`\\_"_s << u"a\\#\\*\\<\\>\\[\\]\\|\\~\\`\\\\\\_"_s;
        QTest::newRow("harmless characters")
            << u"a -- b\t=^}\u007F!()/"_s << u"a -- b\t=^}\u007F!()/"_s;
        QTest::newRow("line breaks become spaces") << u"a\r\nb\nc"_s << u"a  b c"_s;
        QTest::newRow("lone surrogates")
            << u"a"_s + QChar(0xD800) + u"x"_s + QChar(0xDC00) << u"a\uFFFDx\uFFFD"_s;
    }
    void markdownEscaping()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        // As a heading, so that nothing before the text keeps it from starting a block.
        QCOMPARE(MarkdownExport::toMarkdown({text, {}}, Today, C),
                 (u"# "_s + escaped + u'\n').toUtf8());
    }
    // The Markdown against its golden file; the PDF read back has every name, count and task.
    void fullProjectExports()
    {
        const ProjectData project = ProjectFile::read(FullProject).value;
        QCOMPARE(MarkdownExport::toMarkdown(project, Today, C),
                 fileBytes(QStringLiteral(AIMWELL_TEST_DATA "/full-project.md")));
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext is missing (Debian: poppler-utils)");
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"full.pdf"_s);
        const Result written = ProjectPrinter::exportPdf(path, project, Today, C);
        QVERIFY2(written.ok(), qPrintable(written.error));
        // Whitespace left out: pdftotext breaks and spaces lines as it sees fit.
        const auto squeezed = [](QString text) {
            return text.remove(QRegularExpression(u"\\s+"_s));
        };
        // In drawing order: the default mode would join a line ending in "--" to the next one.
        const QString lines =
            squeezed(runTool(u"pdftotext"_s, {u"-raw"_s, u"-f"_s, u"2"_s, path, u"-"_s}));
        for (const SubGoalRecord& goal : project.goals) {
            const QString heading =
                goal.name + TaskCounts::ofLines(goal.tasks).captions().join(u"·"_s);
            QVERIFY2(lines.contains(squeezed(heading)) && lines.contains(squeezed(goal.due)),
                     qPrintable(heading));
            for (const QString& task : goal.tasks) {
                const QString shown = (TaskCounts::isCompleted(task) ? u"✓"_s : QString()) + task;
                QVERIFY2(lines.contains(squeezed(shown)), qPrintable(task));
            }
        }
        // Page one carries the project's name, and says the states in words too.
        const QString dashboard =
            runTool(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, u"-l"_s, u"1"_s, path, u"-"_s});
        QVERIFY(squeezed(dashboard).contains(squeezed(project.name)));
        QVERIFY(dashboard.contains(u"OVERDUE"_s) && dashboard.contains(u"all tasks completed"_s));
        const QString info = runTool(u"pdfinfo"_s, {path});
        QVERIFY2(info.contains(u"(A4)"_s), qPrintable(info));
    }

    void exportFromTheMenu_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("written"); // a part; the held key too, where it shows
        QTest::newRow("pdf") << u"mnuExportPdf"_s << u".pdf"_s << "%PDF-"_ba;
        QTest::newRow("markdown") << u"mnuExportMarkdown"_s << u".md"_s << "- [x] door --x\n"_ba;
    }
    void exportFromTheMenu()
    {
        QFETCH(QString, item);
        QFETCH(QString, suffix);
        QFETCH(QByteArray, written);
        FixedClock clock(Today);
        WindowFixture f(&clock);
        f.addSubGoals({u"Paint"_s});
        f.typeTasks(1, u"walls\ndoor --"_s);
        QTest::keyPress(f.find(u"txtGoalTasks"_s), Qt::Key_X); // held: not yet written
        f.w().project().setName(u"Q1: launch/plan"_s);
        QAction* action = f.find<QAction>(item);
        const QTemporaryDir out;
        writeFile(out.filePath(u"blocked"_s), "x");
        const QString chosen = out.filePath(u"plan"_s + suffix);
        const QString failing = out.filePath(u"blocked/plan"_s + suffix);
        action->trigger(); // cancelled
        f.prompt.exportChoices = {chosen, failing};
        action->trigger();
        QCOMPARE(f.prompt.exportSuggestions, QStringList(2, u"Q1_ launch_plan"_s + suffix));
        QCOMPARE(f.w().statusBar()->currentMessage(), u"Exported to \"%1\"."_s.arg(chosen));
        // An export is for sharing: others may read it as they may the user's other files.
        QVERIFY(QFileInfo(chosen).permissions() & QFileDevice::ReadOther);
        QCOMPARE(f.w().project().tasks(1), u"walls\ndoor --x"_s);
        QVERIFY(fileBytes(chosen).contains(written));
        // The next export starts where this one went; a failed one says why, leaves no file.
        action->trigger();
        QCOMPARE(f.prompt.exportSuggestions.last(), out.filePath(u"Q1_ launch_plan"_s + suffix));
        const QString said =
            u"Export Project: The project could not be exported to \"%1\": "_s.arg(failing);
        QVERIFY(f.prompt.shown.size() == 1 && f.prompt.last().startsWith(said) &&
                f.prompt.last().size() > said.size());
        QCOMPARE(QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 (QStringList{u"blocked"_s, u"plan"_s + suffix}));
        QCOMPARE(QDir(f.w().workspace().projectsFolder()).entryList(QDir::Files), QStringList());
        // A cancelled print window prints nothing.
        f.find<QAction>(u"mnuPrint"_s)->trigger();
        QVERIFY(f.prompt.printWindows == 1 && f.prompt.shown.size() == 1);
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
