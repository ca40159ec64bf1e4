#include "storage/FileFingerprint.h"
#include "storage/ProjectFile.h"
#include "storage/ProjectFileWatcher.h"
#include "storage/RecoveryFile.h"
#include "storage/RecoveryWriter.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

RecoverySnapshot sample(const QString& projectFile = u"/home/a/Plan.gpj"_s)
{
    RecoverySnapshot s{{u"Finish the book"_s, {}}, projectFile};
    s.project.goals.append({u"101-1-300"_s, u"Draft"_s, u"12/7/2026"_s, {u"outline --"_s, {}}});
    s.project.goals.append({u"102-1-300"_s, u"Edit = [Goals]"_s, {}, {u"[Recovery]"_s}});
    return s;
}

const QDateTime Now(QDate(2026, 12, 7), QTime(21, 5, 33));

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void refused_data();
    void refused();
    void everyCutIsRefused();
    void setAsideNeverReplaces();
    void fingerprint_data();
    void fingerprint();
    void ownSaveIsNoChange();
    void watcherSeesOthersNotUs();
    void writerWaitsForAPause();
    void writerReportsFailureOnce();
    void killedEditorsAreRecovered();
};

void TestRecovery::roundTrip_data()
{
    QTest::addColumn<RecoverySnapshot>("snapshot");
    QTest::newRow("plain") << sample();
    QTest::newRow("never saved") << sample(QString());
    QTest::newRow("no goals") << RecoverySnapshot{{u"Empty"_s, {}}, u"/p/e.gpj"_s};
    QTest::newRow("odd path") << sample(u" /a=b/%41%/ü€ 日本\r\n[x]\nComplete=no.gpj "_s);
    QTest::newRow("backslashes") << sample(u"C:\\Users\\Zoë\\Plan;1.gpj"_s);
}

// A recovery file is also an ordinary project file.
void TestRecovery::roundTrip()
{
    QFETCH(RecoverySnapshot, snapshot);
    TempAppFolder dir;
    const QString path = RecoveryFile::pathIn(dir.path());
    QVERIFY(RecoveryFile::write(path, snapshot).ok());
    QCOMPARE(fileBytes(path), RecoveryFile::serialize(snapshot));
    const auto back = RecoveryFile::read(path);
    QVERIFY2(back.ok(), qPrintable(back.error));
    QVERIFY(back.value == snapshot);
    const auto asProject = ProjectFile::read(path);
    QVERIFY(asProject.ok());
    QVERIFY(asProject.value == snapshot.project);
}

void TestRecovery::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = RecoveryFile::serialize(sample());
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << QByteArray(good).replace("Draft", QByteArray("Dr\0ft", 5));
    QTest::newRow("project without the section") << ProjectFile::serialize(sample().project);
    QTest::newRow("marker wrong") << QByteArray(good).replace("Complete=yes", "Complete=no");
    QTest::newRow("key escapes the folder")
        << QByteArray(good).replace("Goal1=101-1-300", "Goal1=../../etc");
    QTest::newRow("huge task count")
        << QByteArray(good).replace("Goal1_Tasks=2", "Goal1_Tasks=99999999999");
    QTest::newRow("negative task count")
        << QByteArray(good).replace("Goal1_Tasks=2", "Goal1_Tasks=-2");
}

void TestRecovery::refused()
{
    QFETCH(QByteArray, bytes);
    TempAppFolder dir;
    const QString path = dir.file(u"recovery.gpj"_s);
    writeFile(path, bytes);
    QVERIFY(!RecoveryFile::read(path).ok());
}

// A file cut short anywhere, as a torn write would leave it, is refused; only the last
// line end may be missing.
void TestRecovery::everyCutIsRefused()
{
    const QByteArray good = RecoveryFile::serialize(sample());
    for (qsizetype n = 0; n < good.size() - 2; ++n)
        QVERIFY2(!RecoveryFile::parse(good.first(n)).ok(), qPrintable(QString::number(n)));
    QVERIFY(RecoveryFile::parse(good.first(good.size() - 2)).value == sample());
}

void TestRecovery::setAsideNeverReplaces()
{
    TempAppFolder dir;
    const QString path = RecoveryFile::pathIn(dir.path());
    QStringList expected;
    for (const QString& suffix : {QString(), u"-2"_s, u"-3"_s}) {
        writeFile(path, "copy" + suffix.toUtf8());
        const auto aside = RecoveryFile::setAside(path, Now);
        QVERIFY2(aside.ok(), qPrintable(aside.error));
        QCOMPARE(aside.value, dir.file(u"recovery-2026-12-07T21-05-33"_s + suffix + u".gpj"_s));
        QCOMPARE(fileBytes(aside.value), "copy" + suffix.toUtf8());
        QVERIFY(!QFile::exists(path));
    }
    QVERIFY(!RecoveryFile::setAside(path, Now).ok());
    QVERIFY(RecoveryFile::remove(path).ok());
}

void TestRecovery::fingerprint_data()
{
    QTest::addColumn<QByteArray>("after"); // "<missing>" removes the file
    QTest::addColumn<bool>("keepTime");
    QTest::addColumn<bool>("changed");
    QTest::newRow("untouched") << QByteArray("[Project]\r\nName=A\r\n") << true << false;
    QTest::newRow("another writer") << QByteArray("[Project]\r\nName=Longer\r\n") << false << true;
    QTest::newRow("same size and time, other bytes")
        << QByteArray("[Project]\r\nName=B\r\n") << true << true;
    QTest::newRow("only the time") << QByteArray("[Project]\r\nName=A\r\n") << false << true;
    QTest::newRow("removed") << QByteArray("<missing>") << false << true;
}

void TestRecovery::fingerprint()
{
    QFETCH(QByteArray, after);
    QFETCH(bool, keepTime);
    QFETCH(bool, changed);
    TempAppFolder dir;
    const QString path = dir.file(u"p.gpj"_s);
    writeFile(path, "[Project]\r\nName=A\r\n");
    const FileFingerprint before = FileFingerprint::of(path);
    QVERIFY(before.exists());
    const QDateTime time = before.modified();
    QTest::qSleep(20); // so that a new write gets a new time
    if (after == "<missing>") {
        QVERIFY(QFile::remove(path));
    } else {
        writeFile(path, after);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(
            file.setFileTime(keepTime ? time : time.addSecs(1), QFileDevice::FileModificationTime));
    }
    QCOMPARE(FileFingerprint::of(path) != before, changed);
}

// Our own save matches the file read back; otherwise every save would look like another
// program's change.
void TestRecovery::ownSaveIsNoChange()
{
    TempAppFolder dir;
    const QString path = dir.file(u"own.gpj"_s);
    FileFingerprint written;
    QVERIFY(ProjectFile::save(path, sample().project, written).ok());
    QCOMPARE(FileFingerprint::of(path), written);
}

void TestRecovery::watcherSeesOthersNotUs()
{
    TempAppFolder dir;
    const QString path = dir.file(u"p.gpj"_s);
    RecoverySnapshot s = sample();
    FileFingerprint saved;
    QVERIFY(ProjectFile::save(path, s.project, saved).ok());
    ProjectFileWatcher watcher;
    QSignalSpy changed(&watcher, &ProjectFileWatcher::changed);
    watcher.watch(path, saved);
    // Our own save is never taken for another program's.
    const auto saveHere = [&] {
        s.project.name += u'!';
        QVERIFY(ProjectFile::save(path, s.project, saved).ok());
        watcher.watch(path, saved);
        changed.clear();
        QTest::qWait(400);
        QCOMPARE(changed.size(), 0);
        QVERIFY(!watcher.changedOnDisk());
    };

    saveHere();
    // Same size and time, other bytes, and still seen after our rename replaced the file.
    QByteArray other = fileBytes(path);
    other[other.indexOf("Finish")] = 'f';
    const QDateTime time = QFileInfo(path).lastModified();
    writeFile(path, other);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    file.close();
    QTRY_COMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toString(), path);
    QVERIFY(watcher.changedOnDisk());
    QTest::qWait(400);
    QCOMPARE(changed.size(), 1); // asked once
    QCOMPARE(fileBytes(path), other);

    saveHere(); // "Replace it": ours again
    QVERIFY(QFile::remove(path));
    QTRY_COMPARE(changed.size(), 1);
    QVERIFY(!changed[0][1].value<FileFingerprint>().exists());
    saveHere(); // written again, and watched again
    writeFile(path, "[Project]\r\nName=Elsewhere\r\n");
    QTRY_COMPARE(changed.size(), 1);
}

void TestRecovery::writerWaitsForAPause()
{
    TempAppFolder dir;
    const QString path = RecoveryFile::pathIn(dir.path());
    std::optional<RecoverySnapshot> current; // nothing unsaved yet
    RecoveryWriter writer(path, [&] { return current; });
    writer.setTiming(50ms, 300ms);
    QSignalSpy written(&writer, &RecoveryWriter::snapshotWritten);

    writer.touch();
    QTRY_VERIFY(!writer.isPending());
    QVERIFY(!QFile::exists(path)); // nothing unsaved: nothing written

    current = sample();
    for (int i = 0; i < 10; ++i) {
        current->project.name += u'!';
        writer.touch();
        QTest::qWait(5);
    }
    QVERIFY(!QFile::exists(path)); // never on the edit itself
    QTRY_COMPARE(written.size(), 1);
    QCOMPARE(RecoveryFile::read(path).value, *current);

    // Steady typing still gets written, by the longest delay.
    QElapsedTimer typing;
    typing.start();
    while (written.size() == 1 && typing.elapsed() < 2000) {
        writer.touch();
        QTest::qWait(10);
    }
    QCOMPARE(written.size(), 2);
    QVERIFY2(typing.elapsed() < 600, qPrintable(QString::number(typing.elapsed())));

    writer.touch();
    QVERIFY(writer.discard().ok());
    QTest::qWait(100);
    QVERIFY(!QFile::exists(path)); // removed, and the write that was waiting is cancelled too
}

// Being root, the test cannot lock itself out with permissions; a file where the folder
// should be, or no folder at all, refuses every write the same way.
void TestRecovery::writerReportsFailureOnce()
{
    TempAppFolder dir;
    const QString folder = dir.file(u"recovery"_s);
    writeFile(folder, "not a folder");
    RecoveryWriter writer(RecoveryFile::pathIn(folder), [] { return sample(); });
    QSignalSpy failed(&writer, &RecoveryWriter::writeFailed);
    for (int i = 0; i < 3; ++i) {
        writer.touch();
        QVERIFY(!writer.flush().ok());
    }
    QCOMPARE(failed.size(), 1);
    QVERIFY(!failed[0][0].toString().isEmpty());
    // Once it works again, a new failure is news.
    QVERIFY(QFile::remove(folder) && QDir().mkpath(folder));
    writer.touch();
    QVERIFY(writer.flush().ok());
    QVERIFY(QDir(folder).removeRecursively());
    writer.touch();
    QVERIFY(!writer.flush().ok());
    QCOMPARE(failed.size(), 2);
    QVERIFY(!failed[1][0].toString().isEmpty());
}

// A child editing a project is killed at random moments; after each kill the recovery file
// must be one of the states it logged, and no older than the writer's delay allows.
void TestRecovery::killedEditorsAreRecovered()
{
    constexpr int Kills = 200;
    constexpr int IntervalMs = 50;
    // What the writer promises, plus room for a loaded machine; the figures below say how
    // close it really came.
    constexpr qint64 AllowedAgeMs = 1000;
    TempAppFolder dir;
    const QString path = RecoveryFile::pathIn(dir.path());
    const QString logPath = dir.file(u"states.log"_s);
    QElapsedTimer clock;
    clock.start();

    int offered = 0, torn = 0, lost = 0, latest = 0;
    qint64 edits = 0, worstAge = 0;
    QList<qint64> ages;
    for (int round = 0; round < Kills; ++round) {
        QProcess child;
        child.start(QStringLiteral(AIMWELL_RECOVERY_CHILD),
                    {path, logPath, QString::number(round + 1), QString::number(IntervalMs)});
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readLine(), QByteArray("ready\n"));
        QTest::qSleep(QRandomGenerator::global()->bounded(40, 240));
        const qint64 killMs = clock.msecsSinceReference() + clock.elapsed();
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        QVERIFY2(child.exitStatus() == QProcess::CrashExit, child.readAllStandardError());

        struct State
        {
            qint64 ms;
            QByteArray hash;
        };
        QList<State> states;
        for (const QByteArray& line : fileBytes(logPath).split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() == 3 && f[2].size() == 32) // a line cut by the kill is left out
                states.append({f[1].toLongLong(), f[2]});
        }
        QVERIFY(!states.isEmpty());
        edits += states.size() - 1;

        if (!QFile::exists(path))
            continue; // killed before the first snapshot of the first round
        ++offered;
        const QByteArray bytes = fileBytes(path);
        const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
        qsizetype k = states.size() - 1;
        while (k >= 0 && states[k].hash != hash)
            --k;
        if (!RecoveryFile::read(path).ok() || k < 0) {
            ++torn;
            QFile::remove(path);
            continue;
        }
        latest += k == states.size() - 1;
        // Work lost: everything since the first state the file does not hold.
        const qint64 age = k == states.size() - 1 ? 0 : killMs - states[k + 1].ms;
        ages.append(age);
        worstAge = std::max(worstAge, age);
        lost += age > AllowedAgeMs;
        // A kill can leave the writer's unfinished temporary file; nothing else.
        RecoveryFile::removeLeftovers(path);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({u"recovery.gpj"_s, u"states.log"_s}));
    }
    std::sort(ages.begin(), ages.end());
    const qint64 median = ages.isEmpty() ? 0 : ages[ages.size() / 2];
    const qint64 p99 = ages.isEmpty() ? 0 : ages[ages.size() * 99 / 100];
    qInfo("%d kills in %lld ms, %lld edits, recovery offered %d times (%d with the very last "
          "state), %d torn, %d older than %lld ms; work lost at a kill: median %lld ms, "
          "99th percentile %lld ms, worst %lld ms (writer interval %d ms)",
          Kills, clock.elapsed(), edits, offered, latest, torn, lost, AllowedAgeMs, median, p99,
          worstAge, IntervalMs);
    QCOMPARE(torn, 0);
    QCOMPARE(lost, 0);
    QVERIFY(offered >= Kills - 1);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
