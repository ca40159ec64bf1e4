#include "app/MainWindow.h"
#include "dashboard/GoalPanel.h"
#include "storage/ProjectFile.h"
#include "support/TestPaths.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// What a person sees of a project: every visible text and every task file.
QStringList dashboard(WindowFixture& f)
{
    MainWindow& w = f.w();
    QStringList state{w.findChild<QLineEdit*>(u"txtProjectName"_s)->text(),
                      w.findChild<QLabel*>(u"lblGoal_0"_s)->text()};
    for (int i = 1; i <= w.project().goalCount(); ++i) {
        GoalPanel* p = w.panel(i);
        const QString due = w.project().goal(i).due;
        state << p->name() << due << (due.isEmpty() ? QString() : p->dueCaption());
        for (const char* name :
             {"lblTasks_Total_%1", "lblTasks_Completed_%1", "lblTasks_Pending_%1"})
            state << w.findChild<QLabel*>(QString::fromLatin1(name).arg(i))->text();
        state << QString::fromUtf8(fileBytes(f.taskFile(i)).toHex());
    }
    return state;
}

QByteArray goal(int n, const QByteArray& key, const QByteArray& count,
                const QList<QByteArray>& tasks = {})
{
    const QByteArray g = "Goal" + QByteArray::number(n);
    QByteArray out = g + "=" + key + "\r\n" + g + "_Name=Goal " + QByteArray::number(n) + "\r\n" +
                     g + "_Due=\r\n" + g + "_Tasks=" + count + "\r\n";
    int m = 0;
    for (const QByteArray& t : tasks)
        out += g + "_Task" + QByteArray::number(++m) + "=" + t + "\r\n";
    return out;
}

} // namespace

class TestCorpus : public QObject
{
    Q_OBJECT

private slots:
    void damagedFiles_data();
    void damagedFiles();
    void taskFileReplacedInTmp();
    void fuzzFindingsRoundTrip();
};

void TestCorpus::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens");
    const QByteArray head("[Project]\r\nName=Damaged\r\n[Goals]\r\n");
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("only goals") << QByteArray("[Goals]") << true;
    QTest::newRow("huge count") << head + goal(1, "1-2-3", "99999999999999999999") << false;
    QTest::newRow("negative count") << head + goal(1, "1-2-3", "-3") << false;
    QTest::newRow("fractional count") << head + goal(1, "1-2-3", "1.75", {"a --", "b"}) << true;
    QTest::newRow("count with blanks") << head + goal(1, "1-2-3", " 2 ", {"a", "b --"}) << true;
    QTest::newRow("count with letters") << head + goal(1, "1-2-3", "2x", {"a", "b"}) << false;
    QTest::newRow("10 MB single line") << QByteArray(10 * 1024 * 1024, 'x') << false;
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 7919 + 13) % 255 + 1));
    QTest::newRow("binary bytes") << binary << false;
    QTest::newRow("notes, not a project") << QByteArray("# Notes\r\nmilk=2\r\n[Goals\r\n") << false;
    QTest::newRow("nul bytes") << head + QByteArray("Goal1=1-2\0-3\r\n", 14) << false;
    QTest::newRow("lone cr in a value")
        << head + goal(1, "1-2-3", "1", {"first\rsecond --"}) << true;
    QTest::newRow("duplicate sections and keys")
        << head + goal(1, "1-2-3", "1", {"kept"}) +
               "Goal1=9-9-9\r\n[Goals]\r\nGoal2=4-5-6\r\n[project]\r\nName=Other\r\n"
        << true;
    QTest::newRow("utf-8 bom") << "\xEF\xBB\xBF" + head + goal(1, "1-2-3", "1", {"caf\xC3\xA9"})
                               << true;
    const QString wide = u"[Project]\r\nName=Wide \u00E9\r\n"_s;
    QTest::newRow("utf-16 bom") << QByteArray("\xFF\xFE", 2) +
                                       QByteArray(reinterpret_cast<const char*>(wide.utf16()),
                                                  wide.size() * 2)
                                << true;
    const QByteArray diaeresis = QString(10000, QChar(0x00A8)).toUtf8();
    QTest::newRow("10000 diaeresis")
        << "[Project]\r\nName=" + diaeresis +
               "\r\n[Goals]\r\nGoal1=1-2-3\r\nGoal1_Name=" + diaeresis +
               "\r\nGoal1_Tasks=1\r\nGoal1_Task1=" + diaeresis + "\r\n"
        << true;
    QByteArray nine = head;
    for (int n = 1; n <= 9; ++n)
        nine += goal(n, QByteArray::number(n) + "-0-0", "1", {"t"});
    QTest::newRow("nine sub-goals") << nine << true;
    QTest::newRow("numbering gaps") << head + goal(1, "1-1-1", "0") + goal(3, "3-3-3", "0") << true;
    QTest::newRow("duplicate keys")
        << head + goal(1, "5-5-5", "1", {"one"}) + goal(2, "5-5-5", "1", {"two"}) << true;
    QTest::newRow("key leaving tmp") << head + goal(1, "../x", "0") << false;
    QTest::newRow("not readable: a folder") << QByteArray("<folder>") << false;
}

void TestCorpus::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    WindowFixture f;
    f.addSubGoals({u"Open one"_s});
    f.typeTasks(1, u"still here --"_s);
    const QStringList before = dashboard(f);
    const QString path = f.folder.file(u"projects/Damaged.gpj"_s);
    if (bytes == "<folder>")
        QDir().mkpath(path);
    else
        writeFile(path, bytes);

    f.prompt.openChoices = {path};
    f.prompt.answers = {Answer::No};
    QElapsedTimer clock;
    clock.start();
    f.w().mnuOpen_Click();
    QVERIFY2(clock.elapsed() < 30000, "opening took too long");

    const QString refusal = u"could not be opened"_s;
    const bool refused = !f.prompt.shown.isEmpty() && f.prompt.shown.last().text.contains(refusal);
    QCOMPARE(refused, !opens);
    if (refused) {
        QCOMPARE(f.prompt.shown.last().caption, u"Open Project"_s);
        QVERIFY(f.prompt.shown.last().text.contains(path));
        QCOMPARE(dashboard(f), before);
        QVERIFY(f.w().projectModified());
        return;
    }
    QCOMPARE(f.w().currentProjectFile(), path);
    QVERIFY(f.w().subGoalNames().size() <= 8);
    QSet<QString> keys;
    for (int i = 1; i <= f.w().subGoalNames().size(); ++i)
        keys.insert(f.w().project().goal(i).key);
    QCOMPARE(keys.size(), int(f.w().subGoalNames().size()));

    // Saved and opened again, the dashboard is the same.
    const QStringList opened = dashboard(f);
    const QString again = f.folder.file(u"projects/Again.gpj"_s);
    f.prompt.saveChoices = {again};
    QVERIFY(f.w().mnuSaveAs_Click());
    f.prompt.openChoices = {again};
    f.w().mnuOpen_Click();
    QCOMPARE(f.w().currentProjectFile(), again);
    QCOMPARE(dashboard(f), opened);
}

void TestCorpus::taskFileReplacedInTmp()
{
    WindowFixture f;
    TempAppFolder outside;
    const QString precious = outside.file(u"precious.txt"_s);
    writeFile(precious, "precious");
    QDir().mkpath(f.folder.file(u"tmp/1-1-1.txt"_s));
    QVERIFY(QFile::link(precious, f.folder.file(u"tmp/2-2-2.txt"_s)));
    const QString path = f.folder.file(u"projects/P.gpj"_s);
    writeFile(path, "[Project]\r\nName=P\r\n[Goals]\r\n" + goal(1, "1-1-1", "2", {"a --", "b"}) +
                        goal(2, "2-2-2", "1", {"c --"}));
    f.prompt.openChoices = {path};
    f.w().mnuOpen_Click();
    // The folder in the way is reported once; the tasks are on the dashboard all the same.
    QCOMPARE(f.prompt.shown.size(), 1);
    QVERIFY(f.prompt.shown[0].text.contains(f.folder.file(u"tmp/1-1-1.txt"_s)));
    QCOMPARE(f.w().findChild<QLabel*>(u"lblTasks_Total_1"_s)->text(), u"Tasks: 2"_s);
    QCOMPARE(fileBytes(precious), QByteArray("precious"));
    QCOMPARE(fileBytes(f.taskFile(2)), QByteArray("c --\r\n"));

    const QString again = f.folder.file(u"projects/Again.gpj"_s);
    f.prompt.saveChoices = {again};
    QVERIFY(f.w().mnuSaveAs_Click());
    QVERIFY(fileBytes(again).contains("Goal1_Tasks=2\r\nGoal1_Task1=a --\r\nGoal1_Task2=b\r\n"));
}

// Inputs the fuzzer found once broke save-and-open; each must read back unchanged.
void TestCorpus::fuzzFindingsRoundTrip()
{
    const QDir dir(QStringLiteral(AIMWELL_TEST_DATA "/fuzz-crashes"));
    const QStringList names = dir.entryList(QDir::Files);
    QVERIFY(names.size() >= 3);
    for (const QString& name : names) {
        const auto first = ProjectFile::read(dir.filePath(name));
        QVERIFY2(first.ok(), qPrintable(name));
        const auto again = ProjectFile::parse(ProjectFile::serialize(first.value));
        QVERIFY2(again.ok() && again.value == first.value, qPrintable(name));
    }
}

QTEST_MAIN(TestCorpus)
#include "tst_corpus.moc"
