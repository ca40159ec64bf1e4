#include "app/InstanceChannel.h"
#include "app/SplashWindow.h"
#include "dialogs/AboutDialog.h"
#include "support/TestPaths.h"
#include "support/TestSupport.h"

#include <QProcess>

#include <future>

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    // The start-up window empties tmp of task files only, then opens the main window.
    void splashEmptiesTmpThenHandsOver()
    {
        TempAppFolder folder, outside, linked;
        const Workspace ws(folder.path());
        for (const QString& name : {u"tmp/1-2-3.txt"_s, u"tmp/notes.doc"_s, u"tmp/.keep"_s,
                                    u"tmp/sub/inner.txt"_s, u"precious.txt"_s})
            writeFile((name.startsWith(u'p') ? outside : folder).file(name), "x");
        QVERIFY(QFile::link(outside.file(u"precious.txt"_s), folder.file(u"tmp/link.txt"_s)));
        QStringList opened; // what tmp held by then
        // A short interval stands in for the two seconds.
        SplashWindow splash(
            ws, [&] { opened = entries(folder.file(u"tmp"_s)); }, 10);
        splash.show();
        QTRY_COMPARE(opened, (QStringList{u".keep"_s, u"sub"_s}));
        QVERIFY(!splash.isVisible() && !splash.timer().isActive());
        opened.clear();
        splash.tmrLoad_Timer(); // once only
        QVERIFY(opened.isEmpty());
        QCOMPARE(entries(folder.file(u"tmp/sub"_s)), QStringList{u"inner.txt"_s});
        // A tmp that links elsewhere is left alone.
        QVERIFY(QFile::link(outside.path(), linked.file(u"tmp"_s)));
        Workspace(linked.path()).prepareTmp();
        QCOMPARE(fileBytes(outside.file(u"precious.txt"_s)), "x"_ba);
    }

    // A new window is unmodified and shows only what adding a sub-goal needs (the calendar is
    // made later). The name limits hold from the start, and again after a longer name from a file.
    void mainWindowStartState()
    {
        WindowFixture f;
        QVERIFY(f.w().windowTitle() == u"Aimwell Pro v1.4 "_s && !f.w().projectModified());
        for (const char* name : {"lblDelete", "lblNewGoal", "lblGoalTasks", "txtGoalTasks",
                                 "lblTaskInstructions", "lblDueDate", "chkDueDate"})
            QVERIFY2(!f.visible(QString::fromLatin1(name)), name);
        const auto limit = [&](const QString& box) { return f.find<QLineEdit>(box)->maxLength(); };
        QVERIFY(limit(u"txtSubGoal"_s) == 16 && limit(u"txtProjectName"_s) == 40);
        f.addSubGoals({u"abc"_s});
        f.w().project().renameGoal(1, QString(20, u'x'));
        f.click(u"lblGoal_1"_s);
        QCOMPARE(limit(u"txtProjectName"_s), 40); // not the name's
        f.click(u"lblNewGoal"_s);
        QVERIFY(limit(u"txtSubGoal"_s) == 16 && limit(u"txtProjectName"_s) == 40);
    }

    // Pictures beside the program: everything stays there. (The installed layout: the second
    // start below.)
    void portableLayout()
    {
        QTemporaryDir root;
        QDir().mkpath(root.filePath(u"app/imgs"_s));
        const Workspace ws = Workspace::forProgram(
            root.filePath(u"app/"_s), root.filePath(u"home"_s), root.filePath(u"share"_s));
        QCOMPARE(ws.imagePath(u"a.gif"_s), root.filePath(u"app/imgs/a.gif"_s));
        QCOMPARE(ws.projectPath(u"P.gpj"_s), root.filePath(u"app/projects/P.gpj"_s));
    }

    void preparingFoldersNamesWhatIsWrong_data()
    {
        QTest::addColumn<QString>("inTheWay"); // a file put where a folder belongs
        QTest::addColumn<QString>("error");    // "" when it should work
        QTest::newRow("fresh") << u""_s << u""_s;
        QTest::newRow("data is a file") << u"data"_s << u"data\": a file"_s;
        QTest::newRow("no pictures") << u"imgs"_s << u"pictures are missing"_s;
    }
    void preparingFoldersNamesWhatIsWrong()
    {
        QFETCH(QString, inTheWay);
        QFETCH(QString, error);
        QTemporaryDir root;
        const QString data = root.filePath(u"data"_s), pictures = root.filePath(u"imgs"_s);
        if (!inTheWay.isEmpty())
            writeFile(root.filePath(inTheWay), "x");
        QDir().mkpath(pictures); // not over a file put there
        const Workspace ws(data, pictures);
        const Result result = ws.prepareFolders();
        const QString said = result.error + ws.prepareProjectsFolder().error;
        QCOMPARE(result.ok(), error.isEmpty());
        QVERIFY2(error.isEmpty() ? said.isEmpty() : said.contains(error), qPrintable(said));
        QVERIFY(!result.ok() || QFileInfo(data + u"/tmp"_s).isDir());
        QVERIFY(Workspace(u""_s, pictures).prepareFolders().error.contains(u"HOME"_s));
    }

    void commandLineWithoutDisplay_data()
    {
        QTest::addColumn<QString>("arguments"); // split at spaces
        QTest::addColumn<int>("exitCode");
        // Success: the start of standard output. Failure: the one line on standard error.
        QTest::addColumn<QString>("said");
        const QString usage = u"Usage: aimwell [options] [project.gpj]\n"_s;
        const QString version = u"Aimwell Pro 1.4\n"_s, more = u" Try 'aimwell --help'."_s;
        QTest::newRow("no display")
            << u""_s << 2
            << u"aimwell: cannot open a display; start it from a graphical desktop session."_s;
        QTest::newRow("--help with a file") << u"x.gpj --help"_s << 0 << usage;
        QTest::newRow("--version after Qt's own options")
            << u"-style fusion -reverse -platform offscreen --version"_s << 0 << version;
        QTest::newRow("unknown option")
            << u"-frobnicate"_s << 2 << u"aimwell: Unknown option 'frobnicate'."_s + more;
        QTest::newRow("two projects")
            << u"a.gpj b.gpj"_s << 2
            << u"aimwell: Only one project can be opened at a time."_s + more;
    }
    void commandLineWithoutDisplay()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            env.remove(name);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(AIMWELL_PROGRAM), arguments.split(u' ', Qt::SkipEmptyParts));
        QVERIFY(program.waitForFinished(20000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(exitCode == 0 ? out.startsWith(said) : out.isEmpty(), qPrintable(out));
        QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
                 exitCode == 0 ? QString() : said + u'\n');
    }

    void channelQueuesUntilTheWindowIsReady()
    {
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), ownerOnly);
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", oldRuntime); });
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        InstanceChannel channel(u"/data/one"_s);
        QVERIFY(channel.serverName().startsWith(runtime.path()));
        QVERIFY(channel.serverName() != InstanceChannel::serverNameFor(u"/data/two"_s));
        // A copy that crashed left its socket behind; the lock holder takes the name over.
        writeFile(channel.serverName(), "left over");
        QVERIFY2(channel.listen(), qPrintable(channel.errorString()));
        auto sent = std::async(std::launch::async, [&] {
            return InstanceChannel::send(channel.serverName(), u"/p/ünï code.gpj"_s);
        });
        QTRY_VERIFY_WITH_TIMEOUT(
            sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 10000);
        QVERIFY(sent.get());
        QStringList received;
        channel.setReceiver([&](const QString& path) { received.append(path); });
        QTRY_COMPARE(
            received,
            QStringList{u"/p/ünï code.gpj"_s}); // an empty one: the start without a file below
    }

    void projectOnCommandLineAndSecondStart()
    {
        // An installed layout in a temporary root, so that nothing lands in the build folder.
        QTemporaryDir root;
        const auto at = [&](const QString& relative) { return root.filePath(relative); };
        const QString program = at(u"usr/bin/aimwell"_s), data = at(u"home/data/Aimwell"_s);
        for (const QString& folder : {u"usr/bin"_s, u"usr/share/aimwell"_s, u"run"_s, u"sub"_s})
            QDir().mkpath(at(folder));
        QVERIFY(QFile::copy(QStringLiteral(AIMWELL_PROGRAM), program));
        QVERIFY(QFile::link(QStringLiteral(AIMWELL_SOURCE_DIR "/imgs"),
                            at(u"usr/share/aimwell/imgs"_s)));
        QFile::setPermissions(at(u"run"_s), ownerOnly);
        QFile::copy(QStringLiteral(AIMWELL_TEST_DATA "/full-project.gpj"), at(u"first.gpj"_s));
        QFile::copy(QStringLiteral(AIMWELL_TEST_DATA "/old-windows1252.gpj"),
                    at(u"sub/sécond.gpj"_s));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, at(u"home"_s));
        env.insert(u"XDG_DATA_HOME"_s, at(u"home/data"_s));
        env.insert(u"XDG_RUNTIME_DIR"_s, at(u"run"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"QT_LOGGING_RULES"_s, u"default.warning=false"_s); // only our own lines
        const auto start = [&](QProcess& p, const QStringList& arguments,
                               const QString& from = u"."_s) {
            p.setProcessEnvironment(env);
            p.setWorkingDirectory(at(from));
            p.start(program, arguments);
            QVERIFY(p.waitForStarted());
        };
        // A data folder whose tmp cannot be written stops the start with its name, on the
        // terminal too; a projects folder that cannot be written is told once the window is up.
        for (const auto& [folder, said] : {std::pair{u"tmp"_s, u"cannot keep its files in"_s},
                                           {u"projects"_s, u"cannot save projects in"_s}}) {
            writeFile(data + u'/' + folder, "a file where the folder should be");
            QProcess told;
            start(told, {});
            told.setReadChannel(QProcess::StandardError);
            QTRY_VERIFY_WITH_TIMEOUT(told.canReadLine(), 10000);
            const QString line = QString::fromUtf8(told.readLine());
            QVERIFY2(line.contains(said + u" \""_s + data), qPrintable(line));
            told.kill(); // leaves its lock behind, as a crash does
            told.waitForFinished();
            QFile::remove(data + u'/' + folder);
        }
        // The lock of a copy that is gone is taken over; a live copy's lock is never taken over
        // for being old.
        QProcess running, second, third;
        start(running, {u"first.gpj"_s});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data + u"/tmp/100-301-302.txt"_s), 10000);
        QFile lock(data + u"/.aimwell.lock"_s);
        QVERIFY(lock.open(QIODevice::ReadWrite) &&
                lock.setFileTime(QDateTime::currentDateTime().addDays(-30),
                                 QFileDevice::FileModificationTime));
        // A relative name is taken from the folder the second start was made in; that start
        // then leaves at once, as does one without a file.
        start(second, {u"sécond.gpj"_s}, u"sub"_s);
        start(third, {});
        for (QProcess* leaves : {&second, &third})
            QVERIFY(leaves->waitForFinished(5000) && leaves->exitCode() == 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data + u"/tmp/4217-815-9001.txt"_s), 5000);
        QCOMPARE(entries(at(u"usr/bin"_s)), QStringList{u"aimwell"_s});
        running.kill();
        running.waitForFinished();
    }

    void helpMenu()
    {
        WindowFixture f;
        const auto about = [&] {
            f.find<QAction>(u"mnuAbout"_s)->trigger();
            return f.w().findChild<AboutDialog*>();
        };
        QVERIFY(about()->isVisible() && !about()->isModal());
        const QString text = about()->findChild<QLabel*>(u"lblAbout"_s)->text();
        for (const QString& part : {u"Version 1.4"_s, u"GNU General Public License"_s,
                                    f.w().workspace().projectsFolder()})
            QVERIFY2(text.contains(part), qPrintable(part));
        // Enter on the button with the focus closes it.
        QTest::keyClick(about()->findChild<QPushButton*>(u"cmdOpenProjects"_s), Qt::Key_Return);
        QTRY_VERIFY(!f.w().findChild<AboutDialog*>() && f.opener.opened.isEmpty());
        QTest::mouseClick(about()->findChild<QPushButton*>(u"cmdOpenProjects"_s), Qt::LeftButton);
        QCOMPARE(f.opener.opened, QStringList{f.w().workspace().projectsFolder()});
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
