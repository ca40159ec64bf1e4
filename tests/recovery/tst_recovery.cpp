#include "model/Project.h"
#include "model/RecoveryFeed.h"
#include "storage/ProjectFile.h"
#include "storage/RecoveryFile.h"
#include "storage/TaskStore.h"
#include "support/CoreSupport.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include <cstdio>

// The kill tests: this program starts itself again as a child that saves or edits a project
// until it is killed at a random moment, and checks the file the kill left.
namespace {

// Large enough that a save can be killed midway.
ProjectData bigProject(int version)
{
    return {u"Version %1"_s.arg(version),
            {{u"1-2-3"_s, u"Goal"_s, {}, QStringList(40000, u"task, version %1"_s.arg(version))}}};
}

int saveUntilKilled(const QString& path)
{
    const ProjectData versions[2] = {bigProject(0), bigProject(1)};
    if (!ProjectFile::save(path, versions[0]).ok())
        return 1;
    std::printf("ready\n"); // there is a file to tear now
    std::fflush(stdout);
    for (int i = 1; ProjectFile::save(path, versions[i % 2]).ok(); ++i)
        continue;
    return 1;
}

// Edits a project through the model, the recovery file fed as in the window. Each state is
// logged ("ms md5-of-its-recovery-bytes") before the writer can run, so the test can tell which
// state the file holds and how old it is. A recovery file left over is restored first.
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

    const auto record = [&] {
        const auto data = p.toProjectData();
        const QByteArray line =
            QByteArray::number(QDeadlineTimer::current().deadline()) + ' ' +
            QCryptographicHash::hash(RecoveryFile::serialize({data.value, p.file(), {}}),
                                     QCryptographicHash::Md5)
                .toHex();
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
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer::singleShot(0, edit);
    return QCoreApplication::exec();
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    // A save killed at any moment leaves the old version or the new one, never a mix.
    void killedSavesLeaveAWholeFile()
    {
        TempAppFolder dir;
        const QString path = dir.file(u"p.gpj"_s);
        const QByteArray versions[2] = {ProjectFile::serialize(bigProject(0)),
                                        ProjectFile::serialize(bigProject(1))};
        for (int round = 0; round < 100; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {u"--save"_s, path});
            QVERIFY(child.waitForReadyRead(60000));
            QTest::qSleep(QRandomGenerator::global()->bounded(20, 300));
            child.kill();
            QVERIFY(child.waitForFinished(10000) && child.exitStatus() == QProcess::CrashExit);
            const QByteArray bytes = fileBytes(path);
            QVERIFY2(bytes == versions[0] || bytes == versions[1], "torn project file");
        }
    }

    // After each kill the recovery file must be one of the states the child logged, and no
    // older than the writer's delay (50 ms) allows, with room for a loaded machine.
    void killedEditorsAreRecovered()
    {
        constexpr int Kills = 200;
        TempAppFolder dir;
        const QString path = RecoveryFile::pathIn(dir.path()), logPath = dir.file(u"states.log"_s);
        const qint64 started = QDeadlineTimer::current().deadline();
        qint64 offered = 0, worst = 0;
        for (int round = 0; round < Kills; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {u"--edit"_s, path, logPath, QString::number(round + 1)});
            QVERIFY(child.waitForReadyRead(60000));
            QTest::qSleep(QRandomGenerator::global()->bounded(40, 240));
            const qint64 killMs = QDeadlineTimer::current().deadline();
            child.kill();
            QVERIFY2(child.waitForFinished(10000) && child.exitStatus() == QProcess::CrashExit,
                     child.readAllStandardError().constData());
            // "ms hash" lines, each written by one unbuffered write, so never cut by the kill.
            const QList<QByteArray> states = fileBytes(logPath).trimmed().split('\n');
            if (!QFile::exists(path))
                continue; // killed before the first snapshot of the first round
            ++offered;
            const QByteArray hash =
                QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Md5).toHex();
            qsizetype k = states.size() - 1;
            while (k >= 0 && !states[k].endsWith(' ' + hash))
                --k;
            QVERIFY2(k >= 0 && RecoveryFile::read(path).ok(), "torn recovery file");
            // Work lost: everything since the first state the file does not hold.
            const qint64 age =
                k == states.size() - 1 ? 0 : killMs - states[k + 1].split(' ')[0].toLongLong();
            QVERIFY2(age <= 1000, qPrintable(QString::number(age)));
            worst = qMax(worst, age);
            // A kill can leave the writer's unfinished temporary file; nothing else.
            RecoveryFile::removeLeftovers(path);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList({u"recovery.gpj"_s, u"states.log"_s}));
        }
        qInfo("%d kills in %lld ms, recovery offered %lld times, at most %lld ms of work lost",
              Kills, QDeadlineTimer::current().deadline() - started, offered, worst);
        QVERIFY(offered >= Kills - 1);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"--save"_s)
        return saveUntilKilled(args[2]);
    if (args.size() == 5 && args[1] == u"--edit"_s)
        return editUntilKilled(args[2], args[3], args[4].toUInt());
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
