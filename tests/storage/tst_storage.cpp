#include "app/MainWindow.h"
#include "components/TextFile.h"
#include "dashboard/GoalPanel.h"
#include "sidebar/TaskEditor.h"
#include "storage/IniDocument.h"
#include "storage/ProjectFile.h"
#include "support/TestPaths.h"
#include "support/TestSupport.h"

#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray golden(const char* name)
{
    return fileBytes(QStringLiteral(AIMWELL_TEST_DATA "/") + QString::fromLatin1(name));
}

void buildFullProject(WindowFixture& f)
{
    auto* name = f.find<QLineEdit>(u"txtProjectName"_s);
    name->selectAll();
    typeText(name, u"House & Home"_s);
    f.addSubGoals({u"Paint house"_s, u" spaced name "_s, u"a\u00A8b=c;d"_s, u"Garden"_s,
                   u"Taxes 2026"_s, u"Empty list"_s, u"Never opened"_s,
                   u"\u00DCn\u00EFc\u00F8d\u00E9 \u20AC"_s});
    f.typeTasks(1, u"buy paint --\nsand walls"_s);
    f.typeTasks(2, u"x"_s);
    f.typeTasks(3, u"k=v;w \"quoted\""_s);
    f.typeTasks(4, u"weed --\n\nwater --"_s);
    f.typeTasks(5, u"long "_s);
    // One key event brings the long run, as an input method may; 300 would slow the test.
    for (const auto action : {QTest::Press, QTest::Release})
        QTest::sendKeyEvent(action, f.find(u"txtGoalTasks"_s), Qt::Key_unknown, QString(300, u'x'),
                            Qt::NoModifier);
    f.typeTasks(6, QString());
    f.typeTasks(8, u"caf\u00E9 --"_s);
    f.w().project().setDue(1, u"15 Mar 2026"_s);
    f.w().project().setDue(4, u"1 Jan 2027"_s);
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void iniReadingRules();
    void fullProjectBytesAndRoundTrip();
    void largeValuesAreWrittenWhole();
    void oldWindowsFileOpens();
    void saveAsCancelledOnANamedProject();
    void unsavedChangesAreAskedAbout_data();
    void unsavedChangesAreAskedAbout();
    void editsMarkTheProjectModified();
};

void TestStorage::iniReadingRules()
{
    const IniDocument ini = IniDocument::parse(
        "Name=outside\n[project]\r\nNAME= first =x \r\nname=second\n[Goals]\nGoal1=1\n"
        "goal1_task2=b\rc\nGOAL1_TASK2=dup\nGoal1_Task1=a\nGoal1_Task03=z\n[PROJECT]\nName=third\n["
        "goals]\nGoal2="
        "2\n");
    QCOMPARE(ini.value(u"PROJECT"_s, u"name"_s), u" first =x "_s);
    QCOMPARE(ini.value(u"goals"_s, u"GOAL1"_s), u"1"_s);
    QVERIFY(ini.value(u"goals"_s, u"Goal2"_s).isEmpty());
    QVERIFY(ini.value(u"none"_s, u"Name"_s).isEmpty());
    // Task lines: first one wins, a lone CR reads as a blank, missing ones are empty; a
    // number written otherwise is another key.
    QCOMPARE(ini.tasks(1, 3), (QStringList{u"a"_s, u"b c"_s, QString()}));
    QCOMPARE(ini.value(u"Goals"_s, u"goal1_TASK2"_s), u"b c"_s);
    QCOMPARE(ini.value(u"Goals"_s, u"Goal1_Task03"_s), u"z"_s);
    QCOMPARE(ini.lineCount(), 14);

    // "." stands for no date; it never shows or goes back into the file.
    const auto dotted = ProjectFile::parse("[Project]\r\nName=n\r\n[Goals]\r\nGoal1=1-2-3\r\n"
                                           "Goal1_Name=a\r\nGoal1_Due=.\r\n");
    QVERIFY(dotted.ok());
    QVERIFY(dotted.value.goals.at(0).due.isEmpty());
    QVERIFY(ProjectFile::serialize(dotted.value).contains("Goal1_Due=\r\n"));
}

void TestStorage::fullProjectBytesAndRoundTrip()
{
    WindowFixture f;
    buildFullProject(f);
    const QString path = f.folder.file(u"projects/Full.gpj"_s);
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSave_Click());
    QCOMPARE(fileBytes(path), golden("full-project.gpj"));
    // Saving again without changes gives the same bytes.
    QVERIFY(f.w().mnuSave_Click());
    QCOMPARE(fileBytes(path), golden("full-project.gpj"));

    // The names, keys and tasks read back are proven by the Save As at the end; here what shows.
    f.w().mnuNew_Click();
    f.prompt.openChoices = {path};
    QSignalSpy resets(&f.w().project(), &Project::goalsReset);
    f.w().mnuOpen_Click();
    QCOMPARE(resets.size(), 1);
    QVERIFY(!f.w().projectModified());
    QCOMPARE(f.text(u"lblGoal_0"_s), u"House & Home"_s);
    QCOMPARE(f.w().panel(3)->name(), u"a\u00A8b=c;d"_s);
    QCOMPARE(f.w().panel(4)->dueCaption(), u"Due Date: 1 Jan 2027"_s);
    QCOMPARE(f.text(u"lblTasks_Total_4"_s), u"Tasks: 2"_s);
    QCOMPARE(f.text(u"lblTasks_Pending_1"_s), u"Pending: 1"_s);
    QCOMPARE(fileBytes(f.taskFile(4)), QByteArray("weed --\r\n\r\nwater --\r\n"));
    QCOMPARE(fileBytes(f.taskFile(7)), QByteArray());
    QCOMPARE(f.w().selectedGoalIndex(), 0);
    QCOMPARE(QDir(f.folder.file(u"tmp"_s)).entryList(QDir::Files).size(), 8);
    const QString again = f.folder.file(u"projects/Again.gpj"_s);
    f.prompt.saveChoices = {again};
    QVERIFY(f.w().mnuSaveAs_Click());
    QCOMPARE(fileBytes(again), golden("full-project.gpj"));
}

// The writer hands the file on in blocks; values longer than a block, and the many lines
// of a big list crossing block ends, must come out byte for byte as plain concatenation.
void TestStorage::largeValuesAreWrittenWhole()
{
    SubGoalRecord huge{u"1-2-3"_s, u"Huge"_s, {}, {}};
    huge.tasks << QString(200000, QChar(0x20AC)) + u"\r\nend"_s << u"after --"_s
               << u"line one\r\nline two\nline three\rfour"_s << u"a\rb"_s;
    SubGoalRecord many{u"4-5-6"_s, u"Many"_s, u"12/31/2026"_s, {}};
    // Line breaks inside a task become blanks.
    QString expected =
        u"[Project]\r\nName=Big \u00E9\r\n[Goals]\r\nGoal1=1-2-3\r\nGoal1_Name=Huge\r\n"
        u"Goal1_Due=\r\nGoal1_Tasks=4\r\nGoal1_Task1="_s +
        QString(200000, QChar(0x20AC)) +
        u"  end\r\nGoal1_Task2=after --\r\nGoal1_Task3=line one  line two line three four\r\n"
        u"Goal1_Task4=a b\r\nGoal2=4-5-6\r\nGoal2_Name=Many\r\nGoal2_Due=12/31/2026\r\n"
        u"Goal2_Tasks=20000\r\n"_s;
    for (int i = 0; i < 20000; ++i) {
        many.tasks << u"task %1 \u00FC"_s.arg(i);
        expected += u"Goal2_Task%1=task %2 \u00FC\r\n"_s.arg(i + 1).arg(i);
    }
    const ProjectData project{u"Big \u00E9"_s, {huge, many}};
    const QByteArray bytes = ProjectFile::serialize(project);
    QVERIFY(bytes == expected.toUtf8());

    TempAppFolder folder;
    const QString path = folder.file(u"big.gpj"_s);
    QVERIFY(ProjectFile::save(path, project).ok());
    QVERIFY(fileBytes(path) == bytes);
}

void TestStorage::oldWindowsFileOpens()
{
    WindowFixture f;
    const QString path = QStringLiteral(AIMWELL_TEST_DATA "/old-windows1252.gpj");
    f.prompt.openChoices = {path};
    f.w().mnuOpen_Click();
    QVERIFY2(f.prompt.shown.isEmpty(), qPrintable(f.prompt.texts().join(u'\n')));
    QCOMPARE(f.text(u"txtProjectName"_s), u"Caf\u00E9 Pl\u00E4ne"_s);
    QCOMPARE(f.w().panel(1)->name(), u"R\u00E9sum\u00E9"_s);
    QCOMPARE(f.w().project().goal(1).due, u"15/03/98"_s);
    QCOMPARE(TextFile::load(f.taskFile(1)).value, u"\u20AC 50 --\nna\u00EFve\n"_s);
    // Numbering 1, 2, 4: only two load; a fractional count is rounded down.
    QCOMPARE(f.w().subGoalNames().size(), 2);
    QVERIFY(!f.w().panel(3)->isVisible());
    QCOMPARE(fileBytes(f.taskFile(2)), QByteArray("only one\r\n\r\n"));
    QCOMPARE(f.text(u"lblTasks_Total_2"_s), u"Tasks: 1"_s);
}

void TestStorage::saveAsCancelledOnANamedProject()
{
    WindowFixture f;
    QVERIFY(!f.w().mnuSaveAs_Click()); // unnamed: nothing is saved, and nothing claims it was
    QVERIFY(!QDir(f.folder.file(u"projects"_s)).exists());
    QVERIFY(f.prompt.shown.isEmpty());
    const QString path = f.folder.file(u"projects/Named.gpj"_s);
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSave_Click()); // creates the missing projects folder too
    QCOMPARE(fileBytes(path), golden("empty-project.gpj"));
    QCOMPARE(f.prompt.shown.last().text, u"Ready! Project saved."_s);
    QCOMPARE(f.prompt.shown.last().caption, u"Done"_s);
    QCOMPARE(f.text(u"lblFilename"_s), path);
    f.addSubGoals({u"Later"_s});
    // Cancel in the save window still writes the project to its current file.
    QVERIFY(f.w().mnuSaveAs_Click());
    QVERIFY(fileBytes(path).contains("Goal1_Name=Later"));
    f.w().mnuExit_Click(); // nothing unsaved, so no question holds it open
    QVERIFY(!f.w().isVisible());
}

// Changes that would be lost are asked about first; Cancel, and a save that did not happen,
// keep them, and the project keeps the file it had.
void TestStorage::unsavedChangesAreAskedAbout_data()
{
    QTest::addColumn<QString>("action"); // exit, open (through its window), file or new
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("saveTo"); // "" cancels the save window
    QTest::addColumn<bool>("kept");
    QTest::newRow("exit, Cancel") << u"exit"_s << Answer::Cancel << u""_s << true;
    QTest::newRow("exit, save cancelled") << u"exit"_s << Answer::Yes << u""_s << true;
    QTest::newRow("open, Cancel") << u"open"_s << Answer::Cancel << u""_s << true;
    QTest::newRow("open, saved first") << u"open"_s << Answer::Yes << u"Saved.gpj"_s << false;
    QTest::newRow("file, No") << u"file"_s << Answer::No << u""_s << false;
    QTest::newRow("new, Cancel") << u"new"_s << Answer::Cancel << u""_s << true;
    QTest::newRow("new, No") << u"new"_s << Answer::No << u""_s << false;
    QTest::newRow("new, save cancelled") << u"new"_s << Answer::Yes << u""_s << true;
    QTest::newRow("new, save failed") << u"new"_s << Answer::Yes << u"Blocked.gpj"_s << true;
}

void TestStorage::unsavedChangesAreAskedAbout()
{
    QFETCH(QString, action);
    QFETCH(Answer, answer);
    QFETCH(QString, saveTo);
    QFETCH(bool, kept);
    WindowFixture f;
    f.w().mnuNew_Click(); // nothing to lose yet, so nothing is asked
    QVERIFY(f.prompt.shown.isEmpty());
    const QString other = f.folder.file(u"projects/Other.gpj"_s);
    writeFile(other, golden("empty-project.gpj"));
    const QString target = f.folder.file(u"projects/"_s + saveTo);
    QDir().mkpath(f.folder.file(u"projects/Blocked.gpj"_s)); // a folder, so saving there fails
    f.addSubGoals({u"Unsaved"_s});
    f.prompt.answers = {answer};
    f.prompt.openChoices = {other};
    if (!saveTo.isEmpty())
        f.prompt.saveChoices = {target};
    if (action == u"exit")
        f.w().mnuExit_Click();
    else if (action == u"open")
        f.w().mnuOpen_Click();
    else if (action == u"file")
        f.w().openProjectFile(other);
    else
        f.w().mnuNew_Click();

    const Message question = f.prompt.shown.first();
    QCOMPARE(question.text, u"Want to save changes before?"_s);
    QCOMPARE(question.caption, u"Save Changes"_s);
    QCOMPARE(question.buttons,
             action == u"new" ? Message::Buttons::YesNo : Message::Buttons::YesNoCancel);
    QCOMPARE(f.prompt.saveWindows, answer == Answer::Yes ? 1 : 0);
    QCOMPARE(f.prompt.openWindows, action == u"open" ? 1 : 0);
    if (saveTo == u"Saved.gpj")
        QVERIFY(fileBytes(target).contains("Goal1_Name=Unsaved"));
    if (saveTo == u"Blocked.gpj") {
        QCOMPARE(f.prompt.shown.last().caption, u"Save Project"_s);
        QVERIFY(f.prompt.shown.last().text.contains(target));
        QVERIFY(!f.prompt.showed(u"Ready! Project saved."_s));
    }
    QVERIFY(f.w().isVisible());
    QCOMPARE(f.w().projectModified(), kept);
    QCOMPARE(f.text(u"lblFilename"_s),
             action == u"new" || kept ? u"New Project (No Filename)"_s : other);
    if (kept) {
        QCOMPARE(f.w().panel(1)->name(), u"Unsaved"_s);
        QVERIFY(f.w().history().canUndo());
    } else {
        QVERIFY(!f.w().panel(1)->isVisible());
        QCOMPARE(f.text(u"lblGoal_0"_s), u"My Goal"_s);
    }
}

// Each kind of edit marks the project modified; looking, answering No and keys that change
// no task do not. Every key release writes the tasks and recounts them.
void TestStorage::editsMarkTheProjectModified()
{
    const auto keys = [](QList<Qt::Key> keys, QByteArray file) {
        return [=](WindowFixture& f) {
            auto* editor = f.find<TaskEditor>(u"txtGoalTasks"_s);
            editor->moveCursor(QTextCursor::End);
            for (Qt::Key key : keys)
                QTest::keyClick(editor, key);
            QCOMPARE(fileBytes(f.taskFile(1)), file);
            QCOMPARE(f.text(u"lblTasks_Completed_1"_s),
                     file.contains("--") ? u"Completed: 1"_s : u"Completed: 0"_s);
        };
    };
    const auto click = [](const QString& name) { return [=](WindowFixture& f) { f.click(name); }; };
    const auto deleteAnswered = [](Answer answer) {
        return [=](WindowFixture& f) {
            f.prompt.answers = {answer};
            f.click(u"lblDelete"_s);
        };
    };
    const QList<std::tuple<const char*, std::function<void(WindowFixture&)>, bool>> edits{
        {"arrow keys", keys({Qt::Key_Left, Qt::Key_Up}, "ab --"), false},
        {"delete at the end", keys({Qt::Key_Delete}, "ab --"), false},
        {"delete inside", keys({Qt::Key_Left, Qt::Key_Delete}, "ab -"), true},
        {"backspace", keys({Qt::Key_Backspace}, "ab -"), true},
        {"enter", keys({Qt::Key_Return}, "ab --\r\n"), true},
        {"project name typed",
         [](WindowFixture& f) { QTest::keyClick(f.find(u"txtProjectName"_s), Qt::Key_X); }, true},
        {"due date ticked", click(u"chkDueDate"_s), true},
        {"due date cleared",
         [](WindowFixture& f) {
             f.w().project().setDue(2, u"1 Jan 2027"_s);
             f.click(u"lblGoal_2"_s);
             f.click(u"chkDueDate"_s);
         },
         true},
        {"date picked",
         [](WindowFixture& f) {
             f.find<QCalendarWidget>(u"Calendar1"_s)->setSelectedDate(QDate(2027, 5, 6));
         },
         true},
        {"sub-goal deleted", deleteAnswered(Answer::Yes), true},
        {"delete answered No", deleteAnswered(Answer::No), false},
        {"panels looked at", click(u"lblGoal_2"_s), false},
    };
    for (const auto& [name, edit, modified] : edits) {
        WindowFixture f;
        f.addSubGoals({u"A"_s, u"B"_s});
        f.typeTasks(1, u"ab --"_s);
        f.prompt.saveChoices = {f.folder.file(u"projects/p.gpj"_s)};
        QVERIFY(f.w().mnuSave_Click());
        f.click(u"lblGoal_1"_s);
        edit(f);
        QVERIFY2(f.w().projectModified() == modified, name);
    }
}

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
