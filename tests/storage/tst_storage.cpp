#include "app/MainWindow.h"
#include "components/TextFile.h"
#include "dashboard/GoalPanel.h"
#include "storage/IniDocument.h"
#include "storage/ProjectFile.h"
#include "support/TestPaths.h"
#include "support/TestSupport.h"
#include "tasks/TaskEditor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray golden(const char* name)
{
    return fileBytes(QStringLiteral(AIMWELL_TEST_DATA "/") + QString::fromLatin1(name));
}

// Every file in a folder with its bytes, to prove that nothing changed.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, fileBytes(path));
    }
    return files;
}

// Runs fn in a child process whose files may not grow beyond limit bytes.
int underFileSizeLimit(rlim_t limit, const std::function<bool()>& fn)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
        _exit(fn() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void iniReadingRules();
    void emptyProjectIsThreeLines();
    void fullProjectBytesAndRoundTrip();
    void oldWindowsFileOpens();
    void countsAndNumbering();
    void badFilesAreRefusedAndTheOpenProjectKept_data();
    void badFilesAreRefusedAndTheOpenProjectKept();
    void failedSaveIsReportedAndTheOldFileSurvives();
    void fullDiskLeavesThePreviousFiles();
    void unsavedChangesAreAskedAbout();
    void saveAsCancelledOnANamedProject();
    void newProjectQuestion();

private:
    void buildFullProject(WindowFixture& f);
};

void TestStorage::iniReadingRules()
{
    const IniDocument ini = IniDocument::parse(
        QStringLiteral("Name=outside\n[project]\r\nNAME= first =x "
                       "\r\nname=second\n[Goals]\nGoal1=1\n[PROJECT]\nName=third\n"));
    QCOMPARE(ini.value(QStringLiteral("PROJECT"), QStringLiteral("name")),
             QStringLiteral(" first =x "));
    QCOMPARE(ini.value(QStringLiteral("goals"), QStringLiteral("GOAL1")), QStringLiteral("1"));
    QVERIFY(ini.value(QStringLiteral("goals"), QStringLiteral("Goal2")).isNull());
    QVERIFY(ini.value(QStringLiteral("none"), QStringLiteral("Name")).isEmpty());
}

void TestStorage::emptyProjectIsThreeLines()
{
    WindowFixture f;
    const QString path = f.folder.file(QStringLiteral("projects/Empty.gpj"));
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSave_Click()); // creates the missing projects folder too
    QCOMPARE(fileBytes(path), golden("empty-project.gpj"));
    QCOMPARE(f.prompt.shown.last().text, QStringLiteral("Ready! Project saved."));
    QCOMPARE(f.prompt.shown.last().caption, QStringLiteral("Done"));
    QCOMPARE(f.w().currentProjectFile(), path);
    QCOMPARE(f.w().findChild<QLabel*>(QStringLiteral("lblFilename"))->text(), path);
}

void TestStorage::buildFullProject(WindowFixture& f)
{
    auto* name = f.w().findChild<QLineEdit*>(QStringLiteral("txtProjectName"));
    name->selectAll();
    typeText(name, QStringLiteral("House & Home"));
    f.addSubGoals({QStringLiteral("Paint house"), QStringLiteral(" spaced name "),
                   QStringLiteral("a\u00A8b=c;d"), QStringLiteral("Garden"),
                   QStringLiteral("Taxes 2026"), QStringLiteral("Empty list"),
                   QStringLiteral("Never opened"),
                   QStringLiteral("\u00DCn\u00EFc\u00F8d\u00E9 \u20AC")});
    f.typeTasks(1, QStringLiteral("buy paint --\nsand walls"));
    f.typeTasks(2, QStringLiteral("x"));
    f.typeTasks(3, QStringLiteral("k=v;w \"quoted\""));
    f.typeTasks(4, QStringLiteral("weed --\n\nwater --"));
    f.typeTasks(5, QStringLiteral("long ") + QString(300, u'x'));
    f.typeTasks(6, QString());
    f.typeTasks(8, QStringLiteral("caf\u00E9 --"));
    f.w().panel(1)->setDueDate(QStringLiteral("15 Mar 2026"));
    f.w().panel(4)->setDueDate(QStringLiteral("1 Jan 2027"));
}

void TestStorage::fullProjectBytesAndRoundTrip()
{
    WindowFixture f;
    buildFullProject(f);
    const QString path = f.folder.file(QStringLiteral("projects/Full.gpj"));
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
    QCOMPARE(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_0"))->text(),
             QStringLiteral("House & Home"));
    QCOMPARE(f.w().subGoalNames()[1], QStringLiteral(" spaced name "));
    QCOMPARE(f.w().panel(3)->name(), QStringLiteral("a\u00A8b=c;d"));
    QCOMPARE(f.w().panel(3)->key(), QStringLiteral("106-307-308"));
    QCOMPARE(f.w().panel(4)->dueCaption(), QStringLiteral("Due Date: 1 Jan 2027"));
    QCOMPARE(f.w().findChild<QLabel*>(QStringLiteral("lblTasks_Total_4"))->text(),
             QStringLiteral("Tasks: 2"));
    QCOMPARE(f.w().findChild<QLabel*>(QStringLiteral("lblTasks_Pending_1"))->text(),
             QStringLiteral("Pending: 1"));
    QCOMPARE(fileBytes(f.taskFile(4)), QByteArray("weed --\r\n\r\nwater --\r\n"));
    QCOMPARE(fileBytes(f.taskFile(7)), QByteArray());
    QCOMPARE(f.w().selectedGoalIndex(), 0);
    QCOMPARE(QDir(f.folder.file(QStringLiteral("tmp"))).entryList(QDir::Files).size(), 8);

    const QString again = f.folder.file(QStringLiteral("projects/Again.gpj"));
    f.prompt.saveChoices = {again};
    QVERIFY(f.w().mnuSaveAs_Click());
    QCOMPARE(fileBytes(again), golden("full-project.gpj"));
}

void TestStorage::oldWindowsFileOpens()
{
    WindowFixture f;
    const QString path = QStringLiteral(AIMWELL_TEST_DATA "/old-windows1252.gpj");
    f.prompt.openChoices = {path};
    f.w().mnuOpen_Click();
    QVERIFY2(f.prompt.shown.isEmpty(), qPrintable(f.prompt.texts().join(u'\n')));
    QCOMPARE(f.w().findChild<QLineEdit*>(QStringLiteral("txtProjectName"))->text(),
             QStringLiteral("Caf\u00E9 Pl\u00E4ne"));
    QCOMPARE(f.w().panel(1)->name(), QStringLiteral("R\u00E9sum\u00E9"));
    QCOMPARE(f.w().panel(1)->dueTag(), QStringLiteral("15/03/98"));
    QCOMPARE(TextFile::load(f.taskFile(1)).value, QStringLiteral("\u20AC 50 --\nna\u00EFve\n"));
    // Numbering 1, 2, 4: only two load; a fractional count is rounded down.
    QCOMPARE(f.w().subGoalNames().size(), 2);
    QVERIFY(!f.w().panel(3)->isVisible());
    QCOMPARE(fileBytes(f.taskFile(2)), QByteArray("only one\r\n\r\n"));
    QCOMPARE(f.w().findChild<QLabel*>(QStringLiteral("lblTasks_Total_2"))->text(),
             QStringLiteral("Tasks: 1"));
}

void TestStorage::countsAndNumbering()
{
    const auto parsed = [](const char* text) { return ProjectFile::parse(QByteArray(text)); };
    auto p = parsed("[Goals]\nGoal1=1-2-3\nGoal1_Name=n\nGoal1_Tasks= 2 "
                    "\nGoal1_Task1=a\nGoal1_Task3=ignored\n");
    QVERIFY(p.ok());
    QCOMPARE(p.value.goals[0].tasks, (QStringList{QStringLiteral("a"), QString()}));
    p = parsed("[Goals]\nGoal1=1-2-3\nGoal2_Name=orphan\n");
    QCOMPARE(p.value.goals.size(), 1);
    QVERIFY(p.value.goals[0].tasks.isEmpty());
    p = parsed("[Project]\nName=only\n");
    QVERIFY(p.ok() && p.value.goals.isEmpty() && p.value.name == QStringLiteral("only"));
    // Values are read whole: no 254-character cut.
    const QByteArray longName(1000, 'n');
    p = ProjectFile::parse("[Project]\nName=" + longName + "\n");
    QCOMPARE(p.value.name.size(), 1000);
}

void TestStorage::badFilesAreRefusedAndTheOpenProjectKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray head("[Project]\r\nName=Bad\r\n[Goals]\r\nGoal1=1-2-3\r\nGoal1_Name=n\r\n");
    QTest::newRow("letters") << head + "Goal1_Tasks=two\r\n" << QStringLiteral("is not a number");
    QTest::newRow("negative") << head + "Goal1_Tasks=-1\r\n" << QStringLiteral("is negative");
    QTest::newRow("huge") << head + "Goal1_Tasks=99999999999999999999\r\n"
                          << QStringLiteral("larger than the file");
    QTest::newRow("more than the file") << head + "Goal1_Tasks=500\r\n"
                                        << QStringLiteral("larger than the file");
    QTest::newRow("nul bytes") << QByteArray("[Project]\0Name=x", 16)
                               << QStringLiteral("not a text file");
    QTest::newRow("key leaving tmp")
        << QByteArray("[Goals]\nGoal1=../../escape\n") << QStringLiteral("not a valid key");
    QTest::newRow("a folder") << QByteArray() << QStringLiteral("folder");
}

void TestStorage::badFilesAreRefusedAndTheOpenProjectKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    WindowFixture f;
    f.addSubGoals({QStringLiteral("Keep me")});
    f.typeTasks(1, QStringLiteral("kept --"));
    const QString current = f.folder.file(QStringLiteral("projects/Current.gpj"));
    f.prompt.saveChoices = {current};
    QVERIFY(f.w().mnuSave_Click());
    QTest::keyClicks(f.w().findChild<TaskEditor*>(QStringLiteral("txtGoalTasks")),
                     QStringLiteral("!"));
    const QString bad = f.folder.file(QStringLiteral("projects/Bad.gpj"));
    if (reason == QStringLiteral("folder"))
        QDir().mkpath(bad);
    else
        writeFile(bad, bytes);
    const auto before = snapshot(f.folder.path());
    f.prompt.shown.clear();
    f.prompt.openChoices = {bad};
    f.prompt.answers = {Answer::No}; // do not save the open changes first
    f.w().mnuOpen_Click();
    QCOMPARE(f.prompt.shown.size(), 2);
    QCOMPARE(f.prompt.shown[1].caption, QStringLiteral("Open Project"));
    QVERIFY2(f.prompt.shown[1].text.contains(reason), qPrintable(f.prompt.shown[1].text));
    QVERIFY(f.prompt.shown[1].text.contains(bad));
    const auto after = snapshot(f.folder.path());
    QCOMPARE(after.keys(), before.keys());
    QVERIFY(after == before);
    QCOMPARE(f.w().currentProjectFile(), current);
    QCOMPARE(f.w().panel(1)->name(), QStringLiteral("Keep me"));
    QCOMPARE(f.w().selectedGoalIndex(), 1);
    QVERIFY(f.w().projectModified());
}

void TestStorage::failedSaveIsReportedAndTheOldFileSurvives()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("A")});
    f.typeTasks(1, QStringLiteral("t"));
    const QString blocked = f.folder.file(QStringLiteral("projects/Blocked.gpj"));
    QDir().mkpath(blocked);
    f.prompt.saveChoices = {blocked};
    QVERIFY(!f.w().mnuSave_Click());
    QVERIFY(f.w().projectModified());
    QVERIFY(!f.prompt.showed(QStringLiteral("Ready! Project saved.")));
    QCOMPARE(f.prompt.shown.last().caption, QStringLiteral("Save Project"));
    QVERIFY(f.prompt.shown.last().text.contains(blocked));

    // A task file that cannot be read stops the save rather than dropping its tasks.
    const QString good = f.folder.file(QStringLiteral("projects/Good.gpj"));
    f.prompt.saveChoices = {good};
    QVERIFY(f.w().mnuSaveAs_Click());
    const QByteArray saved = fileBytes(good);
    QVERIFY(QFile::remove(f.taskFile(1)));
    QDir().mkpath(f.taskFile(1));
    QVERIFY(!f.w().mnuSave_Click());
    QCOMPARE(fileBytes(good), saved);
}

void TestStorage::fullDiskLeavesThePreviousFiles()
{
    TempAppFolder dir;
    const QString project = dir.file(QStringLiteral("p.gpj"));
    const QString tasks = dir.file(QStringLiteral("t.txt"));
    QVERIFY(ProjectFile::write(project, "old project\r\n").ok());
    QVERIFY(TextFile::save(tasks, QStringLiteral("old tasks")).ok());
    ProjectData big;
    big.goals.append({QStringLiteral("1-2-3"), QStringLiteral("n"), QString(),
                      QStringList(2000, QStringLiteral("task"))});
    const QByteArray bytes = ProjectFile::serialize(big);
    QCOMPARE(underFileSizeLimit(4096, [&] { return ProjectFile::write(project, bytes).ok(); }), 1);
    QCOMPARE(underFileSizeLimit(4096, [&] { return TextFile::saveBytes(tasks, bytes).ok(); }), 1);
    QCOMPARE(fileBytes(project), QByteArray("old project\r\n"));
    QCOMPARE(fileBytes(tasks), QByteArray("old tasks"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    // Within the limit the same calls succeed.
    QCOMPARE(underFileSizeLimit(1 << 20, [&] { return ProjectFile::write(project, bytes).ok(); }),
             0);
    QCOMPARE(fileBytes(project), bytes);
}

void TestStorage::unsavedChangesAreAskedAbout()
{
    WindowFixture f;
    const QString other = f.folder.file(QStringLiteral("projects/Other.gpj"));
    writeFile(other, golden("empty-project.gpj"));
    f.addSubGoals({QStringLiteral("Unsaved")});

    // Close: Cancel stays, Yes with a cancelled save window stays, No closes.
    f.prompt.answers = {Answer::Cancel};
    QVERIFY(!f.w().close());
    QCOMPARE(f.prompt.shown.last().text, QStringLiteral("Want to save changes before?"));
    QCOMPARE(f.prompt.shown.last().caption, QStringLiteral("Save Changes"));
    QCOMPARE(f.prompt.shown.last().buttons, Message::Buttons::YesNoCancel);
    f.prompt.answers = {Answer::Yes};
    QVERIFY(!f.w().close());
    QCOMPARE(f.prompt.saveWindows, 1);

    // Open after choosing a file: Cancel keeps everything, Yes saves first.
    f.prompt.openChoices = {other};
    f.prompt.answers = {Answer::Cancel};
    f.w().mnuOpen_Click();
    QCOMPARE(f.w().panel(1)->name(), QStringLiteral("Unsaved"));
    const QString saved = f.folder.file(QStringLiteral("projects/Saved.gpj"));
    f.prompt.openChoices = {other};
    f.prompt.answers = {Answer::Yes};
    f.prompt.saveChoices = {saved};
    f.w().mnuOpen_Click();
    QVERIFY(fileBytes(saved).contains("Goal1_Name=Unsaved"));
    QCOMPARE(f.w().currentProjectFile(), other);
    QVERIFY(!f.w().panel(1)->isVisible());

    // Nothing unsaved: Exit closes without a question.
    const int asked = f.prompt.shown.size();
    f.w().mnuExit_Click();
    QVERIFY(!f.w().isVisible());
    QCOMPARE(f.prompt.shown.size(), asked);
}

void TestStorage::saveAsCancelledOnANamedProject()
{
    WindowFixture f;
    const QString path = f.folder.file(QStringLiteral("projects/Named.gpj"));
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSaveAs_Click());
    f.addSubGoals({QStringLiteral("Later")});
    // Cancel in the save window still writes the project to its current file.
    QVERIFY(f.w().mnuSaveAs_Click());
    QVERIFY(fileBytes(path).contains("Goal1_Name=Later"));

    // Cancel on an unnamed project saves nothing.
    WindowFixture g;
    QVERIFY(!g.w().mnuSaveAs_Click());
    QVERIFY(g.w().currentProjectFile().isEmpty());
    QVERIFY(!QDir(g.folder.file(QStringLiteral("projects"))).exists());
}

void TestStorage::newProjectQuestion()
{
    WindowFixture f;
    f.w().mnuNew_Click();
    QVERIFY(f.prompt.shown.isEmpty());

    f.addSubGoals({QStringLiteral("Gone")});
    f.prompt.answers = {Answer::No};
    f.w().mnuNew_Click();
    QCOMPARE(f.prompt.shown.last().buttons, Message::Buttons::YesNo);
    QCOMPARE(f.prompt.saveWindows, 0);
    QVERIFY(!f.w().panel(1)->isVisible());
    QCOMPARE(f.w().findChild<QLabel*>(QStringLiteral("lblFilename"))->text(),
             QStringLiteral("New Project (No Filename)"));
    QCOMPARE(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_0"))->text(),
             QStringLiteral("My Goal"));

    // Yes on an unnamed project opens the save window; cancelling it still starts anew.
    f.addSubGoals({QStringLiteral("Also gone")});
    f.prompt.answers = {Answer::Yes};
    f.w().mnuNew_Click();
    QCOMPARE(f.prompt.saveWindows, 1);
    QVERIFY(!f.w().panel(1)->isVisible());
    QVERIFY(!f.w().projectModified());
}

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
