#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "storage/InstanceLock.h"
#include "storage/Workspace.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void preparingTmpEmptiesOnlyWhatItShould();
    void missingTmpIsCreatedAndALinkedTmpLeftAlone();
    void splashHandsOverAfterItsTimer();
    void mainWindowStartState();
    void oneCopyPerFolder();
    void noDisplayEndsCleanly();

private:
    static void write(const QString& path, const QByteArray& bytes = "x")
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

void TestApp::preparingTmpEmptiesOnlyWhatItShould()
{
    TempAppFolder folder;
    TempAppFolder outside;
    const Workspace ws(folder.path());
    write(ws.taskFilePath(u"1-2-3"_s));
    write(folder.file(u"tmp/notes.doc"_s));
    write(folder.file(u"tmp/.keep"_s));
    write(folder.file(u"tmp/sub/inner.txt"_s));
    write(outside.file(u"precious.txt"_s), "precious");
    QVERIFY(QFile::link(outside.file(u"precious.txt"_s), folder.file(u"tmp/link.txt"_s)));

    ws.prepareTmp();
    QDir tmp(folder.file(u"tmp"_s));
    QCOMPARE(tmp.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{u".keep"_s, u"sub"_s}));
    QVERIFY(QFile::exists(folder.file(u"tmp/sub/inner.txt"_s)));
    QFile precious(outside.file(u"precious.txt"_s));
    QVERIFY(precious.open(QIODevice::ReadOnly));
    QCOMPARE(precious.readAll(), QByteArray("precious"));
}

void TestApp::missingTmpIsCreatedAndALinkedTmpLeftAlone()
{
    TempAppFolder folder;
    Workspace(folder.path()).prepareTmp();
    QVERIFY(QDir(folder.file(u"tmp"_s)).exists());

    TempAppFolder linked;
    TempAppFolder elsewhere;
    write(elsewhere.file(u"data.txt"_s));
    QVERIFY(QFile::link(elsewhere.path(), linked.file(u"tmp"_s)));
    Workspace(linked.path()).prepareTmp();
    QVERIFY(QFile::exists(elsewhere.file(u"data.txt"_s)));
}

void TestApp::splashHandsOverAfterItsTimer()
{
    TempAppFolder folder;
    const Workspace ws(folder.path());
    write(ws.taskFilePath(u"old"_s));
    int opened = 0;
    bool tmpReadyFirst = false;
    SplashWindow splash(ws, [&] {
        ++opened;
        tmpReadyFirst = !QFile::exists(ws.taskFilePath(u"old"_s));
    });
    QCOMPARE(splash.timer().interval(), 2000);
    QVERIFY(splash.timer().isSingleShot());
    QCOMPARE(splash.timer().timerType(), Qt::PreciseTimer); // never early
    QVERIFY(splash.timer().isActive());
    QCOMPARE(splash.windowTitle(), u"Aimwell Pro v1.4 "_s);
    QCOMPARE(splash.findChild<QLabel*>(u"lblAppName"_s)->text(), u"Aimwell Pro"_s);
    QCOMPARE(splash.findChild<QLabel*>(u"Label1"_s)->text(), u"Please Wait ..."_s);
    splash.show();
    QCOMPARE(opened, 0);

    // A short interval stands in for the two seconds.
    SplashWindow quick(
        ws, [&] { ++opened; }, 10);
    quick.show();
    QTRY_COMPARE(opened, 1);
    QVERIFY(!quick.isVisible());
    splash.tmrLoad_Timer();
    splash.tmrLoad_Timer();
    QCOMPARE(opened, 2);
    QVERIFY(tmpReadyFirst);
    QVERIFY(!splash.timer().isActive());
}

void TestApp::mainWindowStartState()
{
    WindowFixture f;
    MainWindow& w = f.w();
    QCOMPARE(w.windowTitle(), u"Aimwell Pro v1.4 "_s);
    QCOMPARE(w.findChild<QLabel*>(u"Label14"_s)->text(), u"Main Goal:"_s);
    QCOMPARE(w.findChild<QLabel*>(u"lblGoalName"_s)->text(), u"Add New Sub-Goal:"_s);
    QCOMPARE(w.findChild<QLabel*>(u"lblFilename"_s)->text(), u"New Project (No Filename)"_s);
    QCOMPARE(w.findChild<QLineEdit*>(u"txtProjectName"_s)->text(), u"My Goal"_s);
    for (const char* name : {"txtSubGoal", "txtProjectName"})
        QCOMPARE(w.findChild<QLineEdit*>(QString::fromLatin1(name))->textMargins(),
                 QMargins(10, 0, 20, 0));
    for (const char* name : {"lblDelete", "lblNewGoal", "lblGoalTasks", "txtGoalTasks",
                             "lblTaskInstructions", "lblDueDate", "chkDueDate"})
        QVERIFY2(!w.findChild<QWidget*>(QString::fromLatin1(name))->isVisible(), name);
    const auto* calendar = w.findChild<QWidget*>(u"Calendar1"_s);
    QVERIFY(!calendar || !calendar->isVisible());
    QVERIFY(w.currentProjectFile().isEmpty());
    QVERIFY(!w.projectModified());
    QCOMPARE(w.selectedGoalIndex(), 0);

    // The name limits hold from the start; the rename box is not held to the name's length.
    auto* subGoal = w.findChild<QLineEdit*>(u"txtSubGoal"_s);
    QCOMPARE(subGoal->maxLength(), 16);
    QCOMPARE(w.findChild<QLineEdit*>(u"txtProjectName"_s)->maxLength(), 40);
    f.addSubGoals({u"abc"_s});
    QVERIFY(subGoal->text().isEmpty()); // Enter added, and typed nothing
    f.click(u"lblGoal_1"_s);
    QCOMPARE(subGoal->maxLength(), 16);
}

void TestApp::oneCopyPerFolder()
{
    TempAppFolder folder;
    InstanceLock first(folder.path());
    QCOMPARE(first.acquire(), InstanceLock::State::Acquired);
    InstanceLock second(folder.path());
    QCOMPARE(second.acquire(), InstanceLock::State::HeldByOther);
    // A live copy's lock is never taken over for being old.
    QFile lockFile(folder.file(u".aimwell.lock"_s));
    QVERIFY(lockFile.open(QIODevice::ReadWrite));
    QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-30),
                                 QFileDevice::FileModificationTime));
    lockFile.close();
    InstanceLock third(folder.path());
    QCOMPARE(third.acquire(), InstanceLock::State::HeldByOther);

    // A lock left by a copy that crashed is taken over.
    TempAppFolder crashed;
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    write(crashed.file(u".aimwell.lock"_s),
          QByteArray::number(child) + "\naimwell\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    InstanceLock after(crashed.path());
    QCOMPARE(after.acquire(), InstanceLock::State::Acquired);
}

void TestApp::noDisplayEndsCleanly()
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(AIMWELL_PROGRAM), {});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY(program.exitCode() != 0);
    const QString err = QString::fromUtf8(program.readAllStandardError()).trimmed();
    QVERIFY2(err.contains(u"cannot open a display"_s), qPrintable(err));
    QCOMPARE(err.count(u'\n'), 0);
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
