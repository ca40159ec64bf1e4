#include "app/DueReminder.h"
#include "components/DayWatcher.h"
#include "model/DueDateText.h"
#include "storage/ProjectFile.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>

namespace {

const QDate Today(2026, 3, 20);
const QString Service = u"org.freedesktop.Notifications"_s;

// The desktop's notification service as the program sees it.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList calls; // icon, actions, summary and body of each
public slots:
    uint Notify(const QString&, uint, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int)
    {
        calls.append(icon + u' ' + actions.join(u',') + u'\n' + summary + u'\n' + body);
        return uint(calls.size());
    }
};

SubGoalRecord goal(const char* name, QDate due, int pending, int done = 0)
{
    return {QString::number(qHash(QLatin1StringView(name))), QString::fromLatin1(name),
            DueDateText::format(due),
            QStringList(pending, u"to do"_s) + QStringList(done, u"done --"_s)};
}

// All done, overdue, not yet due soon, due soon: the second and the last need attention.
ProjectData sample(QDate today)
{
    return {u"My Goal"_s,
            {goal("Tidy shed", today.addDays(-2), 0, 1),
             goal("Paint house", today.addDays(-5), 1, 1), goal("Learn piano", today.addDays(4), 1),
             goal("Run 10 km", today.addDays(2), 3)}};
}

// What the sample says on the day: the project, then a line for each sub-goal named.
QString attention(QDate today)
{
    return u"My Goal: 2 sub-goals need attention\nPaint house: overdue since "_s +
           DueDateText::format(today.addDays(-5)) +
           u", 1 task pending\nRun 10 km: due in 2 days, 3 tasks pending"_s;
}

} // namespace

class TestReminders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_busDir;
    QProcess m_daemon;
    FakeNotifications m_fake;

private slots:
    // A session bus of the test's own that starts no services: only the fake answers.
    void initTestCase()
    {
        const QString config = m_busDir.filePath(u"bus.conf"_s);
        writeFile(config,
                  "<busconfig><type>session</type><listen>unix:dir=" +
                      QFile::encodeName(m_busDir.path()) +
                      "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                      "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>");
        m_daemon.start(u"dbus-daemon"_s,
                       {u"--config-file="_s + config, u"--print-address"_s, u"--nofork"_s});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead())
            QSKIP("dbus-daemon is not installed (apt-get install dbus)");
        const QByteArray address = m_daemon.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QDBusConnection fake = QDBusConnection::connectToBus(QString::fromUtf8(address), u"fake"_s);
        QVERIFY(fake.registerObject(u"/org/freedesktop/Notifications"_s, &m_fake,
                                    QDBusConnection::ExportAllSlots));
        QVERIFY(fake.registerService(Service));
    }
    void cleanupTestCase() { m_daemon.kill(), m_daemon.waitForFinished(); }
    void init() { m_fake.calls.clear(); }

    void windowTellsOncePerDayOrElseInTheStatusBar()
    {
        FixedClock clock(Today);
        WindowFixture f(&clock);
        f.w().LoadProject(f.folder.file(u"projects/home.gpj"_s), sample(Today));
        f.w().reminder().start();
        QTRY_COMPARE(m_fake.calls.size(), 1);
        QCOMPARE(m_fake.calls[0], u"io.github.aimwell.Aimwell default,Show\n"_s + attention(Today));
        // A second look the same day tells nothing; the next day tells again.
        f.w().reminder().check();
        clock.set(Today.addDays(1));
        f.w().findChild<DayWatcher*>()->check();
        QTRY_COMPARE(m_fake.calls.size(), 2);
        QVERIFY2(m_fake.calls[1].endsWith(u"\nLearn piano: due in 3 days, 1 task pending"
                                          "\nRun 10 km: due tomorrow, 3 tasks pending"_s),
                 qPrintable(m_fake.calls[1]));
        // A click on it selects the first sub-goal it names.
        QDBusMessage click = QDBusMessage::createSignal(u"/org/freedesktop/Notifications"_s,
                                                        Service, u"ActionInvoked"_s);
        QDBusConnection(u"fake"_s).send(click << uint(2) << u"default"_s);
        QTRY_COMPARE(f.w().selectedGoalIndex(), 2);
        QDBusConnection(u"fake"_s).unregisterService(Service);
        const auto back = qScopeGuard([] { QDBusConnection(u"fake"_s).registerService(Service); });
        clock.set(Today.addDays(2));
        f.w().findChild<DayWatcher*>()->check();
        QTRY_COMPARE(f.w().statusBar()->currentMessage(), u"My Goal: 3 sub-goals need attention"_s);
    }

    // The real program, copied so that its data folder is the test's; no display.
    void remindWithoutWindow()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(u"aimwell"_s);
        QVERIFY(QFile::copy(QStringLiteral(AIMWELL_PROGRAM), program));
        const QString projects = dir.filePath(u"data/Aimwell/projects"_s);
        const QDate today = QDate::currentDate();
        QDir().mkpath(projects);
        const QList<ProjectData> saved{{u"House"_s, {goal("Roof", today, 1)}},
                                       {u"Later"_s, {goal("Trip", today.addDays(9), 1)}},
                                       sample(today)};
        for (int i = 0; i < saved.size(); ++i)
            QVERIFY(ProjectFile::save(projects + u"/%1.gpj"_s.arg(i), saved[i]).ok());
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(u"XDG_DATA_HOME"_s, dir.filePath(u"data"_s));
        run.setProcessEnvironment(env);
        const auto remind = [&](int exitCode) {
            QSignalSpy finished(&run, &QProcess::finished);
            run.start(program, {u"--remind"_s});
            QVERIFY(finished.wait(20000)); // the fake answers from this event loop
            QCOMPARE(run.exitCode(), exitCode);
            QCOMPARE(run.readAllStandardError().contains("cannot read the projects folder"),
                     exitCode == 1);
        };
        remind(0);
        QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()),
                 u"House: 1 sub-goal needs attention\nRoof: due today, 1 task pending\n"_s +
                     attention(today) + u'\n');
        QCOMPARE(m_fake.calls.size(), 2);
        QCOMPARE(ProjectFile::read(projects + u"/2.gpj"_s).value, saved[2]); // nothing written
        // A file where the folder should be.
        QVERIFY(QDir(projects).removeRecursively() && QFile(projects).open(QIODevice::WriteOnly));
        remind(1);
        QVERIFY(run.readAllStandardOutput().isEmpty() && m_fake.calls.size() == 2);
    }

    // A stand-in systemctl first on PATH logs its calls and keeps the timer's state, which
    // the menu shows as it finds it when it opens.
    void dailyItemRunsSystemctl()
    {
        QTemporaryDir bin;
        writeFile(bin.filePath(u"systemctl"_s),
                  "#!/bin/sh\ncd \"$(dirname \"$0\")\"\necho \"$*\" >> calls\ncase $2 in\n"
                  "enable) echo enabled > state ;;\ndisable) echo disabled > state ;;\n"
                  "is-enabled) cat state ;;\nesac\n");
        QFile::setPermissions(bin.filePath(u"systemctl"_s), QFile::ReadOwner | QFile::ExeOwner);
        writeFile(bin.filePath(u"state"_s), "enabled"); // turned on outside the program
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        WindowFixture f;
        auto* menu = f.find<QMenu>(u"mnuProject"_s);
        auto* daily = menu->findChild<QAction*>(u"mnuRemindDaily"_s);
        emit menu->aboutToShow();
        QTRY_VERIFY(daily->isChecked());
        const QString check = u"--user is-enabled aimwell-remind.timer\n"_s;
        QString calls = check;
        for (const auto& [on, verb] : {std::pair{false, "disable"}, {true, "enable"}}) {
            daily->trigger();
            calls +=
                u"--user %1 --now aimwell-remind.timer\n"_s.arg(QLatin1StringView(verb)) + check;
            QTRY_COMPARE(QString::fromUtf8(fileBytes(bin.filePath(u"calls"_s))), calls);
            QTRY_COMPARE(daily->isChecked(), on);
            QSettings settings(f.folder.file(u"aimwell.ini"_s), QSettings::IniFormat);
            QCOMPARE(settings.value(u"reminders/daily"_s), QVariant(on));
        }
    }
};

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
