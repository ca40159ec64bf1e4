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
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

QByteArray golden(const char* name)
{
    return fileBytes(QStringLiteral(AIMWELL_TEST_DATA "/") + QString::fromLatin1(name));
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
    void failedSaveIsReportedAndTheOldFileSurvives();
    void unsavedChangesAreAskedAbout();
    void saveAsCancelledOnANamedProject();
    void newProjectQuestion();
    void editsMarkTheProjectModified();

private:
    void buildFullProject(WindowFixture& f);
};

void TestStorage::iniReadingRules()
{
    const IniDocument ini = IniDocument::parse(
        "Name=outside\n[project]\r\nNAME= first =x \r\nname=second\n[Goals]\nGoal1=1\n"
        "goal1_task2=b\rc\nGOAL1_TASK2=dup\nGoal1_Task1=a\n[PROJECT]\nName=third\n[goals]\nGoal2="
        "2\n");
    QCOMPARE(ini.value(u"PROJECT"_s, u"name"_s), u" first =x "_s);
    QCOMPARE(ini.value(u"goals"_s, u"GOAL1"_s), u"1"_s);
    QVERIFY(ini.value(u"goals"_s, u"Goal2"_s).isEmpty());
    QVERIFY(ini.value(u"none"_s, u"Name"_s).isEmpty());
    // Task lines: first one wins, a lone CR reads as a blank, missing ones are empty.
    QCOMPARE(ini.tasks(1, 3), (QStringList{u"a"_s, u"b c"_s, QString()}));
    QCOMPARE(ini.value(u"Goals"_s, u"goal1_TASK2"_s), u"b c"_s);
    QCOMPARE(ini.lineCount(), 13);

    // "." stands for no date; it never shows or goes back into the file.
    const auto dotted = ProjectFile::parse("[Project]\r\nName=n\r\n[Goals]\r\nGoal1=1-2-3\r\n"
                                           "Goal1_Name=a\r\nGoal1_Due=.\r\n");
    QVERIFY(dotted.ok());
    QVERIFY(dotted.value.goals.at(0).due.isEmpty());
    QVERIFY(ProjectFile::serialize(dotted.value).contains("Goal1_Due=\r\n"));
}

void TestStorage::buildFullProject(WindowFixture& f)
{
    auto* name = f.w().findChild<QLineEdit*>(u"txtProjectName"_s);
    name->selectAll();
    typeText(name, u"House & Home"_s);
    f.addSubGoals({u"Paint house"_s, u" spaced name "_s, u"a\u00A8b=c;d"_s, u"Garden"_s,
                   u"Taxes 2026"_s, u"Empty list"_s, u"Never opened"_s,
                   u"\u00DCn\u00EFc\u00F8d\u00E9 \u20AC"_s});
    f.typeTasks(1, u"buy paint --\nsand walls"_s);
    f.typeTasks(2, u"x"_s);
    f.typeTasks(3, u"k=v;w \"quoted\""_s);
    f.typeTasks(4, u"weed --\n\nwater --"_s);
    f.typeTasks(5, u"long "_s + QString(300, u'x'));
    f.typeTasks(6, QString());
    f.typeTasks(8, u"caf\u00E9 --"_s);
    f.w().project().setDue(1, u"15 Mar 2026"_s);
    f.w().project().setDue(4, u"1 Jan 2027"_s);
}

void TestStorage::fullProjectBytesAndRoundTrip()
{
    WindowFixture f;
    buildFullProject(f);
    const QString path = f.folder.file(u"projects/Full.gpj"_s);
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSave_Click());
    QCOMPARE(fileBytes(path), golden("full-project.gpj"));
    QVERIFY(!f.w().projectModified());

    // Saving again without changes gives the same bytes.
    QVERIFY(f.w().mnuSave_Click());
    QCOMPARE(fileBytes(path), golden("full-project.gpj"));

    f.w().mnuNew_Click();
    QVERIFY(!f.w().panel(1)->isVisible());
    f.prompt.openChoices = {path};
    f.w().mnuOpen_Click();
    QVERIFY(!f.w().projectModified());
    QCOMPARE(f.w().currentProjectFile(), path);
    QCOMPARE(f.w().GetIni(u"project"_s, u"NAME"_s), u"House & Home"_s);
    QCOMPARE(f.w().findChild<QLabel*>(u"lblGoal_0"_s)->text(), u"House & Home"_s);
    QCOMPARE(f.w().subGoalNames()[1], u" spaced name "_s);
    QCOMPARE(f.w().panel(3)->name(), u"a\u00A8b=c;d"_s);
    QCOMPARE(f.w().project().goal(3).key, u"106-307-308"_s);
    QCOMPARE(f.w().panel(4)->dueCaption(), u"Due Date: 1 Jan 2027"_s);
    QCOMPARE(f.w().findChild<QLabel*>(u"lblTasks_Total_4"_s)->text(), u"Tasks: 2"_s);
    QCOMPARE(f.w().findChild<QLabel*>(u"lblTasks_Pending_1"_s)->text(), u"Pending: 1"_s);
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
    ProjectData project;
    project.name = u"Big \u00E9"_s;
    SubGoalRecord huge{u"1-2-3"_s, u"Huge"_s, {}, {}};
    huge.tasks << QString(200000, QChar(0x20AC)) + u"\r\nend"_s << u"after --"_s
               << u"line one\r\nline two\nline three\rfour"_s << u"a\rb"_s;
    SubGoalRecord many{u"4-5-6"_s, u"Many"_s, u"12/31/2026"_s, {}};
    for (int i = 0; i < 20000; ++i)
        many.tasks << u"task %1 \u00FC"_s.arg(i);
    project.goals = {huge, many};

    QString expected = u"[Project]\r\nName=Big \u00E9\r\n[Goals]\r\n"_s;
    int n = 0;
    for (const SubGoalRecord& g : project.goals) {
        const QString p = u"Goal"_s + QString::number(++n);
        expected += p + u"="_s + g.key + u"\r\n"_s + p + u"_Name="_s + g.name + u"\r\n"_s + p +
                    u"_Due="_s + g.due + u"\r\n"_s + p + u"_Tasks="_s +
                    QString::number(g.tasks.size()) + u"\r\n"_s;
        int m = 0;
        for (QString t : g.tasks)
            expected += p + u"_Task"_s + QString::number(++m) + u"="_s +
                        t.replace(u'\r', u' ').replace(u'\n', u' ') + u"\r\n"_s;
    }
    const QByteArray bytes = ProjectFile::serialize(project);
    QCOMPARE(bytes.size(), expected.toUtf8().size());
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
    QCOMPARE(f.w().findChild<QLineEdit*>(u"txtProjectName"_s)->text(), u"Caf\u00E9 Pl\u00E4ne"_s);
    QCOMPARE(f.w().panel(1)->name(), u"R\u00E9sum\u00E9"_s);
    QCOMPARE(f.w().project().goal(1).due, u"15/03/98"_s);
    QCOMPARE(TextFile::load(f.taskFile(1)).value, u"\u20AC 50 --\nna\u00EFve\n"_s);
    // Numbering 1, 2, 4: only two load; a fractional count is rounded down.
    QCOMPARE(f.w().subGoalNames().size(), 2);
    QVERIFY(!f.w().panel(3)->isVisible());
    QCOMPARE(fileBytes(f.taskFile(2)), QByteArray("only one\r\n\r\n"));
    QCOMPARE(f.w().findChild<QLabel*>(u"lblTasks_Total_2"_s)->text(), u"Tasks: 1"_s);
}

void TestStorage::failedSaveIsReportedAndTheOldFileSurvives()
{
    WindowFixture f;
    f.addSubGoals({u"A"_s});
    f.typeTasks(1, u"t"_s);
    const QString blocked = f.folder.file(u"projects/Blocked.gpj"_s);
    QDir().mkpath(blocked);
    f.prompt.saveChoices = {blocked};
    QVERIFY(!f.w().mnuSave_Click());
    QVERIFY(f.w().projectModified());
    QVERIFY(!f.prompt.showed(u"Ready! Project saved."_s));
    QCOMPARE(f.prompt.shown.last().caption, u"Save Project"_s);
    QVERIFY(f.prompt.shown.last().text.contains(blocked));
}

void TestStorage::unsavedChangesAreAskedAbout()
{
    WindowFixture f;
    const QString other = f.folder.file(u"projects/Other.gpj"_s);
    writeFile(other, golden("empty-project.gpj"));
    f.addSubGoals({u"Unsaved"_s});

    // Close: Cancel stays, Yes with a cancelled save window stays, No closes.
    f.prompt.answers = {Answer::Cancel};
    QVERIFY(!f.w().close());
    QCOMPARE(f.prompt.shown.last().text, u"Want to save changes before?"_s);
    QCOMPARE(f.prompt.shown.last().caption, u"Save Changes"_s);
    QCOMPARE(f.prompt.shown.last().buttons, Message::Buttons::YesNoCancel);
    f.prompt.answers = {Answer::Yes};
    QVERIFY(!f.w().close());
    QCOMPARE(f.prompt.saveWindows, 1);

    // Open after choosing a file: Cancel keeps everything, Yes saves first.
    f.prompt.openChoices = {other};
    f.prompt.answers = {Answer::Cancel};
    f.w().mnuOpen_Click();
    QCOMPARE(f.w().panel(1)->name(), u"Unsaved"_s);
    const QString saved = f.folder.file(u"projects/Saved.gpj"_s);
    f.prompt.openChoices = {other};
    f.prompt.answers = {Answer::Yes};
    f.prompt.saveChoices = {saved};
    f.w().mnuOpen_Click();
    QVERIFY(fileBytes(saved).contains("Goal1_Name=Unsaved"));
    QCOMPARE(f.w().currentProjectFile(), other);
    QVERIFY(!f.w().panel(1)->isVisible());

    // A file named on the command line asks the same; No drops the changes.
    const QString full = QStringLiteral(AIMWELL_TEST_DATA "/full-project.gpj");
    f.addSubGoals({u"Dropped"_s});
    f.prompt.answers = {Answer::Cancel};
    f.w().openProjectFile(full);
    QCOMPARE(f.w().subGoalNames(), QStringList{u"Dropped"_s});
    f.prompt.answers = {Answer::No};
    f.w().openProjectFile(full);
    QCOMPARE(f.w().currentProjectFile(), full);
    QCOMPARE(f.w().subGoalNames().first(), u"Paint house"_s);
    QVERIFY(!f.w().projectModified());
    QCOMPARE(f.prompt.openWindows, 2);

    // Nothing unsaved: Exit closes without a question.
    const int asked = f.prompt.shown.size();
    f.w().mnuExit_Click();
    QVERIFY(!f.w().isVisible());
    QCOMPARE(f.prompt.shown.size(), asked);
}

void TestStorage::saveAsCancelledOnANamedProject()
{
    WindowFixture f;
    const QString path = f.folder.file(u"projects/Named.gpj"_s);
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSave_Click()); // creates the missing projects folder too
    QCOMPARE(fileBytes(path), golden("empty-project.gpj"));
    QCOMPARE(f.prompt.shown.last().text, u"Ready! Project saved."_s);
    QCOMPARE(f.prompt.shown.last().caption, u"Done"_s);
    QCOMPARE(f.w().findChild<QLabel*>(u"lblFilename"_s)->text(), path);
    f.addSubGoals({u"Later"_s});
    // Cancel in the save window still writes the project to its current file.
    QVERIFY(f.w().mnuSaveAs_Click());
    QVERIFY(fileBytes(path).contains("Goal1_Name=Later"));

    // Cancel on an unnamed project saves nothing.
    WindowFixture g;
    QVERIFY(!g.w().mnuSaveAs_Click());
    QVERIFY(g.w().currentProjectFile().isEmpty());
    QVERIFY(!QDir(g.folder.file(u"projects"_s)).exists());
}

void TestStorage::newProjectQuestion()
{
    WindowFixture f;
    f.w().mnuNew_Click();
    QVERIFY(f.prompt.shown.isEmpty());

    f.addSubGoals({u"Gone"_s});
    f.prompt.answers = {Answer::No};
    f.w().mnuNew_Click();
    QCOMPARE(f.prompt.shown.last().buttons, Message::Buttons::YesNo);
    QCOMPARE(f.prompt.saveWindows, 0);
    QVERIFY(!f.w().panel(1)->isVisible());
    QCOMPARE(f.w().findChild<QLabel*>(u"lblFilename"_s)->text(), u"New Project (No Filename)"_s);
    QCOMPARE(f.w().findChild<QLabel*>(u"lblGoal_0"_s)->text(), u"My Goal"_s);

    // Yes on an unnamed project opens the save window; cancelling it still starts anew.
    f.addSubGoals({u"Also gone"_s});
    f.prompt.answers = {Answer::Yes};
    f.w().mnuNew_Click();
    QCOMPARE(f.prompt.saveWindows, 1);
    QVERIFY(!f.w().panel(1)->isVisible());
    QVERIFY(!f.w().projectModified());

    // Esc or closing the question keeps the project; so does a save that failed.
    f.addSubGoals({u"Kept"_s});
    f.prompt.answers = {Answer::Cancel};
    f.w().mnuNew_Click();
    QCOMPARE(f.w().panel(1)->name(), u"Kept"_s);
    const QString blocked = f.folder.file(u"projects/Blocked.gpj"_s);
    QDir().mkpath(blocked);
    f.prompt.answers = {Answer::Yes};
    f.prompt.saveChoices = {blocked};
    f.w().mnuNew_Click();
    QVERIFY(f.prompt.shown.last().text.contains(blocked));
    QCOMPARE(f.w().panel(1)->name(), u"Kept"_s);
    QVERIFY(f.w().projectModified());
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
    const QList<std::tuple<const char*, std::function<void(WindowFixture&)>, bool>> edits{
        {"arrow keys", keys({Qt::Key_Left, Qt::Key_Up}, "ab --"), false},
        {"delete at the end", keys({Qt::Key_Delete}, "ab --"), false},
        {"delete inside", keys({Qt::Key_Left, Qt::Key_Delete}, "ab -"), true},
        {"backspace", keys({Qt::Key_Backspace}, "ab -"), true},
        {"enter", keys({Qt::Key_Return}, "ab --\r\n"), true},
        {"project name typed",
         [](WindowFixture& f) { QTest::keyClick(f.find(u"txtProjectName"_s), Qt::Key_X); }, true},
        {"due date ticked", [](WindowFixture& f) { f.click(u"chkDueDate"_s); }, true},
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
        {"sub-goal deleted",
         [](WindowFixture& f) {
             f.prompt.answers = {Answer::Yes};
             f.click(u"lblDelete"_s);
         },
         true},
        {"delete answered No",
         [](WindowFixture& f) {
             f.prompt.answers = {Answer::No};
             f.click(u"lblDelete"_s);
         },
         false},
        {"panels looked at", [](WindowFixture& f) { f.click(u"lblGoal_2"_s); }, false},
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
