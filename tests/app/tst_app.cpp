#include "app/InstanceLock.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "app/Workspace.h"
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
    write(ws.taskFilePath(QStringLiteral("1-2-3")));
    write(folder.file(QStringLiteral("tmp/notes.doc")));
    write(folder.file(QStringLiteral("tmp/.keep")));
    write(folder.file(QStringLiteral("tmp/sub/inner.txt")));
    write(outside.file(QStringLiteral("precious.txt")), "precious");
    QVERIFY(QFile::link(outside.file(QStringLiteral("precious.txt")),
                        folder.file(QStringLiteral("tmp/link.txt"))));

    ws.prepareTmp();
    QDir tmp(folder.file(QStringLiteral("tmp")));
    QCOMPARE(tmp.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{QStringLiteral(".keep"), QStringLiteral("sub")}));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("tmp/sub/inner.txt"))));
    QFile precious(outside.file(QStringLiteral("precious.txt")));
    QVERIFY(precious.open(QIODevice::ReadOnly));
    QCOMPARE(precious.readAll(), QByteArray("precious"));
}

void TestApp::missingTmpIsCreatedAndALinkedTmpLeftAlone()
{
    TempAppFolder folder;
    Workspace(folder.path()).prepareTmp();
    QVERIFY(QDir(folder.file(QStringLiteral("tmp"))).exists());

    TempAppFolder linked;
    TempAppFolder elsewhere;
    write(elsewhere.file(QStringLiteral("data.txt")));
    QVERIFY(QFile::link(elsewhere.path(), linked.file(QStringLiteral("tmp"))));
    Workspace(linked.path()).prepareTmp();
    QVERIFY(QFile::exists(elsewhere.file(QStringLiteral("data.txt"))));
}

void TestApp::splashHandsOverAfterItsTimer()
{
    TempAppFolder folder;
    const Workspace ws(folder.path());
    write(ws.taskFilePath(QStringLiteral("old")));
    int opened = 0;
    bool tmpReadyFirst = false;
    SplashWindow splash(ws, [&] {
        ++opened;
        tmpReadyFirst = !QFile::exists(ws.taskFilePath(QStringLiteral("old")));
    });
    QCOMPARE(splash.timer().interval(), 2000);
    QVERIFY(splash.timer().isSingleShot());
    QVERIFY(splash.timer().isActive());
    QCOMPARE(splash.windowTitle(), QStringLiteral("Aimwell Pro v1.4 "));
    QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("lblAppName"))->text(),
             QStringLiteral("Aimwell Pro"));
    QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Please Wait ..."));
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
    QCOMPARE(w.windowTitle(), QStringLiteral("Aimwell Pro v1.4 "));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label14"))->text(), QStringLiteral("Main Goal:"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lblGoalName"))->text(),
             QStringLiteral("Add New Sub-Goal:"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lblFilename"))->text(),
             QStringLiteral("New Project (No Filename)"));
    QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("txtProjectName"))->text(),
             QStringLiteral("My Goal"));
    for (const char* name : {"txtSubGoal", "txtProjectName"})
        QCOMPARE(w.findChild<QLineEdit*>(QString::fromLatin1(name))->textMargins(),
                 QMargins(10, 0, 20, 0));
    for (const char* name : {"lblDelete", "lblNewGoal", "lblGoalTasks", "txtGoalTasks",
                             "lblTaskInstructions", "lblDueDate", "chkDueDate", "Calendar1"})
        QVERIFY2(!w.findChild<QWidget*>(QString::fromLatin1(name))->isVisible(), name);
    QVERIFY(w.currentProjectFile().isEmpty());
    QVERIFY(!w.projectModified());
    QCOMPARE(w.selectedGoalIndex(), 0);

    const QList<std::pair<const char*, QString>> menu{{"mnuNew", QStringLiteral("Ctrl+N")},
                                                      {"mnuOpen", QStringLiteral("Ctrl+O")},
                                                      {"mnuSave", QStringLiteral("Ctrl+S")},
                                                      {"mnuSaveAs", QString()},
                                                      {"mnuExit", QString()}};
    for (const auto& [name, shortcut] : menu)
        QCOMPARE(w.findChild<QAction*>(QString::fromLatin1(name))->shortcut().toString(), shortcut);
    QCOMPARE(w.findChild<QAction*>(QStringLiteral("mnuSaveAs"))->text(),
             QStringLiteral("Save As..."));
}

void TestApp::oneCopyPerFolder()
{
    TempAppFolder folder;
    InstanceLock first(folder.path());
    QCOMPARE(first.acquire(), InstanceLock::State::Acquired);
    InstanceLock second(folder.path());
    QCOMPARE(second.acquire(), InstanceLock::State::HeldByOther);

    // A lock left by a copy that crashed is taken over.
    TempAppFolder crashed;
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    write(crashed.file(QStringLiteral(".aimwell.lock")),
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
    QVERIFY2(err.contains(QStringLiteral("cannot open a display")), qPrintable(err));
    QCOMPARE(err.count(u'\n'), 0);
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
