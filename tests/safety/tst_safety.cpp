#include "app/ProjectSafety.h"
#include "components/TextFile.h"
#include "storage/RecoveryFile.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QStatusBar>

using namespace std::chrono_literals;

namespace {

using Change = std::function<void(const QString& path)>;

// By default, a path with what a line of the file must not carry as it is.
RecoverySnapshot
sample(const QString& projectFile = u" /a=b/%41%/ü€ 日本\r\n[x]\nComplete=no.gpj "_s)
{
    RecoverySnapshot s{{u"Finish the book"_s, {}}, projectFile, {}};
    s.project.goals.append({u"101-1-300"_s, u"Draft"_s, u"12/7/2026"_s, {u"outline --"_s, {}}});
    s.project.goals.append({u"102-1-300"_s, u"Edit = [Goals]"_s, {}, {u"[Recovery]"_s, u"cut"_s}});
    return s;
}

// Rewrites the file in place and sets its time back.
Change rewrite(const QByteArray& from, const QByteArray& to)
{
    return [=](const QString& path) {
        const QDateTime time = QFileInfo(path).lastModified();
        writeFile(path, fileBytes(path).replace(from, to));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
}

const QString Replace = u"The project file %1 was changed by another program since it was "
                        u"opened here. Replace it with this project?"_s;

} // namespace

class TestSafety : public QObject
{
    Q_OBJECT

private slots:
    // A whole recovery file reads back as written, and as a project file too. Damaged files are
    // refused, and so is a file cut short anywhere but before its last line end.
    void onlyWholeFilesRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<RecoverySnapshot>>("expected");
        const std::optional<RecoverySnapshot> none;
        const QByteArray good = RecoveryFile::serialize(sample());
        QTest::newRow("whole") << good << std::optional(sample());
        QTest::newRow("last line end missing") << good.chopped(2) << std::optional(sample());
        QTest::newRow("project only") << ProjectFile::serialize(sample().project) << none;
        // What the project reader refuses (the damaged files in tst_storage), as this key.
        QTest::newRow("key escapes the folder")
            << QByteArray(good).replace("Goal1=101-1-300", "Goal1=../../etc") << none;
        for (int n = 0; n < good.size() - 2; ++n)
            QTest::addRow("cut at %d", n) << good.first(n) << none;
    }

    void onlyWholeFilesRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(std::optional<RecoverySnapshot>, expected);
        const auto back = RecoveryFile::parse(bytes);
        QCOMPARE(back.ok(), expected.has_value());
        QVERIFY(!expected || back.value == *expected);
        QVERIFY(!expected || ProjectFile::parse(bytes).value == expected->project);
    }

    void recoveryAtStart_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("theirs"); // another program changed the file since
        QTest::newRow("restored") << true << Answer::Yes << true << false;
        QTest::newRow("restored over another program's change")
            << true << Answer::Yes << true << true;
        QTest::newRow("never saved, declined") << true << Answer::No << false << false;
        QTest::newRow("cut short") << false << Answer::Ok << true << false;
    }

    void recoveryAtStart()
    {
        QFETCH(bool, readable);
        QFETCH(Answer, answer);
        QFETCH(bool, saved);
        QFETCH(bool, theirs);
        WindowFixture f;
        const QString path = RecoveryFile::pathIn(f.w().workspace().recoveryFolder());
        const QString original = saved ? f.folder.file(u"projects/Book.gpj"_s) : QString();
        RecoverySnapshot snapshot = sample(original);
        if (saved) {
            writeFile(original, ProjectFile::serialize({u"Book"_s, {}}));
            snapshot.base = FileFingerprint::of(original);
        }
        if (theirs)
            writeFile(original, ProjectFile::serialize({u"Their book"_s, {}}));
        const QByteArray bytes = RecoveryFile::serialize(snapshot).chopped(readable ? 0 : 20);
        writeFile(path, bytes);
        f.prompt.answers = {answer};
        f.w().safety().offerRecovery();

        QCOMPARE(f.prompt.shown.size(), 1);
        const QString text = f.prompt.shown[0].text;
        const QDir folder(f.w().workspace().recoveryFolder());
        // Whatever is not restored is kept under a dated name.
        const QStringList aside = folder.entryList({u"recovery-*-*-*T*-*-*.gpj"_s});
        QCOMPARE(aside.size(), answer == Answer::Yes ? 0 : 1);
        QVERIFY(aside.isEmpty() || (fileBytes(folder.filePath(aside[0])) == bytes &&
                                    !QFile::exists(path) && !f.w().projectModified()));
        if (!readable) {
            QVERIFY2(text.contains(u"could not be read"_s) &&
                         text.contains(folder.filePath(aside[0])),
                     qPrintable(text));
            return;
        }
        QCOMPARE(text,
                 u"Aimwell Pro was not closed properly. Restore the unsaved changes to Finish "
                 u"the book ("_s +
                     (saved ? original : u"New Project (No Filename)"_s) +
                     u")?\n\nNo keeps a copy of them in "_s + folder.path() + u"."_s);
        if (answer != Answer::Yes) {
            QCOMPARE(f.w().statusBar()->currentMessage(),
                     u"The unsaved changes were kept as "_s + folder.filePath(aside[0]) + u"."_s);
            return;
        }
        // Shown as Open would show it, and the recovery copy is the live one again.
        QCOMPARE(RecoveryFile::read(path).value, snapshot);
        QVERIFY(f.w().currentProjectFile() == original && f.w().projectModified());
        QCOMPARE(f.text(u"lblTasks_Total_2"_s), u"Tasks: 2"_s);
        f.typeTasks(1, u"x"_s);
        f.w().undo(); // back at the restored state, which was never saved
        QVERIFY(f.w().projectModified());
        // The next Save writes it where it belongs, and nothing is left to recover.
        f.prompt.shown.clear();
        QCOMPARE(f.w().mnuSave_Click(), !theirs);
        if (theirs) {
            QVERIFY(f.prompt.texts().first() == Replace.arg(original) &&
                    ProjectFile::read(original).value.name == u"Their book"_s);
            return;
        }
        QCOMPARE(f.prompt.texts(), QStringList({u"Ready! Project saved."_s}));
        QVERIFY(ProjectFile::read(original).value == snapshot.project && !QFile::exists(path));
    }

    void snapshotFollowsUnsavedChanges()
    {
        WindowFixture f;
        const QString path = RecoveryFile::pathIn(f.w().workspace().recoveryFolder());
        f.addSubGoals({u"Draft"_s});
        f.typeTasks(1, u"outline\nwrite --"_s);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 3000); // the real one-second timer

        RecoveryWriter& writer = f.w().safety().recovery().writer();
        writer.setTiming(50ms, 300ms);
        QSignalSpy written(&writer, &RecoveryWriter::snapshotWritten);
        Project& p = f.w().project();
        QVERIFY(!f.save().isEmpty() && !QFile::exists(path));
        f.typeTasks(1, u"x"_s);
        QTRY_VERIFY(QFile::exists(path));
        f.w().undo(); // back at the saved state
        QVERIFY(!QFile::exists(path));
        written.clear();
        // Never written on the edit itself; steady typing is written by the longest delay, and
        // a pause writes what came last.
        const QDeadlineTimer ceiling(600); // the longest delay, with room for a loaded machine
        p.markEdited();
        p.setName(u"Typing"_s);
        QVERIFY(written.isEmpty() && !QFile::exists(path));
        for (int i = 0; written.isEmpty() && !ceiling.hasExpired(); ++i) {
            QTest::qWait(10);
            p.setName(u"Typing %1"_s.arg(i));
        }
        QVERIFY2(!written.isEmpty(), "steady typing was not written by the longest delay");
        p.setName(u"Paused"_s);
        QVERIFY(written.wait());
        QCOMPARE(RecoveryFile::read(path).value.project.name, u"Paused"_s);
        // A task file that cannot be read just now does not cost the snapshot already kept.
        const RecoverySnapshot kept = RecoveryFile::read(path).value;
        QVERIFY(QFile::remove(f.taskFile(1)) && QDir().mkpath(f.taskFile(1)));
        p.setDue(1, u"1 Dec 2026"_s);
        QVERIFY(f.w().safety().recovery().writer().flush().ok());
        QCOMPARE(RecoveryFile::read(path).value, kept);
        QVERIFY(QDir().rmdir(f.taskFile(1)));

        // A folder that cannot be written is told once, and again once it failed after working.
        // (A file where the folder should be, or no folder: root ignores permissions.)
        const auto edit = [&](const QString& text) {
            f.typeTasks(1, text);
            return writer.flush().ok();
        };
        const QString folder = f.w().workspace().recoveryFolder();
        QVERIFY(QDir(folder).removeRecursively());
        writeFile(folder, "a file where the folder should be");
        f.prompt.shown.clear();
        QVERIFY(!edit(u"a"_s) && !edit(u"b"_s));
        QVERIFY(f.prompt.shown.size() == 1 && f.prompt.shown[0].text.contains(folder));
        QVERIFY(QFile::remove(folder) && QDir().mkpath(folder) && edit(u"c"_s));
        QVERIFY(QDir(folder).removeRecursively() && !edit(u"d"_s));
        QCOMPARE(f.prompt.shown.size(), 2);
        QVERIFY(QDir().mkpath(folder) && edit(u"e"_s));
        p.setName(u"Pending"_s);
        f.prompt.answers = {Answer::No};
        QVERIFY(f.w().close());
        QVERIFY(!written.wait(200)); // removed, and the write that was waiting cancelled
        QVERIFY(!QFile::exists(path));
    }

    void changedOnDisk_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<Answer>("reload");
        QTest::addColumn<bool>("asked");
        const Change other = [](const QString& path) { // replaced by a rename, as editors do
            QVERIFY(TextFile::saveBytes(path, ProjectFile::serialize({u"Theirs"_s, {}})).ok());
        };
        QTest::newRow("another writer") << other << Answer::No << true;
        QTest::newRow("another writer, reloaded") << other << Answer::Yes << true;
        QTest::newRow("same size and time, other bytes")
            << rewrite("Draft", "Dreft") << Answer::No << true;
        QTest::newRow("removed") << Change([](const QString& path) { QFile::remove(path); })
                                 << Answer::Cancel << false;
    }

    void changedOnDisk()
    {
        QFETCH(Change, change);
        QFETCH(Answer, reload);
        QFETCH(bool, asked);
        WindowFixture f;
        QSignalSpy noticed(&f.w().safety().watcher(), &ProjectFileWatcher::changed);
        f.addSubGoals({u"Draft"_s});
        const QString path = f.save();
        QVERIFY(f.w().mnuSave_Click()); // replaces the file it watches
        QVERIFY(!noticed.wait(400));    // our own saves are never another program's change
        f.prompt.shown.clear();
        f.typeTasks(1, u"unsaved"_s);
        change(path);
        const QByteArray theirs = fileBytes(path);
        f.prompt.answers = {reload};
        QVERIFY(noticed.wait());
        QCOMPARE(f.prompt.shown.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(f.prompt.shown[0].text,
                     u"The project file %1 was changed by another program. Reload it?\n\nReloading "
                     u"discards the unsaved changes made here."_s.arg(path));
            writeFile(f.folder.file(u"projects/other.txt"_s), "a later notice");
            QVERIFY(!noticed.wait(300) && f.prompt.shown.size() == 1); // asked once
            QCOMPARE(f.prompt.shown[0].defaultButton, Answer::No);
        }
        f.prompt.shown.clear();
        if (reload == Answer::Yes) {
            QVERIFY(f.w().project().name() == u"Theirs"_s && !f.w().projectModified());
        } else if (!asked) { // written again
            QVERIFY(f.w().mnuSave_Click());
            QCOMPARE(ProjectFile::read(path).value.goals[0].tasks, QStringList({u"unsaved"_s}));
        } else { // asked before it is replaced; No keeps both
            QVERIFY(!f.w().mnuSave_Click());
            QCOMPARE(f.prompt.texts().first(), Replace.arg(path));
            QVERIFY(f.prompt.shown[0].defaultButton == Answer::No &&
                    f.prompt.texts().last().contains(u"Save As"_s));
            QVERIFY(fileBytes(path) == theirs && f.w().projectModified());
        }
        // Still watched after the file was replaced: a second change is noticed too.
        f.prompt.shown.clear();
        writeFile(path, ProjectFile::serialize({u"Theirs again"_s, {}}));
        QTRY_COMPARE(f.prompt.shown.size(), 1);
    }
};

QTEST_MAIN(TestSafety)
#include "tst_safety.moc"
