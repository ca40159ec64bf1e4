#include "app/ProjectSafety.h"
#include "components/TextFile.h"
#include "storage/ProjectFile.h"
#include "storage/RecoveryFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QTest>

using namespace std::chrono_literals;

namespace {

QString recoveryPath(WindowFixture& f)
{
    return RecoveryFile::pathIn(f.w().workspace().recoveryFolder());
}

const QString Reload = u"The project file %1 was changed by another program. Reload it?"_s;
const QString Discards = u"\n\nReloading discards the unsaved changes made here."_s;
const QString Replace = u"The project file %1 was changed by another program since it was "
                        u"opened here. Replace it with this project?"_s;

} // namespace

class TestSafety : public QObject
{
    Q_OBJECT

private slots:
    void recoveryAtStart_data();
    void recoveryAtStart();
    void snapshotFollowsUnsavedChanges();
    void unwritableRecoveryFolderIsToldOnce();
    void changedOnDisk_data();
    void changedOnDisk();
};

void TestSafety::recoveryAtStart_data()
{
    QTest::addColumn<bool>("readable");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("file"); // empty: never saved
    QTest::addColumn<bool>("theirs");  // another program changed the file since
    const QString book = u"projects/Book.gpj"_s;
    QTest::newRow("restored") << true << Answer::Yes << book << false;
    QTest::newRow("restored over another program's change") << true << Answer::Yes << book << true;
    QTest::newRow("declined") << true << Answer::No << book << false;
    QTest::newRow("never saved, declined") << true << Answer::No << QString() << false;
    QTest::newRow("cut short") << false << Answer::Ok << book << false;
}

void TestSafety::recoveryAtStart()
{
    QFETCH(bool, readable);
    QFETCH(Answer, answer);
    QFETCH(QString, file);
    QFETCH(bool, theirs);
    WindowFixture f;
    const QString original = file.isEmpty() ? QString() : f.folder.file(file);
    RecoverySnapshot snapshot{{u"Finish the book"_s, {}}, original};
    snapshot.project.goals.append({u"101-1-300"_s, u"Draft"_s, u"12/7/2026"_s, {u"outline --"_s}});
    snapshot.project.goals.append({u"102-1-300"_s, u"Edit"_s, {}, {u"read"_s, u"cut"_s}});
    if (!original.isEmpty()) {
        writeFile(original, ProjectFile::serialize({u"Book"_s, {}}));
        snapshot.base = FileFingerprint::of(original);
    }
    if (theirs)
        writeFile(original, ProjectFile::serialize({u"Their book"_s, {}}));
    const QByteArray bytes = RecoveryFile::serialize(snapshot).chopped(readable ? 0 : 20);
    writeFile(recoveryPath(f), bytes);
    f.prompt.answers = {answer};
    f.w().safety().offerRecovery();

    QCOMPARE(f.prompt.shown.size(), 1);
    const QString text = f.prompt.shown[0].text;
    const QDir folder(f.w().workspace().recoveryFolder());
    const QStringList aside = folder.entryList({u"recovery-*.gpj"_s});
    // Whatever is not restored is kept under a dated name.
    QCOMPARE(aside.size(), answer == Answer::Yes ? 0 : 1);
    if (!aside.isEmpty()) {
        QCOMPARE(fileBytes(folder.filePath(aside[0])), bytes);
        QVERIFY(!QFile::exists(recoveryPath(f)));
        QVERIFY(!f.w().projectModified());
    }
    if (!readable) {
        QVERIFY2(text.contains(u"could not be read"_s) && text.contains(folder.filePath(aside[0])),
                 qPrintable(text));
        return;
    }
    QCOMPARE(text, u"Aimwell Pro was not closed properly. Restore the unsaved changes to Finish "
                   u"the book ("_s +
                       (file.isEmpty() ? u"New Project (No Filename)"_s : original) +
                       u")?\n\nNo keeps a copy of them in "_s + folder.path() + u"."_s);
    if (answer != Answer::Yes) {
        QCOMPARE(f.w().statusBar()->currentMessage(),
                 u"The unsaved changes were kept as "_s + folder.filePath(aside[0]) + u"."_s);
        return;
    }
    // Shown as Open would show it, and the recovery copy is the live one again.
    QCOMPARE(RecoveryFile::read(recoveryPath(f)).value, snapshot);
    QCOMPARE(f.w().currentProjectFile(), original);
    QVERIFY(f.w().projectModified());
    QCOMPARE(f.text(u"lblTasks_Total_2"_s), u"Tasks: 2"_s);
    f.typeTasks(1, u"x"_s);
    f.w().undo(); // back at the restored state, which was never saved
    QVERIFY(f.w().projectModified());
    // The next Save writes it where it belongs, and nothing is left to recover.
    f.prompt.shown.clear();
    QCOMPARE(f.w().mnuSave_Click(), !theirs);
    if (theirs) {
        QCOMPARE(f.prompt.texts().first(), Replace.arg(original));
        QCOMPARE(ProjectFile::read(original).value.name, u"Their book"_s);
        return;
    }
    QCOMPARE(f.prompt.texts(), QStringList({u"Ready! Project saved."_s}));
    QCOMPARE(ProjectFile::read(original).value, snapshot.project);
    QVERIFY(!QFile::exists(recoveryPath(f)));
}

void TestSafety::snapshotFollowsUnsavedChanges()
{
    WindowFixture f;
    const QString path = recoveryPath(f);
    f.addSubGoals({u"Draft"_s});
    f.typeTasks(1, u"outline\nwrite --"_s);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 3000); // the real one-second timer
    const RecoverySnapshot snapshot = RecoveryFile::read(path).value;
    QCOMPARE(snapshot.project.goals.value(0).tasks, QStringList({u"outline"_s, u"write --"_s}));

    f.w().safety().recovery().writer().setTiming(20ms, 20ms);
    f.prompt.saveChoices = {f.folder.file(u"projects/Plan.gpj"_s)};
    QVERIFY(f.w().mnuSave_Click());
    QVERIFY(!QFile::exists(path));
    f.typeTasks(1, u"x"_s);
    QTRY_VERIFY(QFile::exists(path));
    f.w().undo(); // back at the saved state
    QVERIFY(!QFile::exists(path));
    f.typeTasks(1, u"y"_s);
    QTRY_VERIFY(QFile::exists(path));
    // Every kind of edit restarts the timer, so a snapshot follows each one.
    Project& p = f.w().project();
    for (const std::function<void()>& edit : std::initializer_list<std::function<void()>>{
             [&] { f.typeTasks(1, u"z"_s); }, [&] { p.setName(u"Renamed"_s); },
             [&] { p.renameGoal(1, u"Drafts"_s); }, [&] { p.setDue(1, u"1 Dec 2026"_s); }}) {
        edit();
        QTRY_COMPARE(RecoveryFile::read(path).value.project, p.toProjectData().value);
    }
    // A task file that cannot be read just now does not cost the snapshot already kept.
    const RecoverySnapshot kept = RecoveryFile::read(path).value;
    QVERIFY(QFile::remove(f.taskFile(1)) && QDir().mkpath(f.taskFile(1)));
    p.setDue(1, {});
    QVERIFY(f.w().safety().recovery().writer().flush().ok());
    QCOMPARE(RecoveryFile::read(path).value, kept);
    QVERIFY(QDir().rmdir(f.taskFile(1)));
    f.prompt.answers = {Answer::No}; // do not save first
    f.w().mnuNew_Click();
    QVERIFY(!QFile::exists(path));
    f.addSubGoals({u"Other"_s});
    QTRY_VERIFY(QFile::exists(path));
    f.prompt.answers = {Answer::No};
    QVERIFY(f.w().close());
    QVERIFY(!QFile::exists(path));
}

void TestSafety::unwritableRecoveryFolderIsToldOnce()
{
    WindowFixture f;
    const QString folder = f.w().workspace().recoveryFolder();
    QVERIFY(QDir(folder).removeRecursively());
    writeFile(folder, "a file where the folder should be");
    f.w().safety().recovery().writer().setTiming(10ms, 10ms);
    f.addSubGoals({u"One"_s});
    QTRY_COMPARE(f.prompt.shown.size(), 1);
    QVERIFY(f.prompt.shown[0].text.contains(folder));
    f.typeTasks(1, u"still working"_s);
    QTest::qWait(100);
    QCOMPARE(f.prompt.shown.size(), 1);
}

void TestSafety::changedOnDisk_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<Answer>("reload");
    QTest::newRow("another writer") << u"other"_s << Answer::No;
    QTest::newRow("another writer, reloaded") << u"other"_s << Answer::Yes;
    QTest::newRow("same size and time, other bytes") << u"same"_s << Answer::No;
    QTest::newRow("removed") << u"removed"_s << Answer::Cancel;
}

void TestSafety::changedOnDisk()
{
    QFETCH(QString, change);
    QFETCH(Answer, reload);
    WindowFixture f;
    const QString path = f.folder.file(u"projects/Plan.gpj"_s);
    f.addSubGoals({u"Draft"_s});
    f.prompt.saveChoices = {path};
    QVERIFY(f.w().mnuSave_Click());
    QVERIFY(f.w().mnuSave_Click()); // replaces the file it watches
    QTest::qWait(400);
    // Our own saves are never another program's change.
    QCOMPARE(f.prompt.texts(), QStringList(2, u"Ready! Project saved."_s));
    f.prompt.shown.clear();
    f.typeTasks(1, u"unsaved"_s);

    if (change == u"removed"_s) {
        QVERIFY(QFile::remove(path));
    } else if (change == u"other"_s) {
        // Replaced by a rename, as editors and sync tools do.
        QVERIFY(TextFile::saveBytes(path, ProjectFile::serialize({u"Theirs"_s, {}})).ok());
    } else {
        QByteArray bytes = fileBytes(path);
        bytes.replace("Draft", "Dreft");
        const QDateTime time = QFileInfo(path).lastModified();
        writeFile(path, bytes);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    const QByteArray theirs = fileBytes(path);
    f.prompt.answers = {reload};
    if (change == u"removed"_s) {
        QTest::qWait(400);
        QVERIFY(f.prompt.shown.isEmpty());
    } else {
        QTRY_COMPARE(f.prompt.shown.size(), 1);
        QCOMPARE(f.prompt.shown[0].text, Reload.arg(path) + Discards);
        QCOMPARE(f.prompt.shown[0].defaultButton, Answer::No);
        writeFile(f.folder.file(u"projects/other.txt"_s), "a later notice");
        QTest::qWait(300);
        QCOMPARE(f.prompt.shown.size(), 1); // asked once
    }
    f.prompt.shown.clear();
    if (reload == Answer::Yes) {
        QCOMPARE(f.w().project().name(), u"Theirs"_s);
        QVERIFY(!f.w().projectModified());
    } else {
        QVERIFY(f.w().projectModified());
        const bool asks = change != u"removed"_s;
        QCOMPARE(f.w().mnuSave_Click(), !asks);
        if (asks) {
            QCOMPARE(f.prompt.texts().first(), Replace.arg(path));
            QCOMPARE(f.prompt.shown[0].defaultButton, Answer::No);
            QVERIFY(f.prompt.texts().last().contains(u"Save As"_s));
            QCOMPARE(fileBytes(path), theirs);
            QVERIFY(f.w().projectModified());
        } else {
            QCOMPARE(ProjectFile::read(path).value.goals[0].tasks, QStringList({u"unsaved"_s}));
        }
    }
    // Still watched after the file was replaced: a second change is noticed too.
    f.prompt.shown.clear();
    writeFile(path, ProjectFile::serialize({u"Theirs again"_s, {}}));
    QTRY_COMPARE(f.prompt.shown.size(), 1);
}

QTEST_MAIN(TestSafety)
#include "tst_safety.moc"
