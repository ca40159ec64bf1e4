#include "components/TextFile.h"
#include "model/Project.h"
#include "model/RecoveryFeed.h"
#include "storage/RecoveryFile.h"
#include "storage/TaskStore.h"
#include "support/CoreSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <cstdio>

// The kill tests: this program starts itself again as a child that saves or edits until it
// is killed at a random moment, and checks what the kill left on disk.
namespace {

qint64 monotonicMs()
{
    QElapsedTimer clock;
    clock.start();
    return clock.msecsSinceReference();
}

void ready(int fromMs, int toMs)
{
    std::printf("ready %d %d\n", fromMs, toMs);
    std::fflush(stdout);
}

// Starts the child and kills it at a moment in the range it names when ready; returns when.
qint64 runAndKill(const QStringList& args)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForReadyRead(60000))
        return -1;
    const QList<QByteArray> range = child.readLine().trimmed().split(' ');
    QTest::qSleep(
        QRandomGenerator::global()->bounded(range.value(1).toInt(), range.value(2).toInt()));
    const qint64 killMs = monotonicMs();
    child.kill();
    if (child.waitForFinished(10000) && child.exitStatus() == QProcess::CrashExit)
        return killMs;
    qWarning("%s", child.readAllStandardError().constData());
    return -1;
}

ProjectData bigProject(int version)
{
    ProjectData project{u"Version %1"_s.arg(version), {}};
    for (int g = 1; g <= 8; ++g) {
        SubGoalRecord goal{u"%1-%2-300"_s.arg(100 + g).arg(version), u"Goal %1"_s.arg(g), {}, {}};
        for (int t = 0; t < 5000; ++t)
            goal.tasks.append(u"task %1 of goal %2, version %3%4"_s.arg(t).arg(g).arg(version).arg(
                t % 3 ? QString() : u" --"_s));
        project.goals.append(goal);
    }
    return project;
}

// Saves the project file and a task file, alternating two versions. The first save is timed
// so that the kills spread over a few saves however slow this build is.
int saveUntilKilled(const QString& project, const QString& tasks)
{
    const ProjectData versions[2] = {bigProject(0), bigProject(1)};
    const QByteArray bytes[2] = {ProjectFile::serialize(versions[0]),
                                 ProjectFile::serialize(versions[1])};
    QElapsedTimer timer;
    timer.start();
    // Start with the version not on disk, so that every finished save changes the file.
    for (unsigned i = fileBytes(project) == bytes[0];; ++i) {
        if (!ProjectFile::save(project, versions[i % 2]).ok() ||
            !TextFile::saveBytes(tasks, bytes[i % 2]).ok())
            return 1;
        if (timer.isValid())
            ready(1, qMax(60, 3 * int(timer.elapsed())));
        timer.invalidate();
    }
}

// Edits a project through the model as a person would, with the recovery file fed from the
// model's signals as in the window. Each state is logged ("state ms md5-of-its-recovery-
// bytes") before the event loop runs the writer, so the test can tell which state the file
// holds and how old it is. A recovery file left over is restored first.
int editUntilKilled(const QString& recoveryPath, const QString& logPath, quint32 seed)
{
    QFile log(logPath);
    const QString tasks = QFileInfo(logPath).dir().filePath(u"tmp"_s);
    // Unbuffered: a line is in the file once write() returns, whatever kills us after.
    if (!log.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !QDir(tasks).removeRecursively() || !QDir().mkpath(tasks))
        return 2;
    TaskStore store(tasks);
    FakeRandom keys;
    Project p(store, keys);
    Expected<RecoverySnapshot> start{{{u"Kill test"_s, {}}, u"/home/me/Kill = test ✓.gpj"_s, {}},
                                     {}};
    const bool restored = QFile::exists(recoveryPath);
    if (restored && !(start = RecoveryFile::read(recoveryPath)).ok())
        return 3;
    p.load(start.value.projectFile, std::move(start.value.project));
    if (restored)
        p.markEdited();
    const ProjectFileWatcher noFile;
    RecoveryFeed feed(p, noFile, recoveryPath);
    feed.writer().setTiming(std::chrono::milliseconds(50), std::chrono::milliseconds(50));

    qint64 state = 0;
    const auto record = [&] {
        const auto data = p.toProjectData();
        const QByteArray bytes = RecoveryFile::serialize({data.value, p.file(), {}});
        const QByteArray line = QByteArray::number(state++) + ' ' +
                                QByteArray::number(monotonicMs()) + ' ' +
                                QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
        return data.ok() && log.write(line + '\n') == line.size() + 1;
    };
    QRandomGenerator random(seed);
    std::function<void()> edit = [&] {
        p.markEdited(); // every key press marks the project modified before the edit lands
        // Sub-goals come and go, are renamed now and then; mostly keys go into the last list.
        const int pick = random.bounded(100), count = p.goalCount();
        const QString text = count > 0 ? p.tasks(count) : QString();
        if (count == 0 || (pick < 4 && !p.isFull()))
            p.setTasks(p.addGoal(u"Goal = %1 ü"_s.arg(random.bounded(1000))), QString());
        else if (pick < 6 && count > 1)
            p.removeGoal(1 + random.bounded(count));
        else if (pick < 12)
            p.renameGoal(count, p.goal(count).name + QChar(u'a' + random.bounded(26)));
        else // a key in the last list: Enter, "--" or a letter
            p.setTasks(count, text + u"\n--abcdefghijklmnopqrstuvwxyz"_s.at(random.bounded(29)));
        if (!record())
            QCoreApplication::exit(2);
        // Bursts of typing with short and longer pauses between them.
        const int kind = random.bounded(100);
        QTimer::singleShot(kind < 70   ? random.bounded(15)
                           : kind < 95 ? 20 + random.bounded(60)
                                       : 100 + random.bounded(200),
                           Qt::PreciseTimer, edit);
    };
    if (!record())
        return 2;
    ready(40, 240);
    QTimer::singleShot(0, edit);
    return QCoreApplication::exec();
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void killedSavesLeaveOldOrNew();
    void killedEditorsAreRecovered();
};

void TestRecovery::killedSavesLeaveOldOrNew()
{
    TempAppFolder dir;
    const QString project = dir.file(u"p.gpj"_s), tasks = dir.file(u"t.txt"_s);
    const QByteArray versions[2] = {ProjectFile::serialize(bigProject(0)),
                                    ProjectFile::serialize(bigProject(1))};
    QVERIFY(versions[0].size() > 1500000);
    QVERIFY(TextFile::saveBytes(project, versions[0]).ok());
    QVERIFY(TextFile::saveBytes(tasks, versions[0]).ok());
    int changes = 0;
    QByteArray last = versions[0];
    for (int round = 0; round < 200; ++round) {
        QVERIFY(runAndKill({u"--save"_s, project, tasks}) >= 0);
        const QByteArray p = fileBytes(project), t = fileBytes(tasks);
        QVERIFY2(p == versions[0] || p == versions[1], "torn project file");
        QVERIFY2(t == versions[0] || t == versions[1], "torn task file");
        changes += p != last;
        last = p;
        // A kill leaves the unfinished temporary file behind.
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
            if (name != u"p.gpj"_s && name != u"t.txt"_s)
                QFile::remove(dir.file(name));
        }
    }
    qInfo("200 kills, project file changed between kills %d times, 0 files torn", changes);
    QVERIFY(changes > 0);
}

// After each kill the recovery file must be one of the states the child logged, and no older
// than the writer's delay (50 ms) allows, with room for a loaded machine.
void TestRecovery::killedEditorsAreRecovered()
{
    constexpr int Kills = 200;
    TempAppFolder dir;
    const QString path = RecoveryFile::pathIn(dir.path());
    const QString logPath = dir.file(u"states.log"_s);
    QElapsedTimer clock;
    clock.start();
    int offered = 0;
    qint64 worst = 0;
    for (int round = 0; round < Kills; ++round) {
        const qint64 killMs = runAndKill({u"--edit"_s, path, logPath, QString::number(round + 1)});
        QVERIFY(killMs >= 0);
        QList<QList<QByteArray>> states; // state, ms, hash
        for (const QByteArray& line : fileBytes(logPath).split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() == 3 && fields[2].size() == 32) // a line cut by the kill is left out
                states.append(fields);
        }
        QVERIFY(!states.isEmpty());
        if (!QFile::exists(path))
            continue; // killed before the first snapshot of the first round
        ++offered;
        const QByteArray hash =
            QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Md5).toHex();
        qsizetype k = states.size() - 1;
        while (k >= 0 && states[k][2] != hash)
            --k;
        QVERIFY2(k >= 0 && RecoveryFile::read(path).ok(), "torn recovery file");
        // Work lost: everything since the first state the file does not hold.
        const qint64 age = k == states.size() - 1 ? 0 : killMs - states[k + 1][1].toLongLong();
        QVERIFY2(age <= 1000, qPrintable(QString::number(age)));
        worst = qMax(worst, age);
        // A kill can leave the writer's unfinished temporary file; nothing else.
        RecoveryFile::removeLeftovers(path);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({u"recovery.gpj"_s, u"states.log"_s}));
    }
    qInfo("%d kills in %lld ms, recovery offered %d times, at most %lld ms of work lost", Kills,
          clock.elapsed(), offered, worst);
    QVERIFY(offered >= Kills - 1);
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"--save"_s)
        return saveUntilKilled(args[2], args[3]);
    if (args.size() == 5 && args[1] == u"--edit"_s)
        return editUntilKilled(args[2], args[3], args[4].toUInt());
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
