#include "sidebar/TaskEditor.h"
#include "storage/ProjectFile.h"
#include "support/TestPaths.h"
#include "support/TestSupport.h"

#include <QStringEncoder>

#include <csignal>
#include <sys/resource.h>

namespace {

using Step = std::function<void(WindowFixture&)>;

// A command that may lose unsaved changes, and how it asks.
struct Action
{
    Step run;
    int openWindows = 0;
    bool loadsOther = true; // what it shows when the changes are not kept
    Message::Buttons buttons = Message::Buttons::YesNoCancel;
};

// Moves to the end of the first list and presses keys.
Step keys(QList<Qt::Key> keys)
{
    return [=](WindowFixture& f) {
        auto* editor = f.find<TaskEditor>(u"txtGoalTasks"_s);
        editor->moveCursor(QTextCursor::End);
        for (Qt::Key key : keys)
            QTest::keyClick(editor, key);
    };
}

// A sub-goal as the file holds it, named "Goal <n>".
QByteArray goal(int n, const QByteArray& key, const QByteArray& count,
                const QList<QByteArray>& tasks = {})
{
    const QByteArray g = "Goal" + QByteArray::number(n);
    QByteArray out = g + "=" + key + "\r\n" + g + "_Name=Goal " + QByteArray::number(n) + "\r\n" +
                     g + "_Due=\r\n" + g + "_Tasks=" + count + "\r\n";
    for (int m = 0; m < tasks.size(); ++m)
        out += g + "_Task" + QByteArray::number(m + 1) + "=" + tasks[m] + "\r\n";
    return out;
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    // Sections and keys in any case, the first of a name wins, blanks kept, a lone CR a blank,
    // "." no date; written, a line break becomes a blank. An old file: Windows-1252, numbered 1,
    // 2, 4 (two read), a fractional count rounded down.
    void readingAndWritingRules()
    {
        const auto read = ProjectFile::parse(
            "Name=outside\n[project]\r\nNAME= first =x \r\nname=second\n[Goals]\nGoal1=1-2-3\n"
            "goal1_task2=b\rc\nGOAL1_TASK2=dup\nGoal1_Task1=a\nGoal1_Task03=z\nGoal1_TASKS=3\n"
            "Goal1_Due=.\n[PROJECT]\nName=third\n[goals]\nGoal2=4-5-6\n");
        QCOMPARE(read.value,
                 (ProjectData{u" first =x "_s, {{u"1-2-3"_s, {}, {}, {u"a"_s, u"b c"_s, {}}}}}));
        QCOMPARE(ProjectFile::serialize({u"a\r\nb\nc\rd"_s, {}}),
                 "[Project]\r\nName=a  b c d\r\n[Goals]\r\n"_ba);
        QCOMPARE(ProjectFile::read(QStringLiteral(AIMWELL_TEST_DATA "/old-windows1252.gpj")).value,
                 (ProjectData{u"Caf\u00E9 Pl\u00E4ne"_s,
                              {{u"4217-815-9001"_s,
                                u"R\u00E9sum\u00E9"_s,
                                u"15/03/98"_s,
                                {u"\u20AC 50 --"_s, u"na\u00EFve"_s}},
                               {u"5000-600-700"_s, u"Second"_s, {}, {u"only one"_s, {}}}}}));
    }

    // The full project opens as it was saved, read once; saved again, under another name and
    // then its own, it is the same bytes.
    void fullProjectBytesAndRoundTrip()
    {
        WindowFixture f;
        const QByteArray full = fileBytes(QStringLiteral(AIMWELL_TEST_DATA "/full-project.gpj"));
        f.prompt.openChoices = {f.folder.file(u"Full.gpj"_s)};
        writeFile(*f.prompt.openChoices[0], full);
        QSignalSpy resets(&f.w().project(), &Project::goalsReset);
        f.w().mnuOpen_Click();
        QVERIFY(resets.size() == 1 && !f.w().projectModified() && f.w().selectedGoalIndex() == 0);
        QCOMPARE(QStringList({f.text(u"lblGoal_0"_s), f.w().panel(3)->name(),
                              f.w().panel(4)->dueCaption(), f.text(u"lblTasks_Pending_1"_s)}),
                 (QStringList{u"House & Home"_s, u"a\u00A8b=c;d"_s, u"Due Date: 1 Jan 2027"_s,
                              u"Pending: 1"_s}));
        QCOMPARE(fileBytes(f.taskFile(4)) + '|' + fileBytes(f.taskFile(7)),
                 "weed --\r\n\r\nwater --\r\n|");
        const QString again = f.folder.file(u"projects/Again.gpj"_s);
        f.prompt.saveChoices = {again};
        for (bool saveAs : {true, false}) { // makes the projects folder; again, the same bytes
            QVERIFY(saveAs ? f.w().mnuSaveAs_Click() : f.w().mnuSave_Click());
            QCOMPARE(fileBytes(again), full);
        }
        QCOMPARE(f.text(u"lblFilename"_s), again);
        // Cancel in the save window still writes the project to its current file.
        typeText(f.find(u"txtProjectName"_s), u"!"_s);
        QVERIFY(f.w().mnuSaveAs_Click());
        QVERIFY(fileBytes(again).contains("Name=House & Home!"));
    }

    // Changes that would be lost are asked about first; Cancel, and a save that did not happen,
    // keep them, and the project keeps the file it had.
    void unsavedChangesAreAskedAbout_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("saveTo"); // "" cancels the save window
        QTest::addColumn<bool>("kept");
        const Action exit{[](WindowFixture& f) { f.w().mnuExit_Click(); }};
        const Action open{[](WindowFixture& f) { f.w().mnuOpen_Click(); }, 1};
        const Action newOne{[](WindowFixture& f) { f.w().mnuNew_Click(); }, 0, false,
                            Message::Buttons::YesNo};
        QTest::newRow("exit, Cancel") << exit << Answer::Cancel << u""_s << true;
        QTest::newRow("open, Cancel") << open << Answer::Cancel << u""_s << true;
        QTest::newRow("open, saved first") << open << Answer::Yes << u"Saved.gpj"_s << false;
        QTest::newRow("new, No") << newOne << Answer::No << u""_s << false;
        QTest::newRow("new, save cancelled") << newOne << Answer::Yes << u""_s << true;
        QTest::newRow("new, save failed") << newOne << Answer::Yes << u"Blocked.gpj"_s << true;
    }

    void unsavedChangesAreAskedAbout()
    {
        QFETCH(Action, action);
        QFETCH(Answer, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, kept);
        WindowFixture f;
        const QString other = f.folder.file(u"projects/Other.gpj"_s);
        QCOMPARE(fileBytes(f.save(u"Other.gpj"_s)),
                 fileBytes(QStringLiteral(AIMWELL_TEST_DATA "/empty-project.gpj")));
        f.w().mnuNew_Click(); // nothing to lose, so nothing is asked
        f.prompt = {};
        const QString target = f.folder.file(u"projects/"_s + saveTo);
        QDir().mkpath(f.folder.file(u"projects/Blocked.gpj"_s)); // a folder, so saving there fails
        f.addSubGoals({u"Unsaved"_s});
        f.prompt.answers = {answer};
        f.prompt.openChoices = {other};
        f.prompt.saveChoices = {saveTo.isEmpty() ? std::nullopt : std::optional(target)};
        action.run(f);
        const Message asked = f.prompt.shown.first();
        QCOMPARE(asked.caption + u": "_s + asked.text,
                 u"Save Changes: Want to save changes before?"_s);
        QCOMPARE(asked.buttons, action.buttons);
        QCOMPARE(f.prompt.shown.size(),
                 saveTo.isEmpty() ? 1 : 2); // a cancelled save claims nothing
        QCOMPARE(QList({f.prompt.saveWindows, f.prompt.openWindows}),
                 QList({answer == Answer::Yes ? 1 : 0, action.openWindows}));
        if (!saveTo.isEmpty()) { // saved, or the failure told
            QCOMPARE(fileBytes(target).contains("Goal1_Name=Unsaved"), !kept);
            QCOMPARE(f.prompt.shown.last().caption, kept ? u"Save Project"_s : u"Done"_s);
            QCOMPARE(f.prompt.shown.last().text.contains(target), kept);
        }
        QCOMPARE(f.w().projectModified(), kept);
        QCOMPARE(f.text(u"lblFilename"_s),
                 !kept && action.loadsOther ? other : u"New Project (No Filename)"_s);
        QCOMPARE(f.w().panel(1)->isVisible(), kept);
        QVERIFY(!kept || (f.w().panel(1)->name() == u"Unsaved"_s && f.w().history().canUndo()));
    }

    // Each kind of edit marks the project modified; answering No and keys that change no task do
    // not. (Deleting, looking at panels and keys in the name box: tst_dashboard and tst_tasks.)
    void editsMarkTheProjectModified_data()
    {
        QTest::addColumn<Step>("edit");
        QTest::addColumn<bool>("modified");
        QTest::newRow("arrow keys") << keys({Qt::Key_Left, Qt::Key_Up}) << false;
        QTest::newRow("delete at the end") << keys({Qt::Key_Delete}) << false;
        QTest::newRow("delete inside") << keys({Qt::Key_Left, Qt::Key_Delete}) << true;
        QTest::newRow("date picked") << Step([](WindowFixture& f) {
            f.find<QCalendarWidget>(u"Calendar1"_s)->setSelectedDate(QDate(2027, 5, 6));
        }) << true;
        QTest::newRow("delete answered No") << Step([](WindowFixture& f) {
            f.prompt.answers = {Answer::No};
            f.click(u"lblDelete"_s);
        }) << false;
    }

    void editsMarkTheProjectModified()
    {
        QFETCH(Step, edit);
        QFETCH(bool, modified);
        WindowFixture f;
        f.addSubGoals({u"A"_s});
        f.typeTasks(1, u"ab --"_s);
        QVERIFY(!f.save().isEmpty());
        edit(f);
        QCOMPARE(f.w().projectModified(), modified);
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("opens");
        const QByteArray head("[Project]\r\nName=Damaged\r\n[Goals]\r\n");
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("only goals") << QByteArray("[Goals]") << true;
        QTest::newRow("huge count") << head + goal(1, "1-2-3", "99999999999999999999") << false;
        QTest::newRow("negative count") << head + goal(1, "1-2-3", "-3") << false;
        QTest::newRow("count with blanks") << head + goal(1, "1-2-3", " 2 ", {"a", "b --"}) << true;
        QTest::newRow("count with letters") << head + goal(1, "1-2-3", "2x", {"a", "b"}) << false;
        QTest::newRow("10 MB single line") << QByteArray(10 * 1024 * 1024, 'x') << false;
        QTest::newRow("notes, not a project")
            << QByteArray("# Notes\r\nmilk=2\r\n[Goals\r\n") << false;
        QTest::newRow("binary bytes")
            << QByteArray("\x89PNG\r\n\x1a\n\xff\xfe\x81\x8d\x90\xc0\x80") << false;
        QTest::newRow("nul bytes") << head + QByteArray("Goal1=1-2\0-3\r\n", 14) << false;
        QTest::newRow("utf-8 bom")
            << "\xEF\xBB\xBF" + head + goal(1, "1-2-3", "1", {"caf\xC3\xA9"}) << true;
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("utf-16 bom")
            << QByteArray(utf16(u"[Project]\r\nName=Wide \u00E9\r\n"_s)) << true;
        const QByteArray diaeresis = QString(10000, QChar(0x00A8)).toUtf8();
        QTest::newRow("10000 diaeresis")
            << QByteArray(head).replace("Damaged", diaeresis) + goal(1, "1-2-3", "1", {diaeresis})
            << true;
        QByteArray nine = head;
        for (int n = 1; n <= 9; ++n)
            nine += goal(n, QByteArray::number(n) + "-0-0", "1", {"t"});
        QTest::newRow("nine sub-goals") << nine << true;
        QTest::newRow("key leaving tmp") << head + goal(1, "../x", "0") << false;
        // Files the fuzzer once broke save-and-open with.
        const QDir fuzz(QStringLiteral(AIMWELL_TEST_DATA "/fuzz-crashes"));
        for (const QString& name : fuzz.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << fileBytes(fuzz.filePath(name)) << true;
    }

    // A damaged file is refused in bounded time; one that is read has at most eight sub-goals,
    // and reads back the same once saved.
    void damagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, opens);
        TempAppFolder dir;
        writeFile(dir.file(u"d.gpj"_s), bytes);
        const QDeadlineTimer limit(30000);
        const auto read = ProjectFile::read(dir.file(u"d.gpj"_s));
        QVERIFY2(!limit.hasExpired(), "reading took too long");
        QCOMPARE(read.ok(), opens);
        QVERIFY(read.value.goals.size() <= 8);
        QVERIFY(ProjectFile::parse(ProjectFile::serialize(read.value)).value == read.value);
    }

    // A folder where a task file goes is told; one chosen as the project is refused, and the
    // open project stays as it was. (A link where a task file goes: tst_components.)
    void thingsInTheWay()
    {
        WindowFixture f;
        QDir().mkpath(f.folder.file(u"tmp/1-1-1.txt"_s));
        const QString path = f.folder.file(u"projects/P.gpj"_s);
        writeFile(path, "[Project]\r\nName=P\r\n[Goals]\r\n" +
                            goal(1, "1-1-1", "2", {"a --", "b"}) + goal(2, "2-2-2", "1", {"c --"}));
        f.w().openProjectFile(path);
        QVERIFY(f.prompt.last().startsWith(u"Task File: "_s) &&
                f.prompt.last().contains(f.folder.file(u"tmp/1-1-1.txt"_s)));
        QCOMPARE(f.text(u"lblTasks_Total_1"_s), u"Tasks: 2"_s); // shown all the same
        QCOMPARE(fileBytes(f.taskFile(2)), QByteArray("c --\r\n"));
        // Elsewhere and back, the text is still there; typed on, saving stores it even so.
        f.click(u"lblGoal_2"_s);
        f.click(u"lblGoal_1"_s);
        QCOMPARE(f.find<TaskEditor>(u"txtGoalTasks"_s)->tasksText(), u"a --\nb\n"_s);
        QTest::keyClicks(f.find(u"txtGoalTasks"_s), u"!"_s);
        f.prompt.saveChoices = {f.folder.file(u"projects/Again.gpj"_s)};
        QVERIFY(f.w().mnuSaveAs_Click());
        QVERIFY(fileBytes(f.folder.file(u"projects/Again.gpj"_s))
                    .contains("Goal1_Tasks=2\r\nGoal1_Task1=!a --\r\nGoal1_Task2=b\r\n"));

        typeText(f.find(u"txtProjectName"_s), u"!"_s);
        f.prompt.answers = {Answer::No};
        f.w().openProjectFile(f.folder.file(u"imgs"_s));
        QVERIFY(
            f.prompt.last().startsWith(u"Open Project: The file \""_s + f.folder.file(u"imgs"_s)) &&
            f.prompt.last().contains(u"could not be opened"_s));
        QVERIFY(f.w().project().name() == u"P!"_s && f.w().projectModified() &&
                f.w().currentProjectFile() == f.folder.file(u"projects/Again.gpj"_s));
    }

    // A write that fails half way leaves the old file whole; each failure is told once.
    void fullDisk()
    {
        WindowFixture f;
        f.addSubGoals({u"Big"_s});
        f.typeTasks(1, u"first task --"_s);
        const QString path = f.save();
        const QByteArray savedProject = fileBytes(path), savedTasks = fileBytes(f.taskFile(1));
        {
            std::signal(SIGXFSZ, SIG_IGN); // files of this process end a few bytes past the tasks
            rlimit old{};
            getrlimit(RLIMIT_FSIZE, &old);
            const rlimit low{rlim_t(savedTasks.size() + 20), old.rlim_max};
            setrlimit(RLIMIT_FSIZE, &low);
            const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &old); });
            typeText(f.find(u"txtGoalTasks"_s), u"\nsecond task, long enough to pass the limit"_s);
            QVERIFY(!f.w().mnuSave_Click());
        }
        // Saved, then the task file and the save once each.
        QCOMPARE(f.prompt.captions(), (QStringList{u"Done"_s, u"Task File"_s, u"Save Project"_s}));
        QVERIFY(f.w().projectModified() && fileBytes(path) == savedProject);
        const QByteArray now = fileBytes(f.taskFile(1));
        QVERIFY(now == savedTasks || now.startsWith("first task --\r\nsecond"));
        QVERIFY(f.w().mnuSave_Click()); // room again: everything typed reaches the file
        QVERIFY(
            fileBytes(path).contains("Goal1_Task2=second task, long enough to pass the limit\r\n"));
    }
};

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
