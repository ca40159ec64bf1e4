#include "app/MainWindow.h"
#include "components/TextFile.h"
#include "sidebar/TaskEditor.h"
#include "storage/ProjectFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray bigProject(int version)
{
    ProjectData project;
    project.name = u"Version %1"_s.arg(version);
    for (int g = 1; g <= 8; ++g) {
        SubGoalRecord goal{u"%1-%2-300"_s.arg(100 + g).arg(version), u"Goal %1"_s.arg(g), {}, {}};
        for (int t = 0; t < 5000; ++t)
            goal.tasks.append(u"task %1 of goal %2, version %3%4"_s.arg(t).arg(g).arg(version).arg(
                t % 3 ? QString() : u" --"_s));
        project.goals.append(goal);
    }
    return ProjectFile::serialize(project);
}

// Holds this process's files to limit bytes until it goes out of scope.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit low{limit, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &low);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

} // namespace

class TestCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedSavesLeaveOldOrNew();
    void fullDiskInTheWindow();
};

void TestCrash::killedSavesLeaveOldOrNew()
{
    TempAppFolder dir;
    const QString project = dir.file(u"p.gpj"_s);
    const QString tasks = dir.file(u"t.txt"_s);
    const QByteArray versions[2] = {bigProject(0), bigProject(1)};
    QVERIFY(versions[0].size() > 1500000);
    for (int v = 0; v < 2; ++v)
        QVERIFY(TextFile::saveBytes(project + u".v"_s + QString::number(v), versions[v]).ok());
    QVERIFY(TextFile::saveBytes(project, versions[0]).ok());
    QVERIFY(TextFile::saveBytes(tasks, versions[0]).ok());
    const QStringList keep{u"p.gpj"_s, u"t.txt"_s, u"p.gpj.v0"_s, u"p.gpj.v1"_s, u"p.gpj.probe"_s};

    int kills = 0;
    int changes = 0;
    QByteArray last = versions[0];
    for (int round = 0; round < 200; ++round) {
        QProcess child;
        child.start(QStringLiteral(AIMWELL_SAVE_LOOP), {project, tasks});
        QVERIFY(child.waitForReadyRead(60000));
        const int saveMs = child.readLine().mid(6).trimmed().toInt();
        QTest::qSleep(QRandomGenerator::global()->bounded(1, qMax(60, 3 * saveMs)));
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        ++kills;
        const QByteArray p = fileBytes(project);
        QVERIFY2(p == versions[0] || p == versions[1], "torn project file");
        const QByteArray t = fileBytes(tasks);
        QVERIFY2(t == versions[0] || t == versions[1], "torn task file");
        changes += p != last;
        last = p;
        // A kill leaves the unfinished temporary file behind; nothing else.
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
            if (!keep.contains(name))
                QFile::remove(dir.file(name));
        }
    }
    qInfo("%d kills, project file changed between kills %d times, 0 files torn", kills, changes);
    QVERIFY(changes > 0);
}

void TestCrash::fullDiskInTheWindow()
{
    WindowFixture f;
    f.addSubGoals({u"Big"_s});
    f.typeTasks(1, u"first task --"_s);
    const QString path = f.folder.file(u"projects/P.gpj"_s);
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSave_Click());
    const QByteArray savedProject = fileBytes(path);
    const QByteArray savedTasks = fileBytes(f.taskFile(1));
    f.prompt.shown.clear();
    {
        FileSizeLimit limit(savedTasks.size() + 20);
        typeText(f.w().findChild<TaskEditor*>(u"txtGoalTasks"_s),
                 u"\nsecond task, long enough to pass the limit of this disk"_s);
        QCOMPARE(f.prompt.shown.size(), 1); // reported once, not at every key
        QCOMPARE(f.prompt.shown[0].caption, u"Task File"_s);
        QVERIFY(!f.w().mnuSave_Click());
        QCOMPARE(f.prompt.shown.last().caption, u"Save Project"_s);
        QVERIFY(f.w().projectModified());
    }
    QCOMPARE(fileBytes(path), savedProject);
    const QByteArray now = fileBytes(f.taskFile(1));
    QVERIFY(now == savedTasks || now.startsWith("first task --\r\nsecond"));
    // Room again: everything typed reaches the file.
    QVERIFY(f.w().mnuSave_Click());
    QVERIFY(fileBytes(path).contains(
        "Goal1_Task2=second task, long enough to pass the limit of this disk\r\n"));
}

QTEST_MAIN(TestCrash)
#include "tst_crash.moc"
