#include "dashboard/ProjectPrinter.h"
#include "model/DueDateText.h"
#include "model/Forecast.h"
#include "model/ProgressHistory.h"
#include "progress/ProgressWindow.h"
#include "storage/HistoryFile.h"
#include "storage/ProjectFile.h"
#include "support/CoreSupport.h"
#include "support/TestSupport.h"

#include <QChart>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void savesRecordTheDay_data();
    void savesRecordTheDay();
    void unreadableHistorySetAside_data();
    void unreadableHistorySetAside();
    void saveAsTakesTheHistoryAlong();
    void forecast_data();
    void forecast();
    void window_data();
    void window();
    void pdfHasTheProgressPage();
};

namespace {

const QDate Day0(2027, 2, 1);

// "A=3/1 B=2/0": sub-goals by key with total/completed, as one save recorded them.
ProjectData projectOf(const QString& counts)
{
    ProjectData project{u"Plan"_s, {}};
    for (const QString& goal : counts.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = goal.split(QRegularExpression(u"[=/]"_s));
        SubGoalRecord record{parts[0], u"Goal "_s + parts[0], {}, {}};
        for (int i = 0; i < parts[1].toInt(); ++i)
            record.tasks.append(i < parts[2].toInt() ? u"t --"_s : u"t"_s);
        project.goals.append(record);
    }
    return project;
}

// "0:A=3/1 B=2/0;1:A=4/2": saves by day after Day0, as history rows.
QList<HistoryRow> rowsOf(const QString& saves)
{
    QList<HistoryRow> rows;
    for (const QString& save : saves.split(u';', Qt::SkipEmptyParts)) {
        const QDate day = Day0.addDays(save.section(u':', 0, 0).toInt());
        for (const SubGoalRecord& g : projectOf(save.section(u':', 1)).goals)
            rows.append({day, g.key, g.name, int(g.tasks.size()), int(g.tasks.count(u"t --"_s))});
    }
    return rows;
}

} // namespace

void TestProgress::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("line"); // as the file holds it
    QTest::newRow("plain") << u"Paint"_s << "2027-02-01,K1,Paint,3,1\r\n"_ba;
    QTest::newRow("comma") << u"Walls, doors"_s << "2027-02-01,K1,\"Walls, doors\",3,1\r\n"_ba;
    QTest::newRow("quotes") << u"The \"big\" one"_s
                            << "2027-02-01,K1,\"The \"\"big\"\" one\",3,1\r\n"_ba;
    QTest::newRow("non-ASCII") << u"Küche 日本 \u00A8"_s
                               << u"2027-02-01,K1,Küche 日本 \u00A8,3,1\r\n"_s.toUtf8();
    QTest::newRow("empty") << QString() << "2027-02-01,K1,,3,1\r\n"_ba;
}

void TestProgress::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, line);
    const QList<HistoryRow> rows{{Day0, u"K1"_s, name, 3, 1},
                                 {Day0.addDays(1), u"K2"_s, name, 0, 0}};
    const QTemporaryDir dir;
    const QString path = HistoryFile::pathFor(dir.filePath(u"Plan.gpj"_s));
    QCOMPARE(QFileInfo(path).fileName(), u"Plan.history.csv"_s);
    QVERIFY(HistoryFile::write(path, rows).ok());
    const QByteArray bytes = fileBytes(path);
    QVERIFY(bytes.startsWith("date,key,name,total,completed\r\n" + line));
    const auto read = HistoryFile::read(path);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.value, rows);
}

void TestProgress::savesRecordTheDay_data()
{
    QTest::addColumn<QString>("saves"); // day:counts, one save each
    QTest::addColumn<QString>("rows");  // the file's rows after them
    QTest::newRow("first save") << u"0:A=3/1"_s << u"0:A=3/1"_s;
    QTest::newRow("same day replaced") << u"0:A=3/1 B=1/0;0:A=4/2"_s << u"0:A=4/2"_s;
    QTest::newRow("next day added") << u"0:A=3/1;1:A=4/2"_s << u"0:A=3/1;1:A=4/2"_s;
    QTest::newRow("deleted sub-goal's past kept")
        << u"0:A=3/1 B=2/0;1:A=3/2"_s << u"0:A=3/1 B=2/0;1:A=3/2"_s;
    QTest::newRow("clock set back") << u"2:A=5/5;0:A=3/1"_s << u"0:A=3/1;2:A=5/5"_s;
}

void TestProgress::savesRecordTheDay()
{
    QFETCH(QString, saves);
    QFETCH(QString, rows);
    const QTemporaryDir dir;
    const QString project = dir.filePath(u"Plan.gpj"_s);
    ProgressHistory history;
    QVERIFY(history.open(project).isEmpty());
    for (const QString& save : saves.split(u';')) {
        const QString note = history.record(project, projectOf(save.section(u':', 1)),
                                            Day0.addDays(save.section(u':', 0, 0).toInt()));
        QVERIFY2(note.isEmpty(), qPrintable(note));
    }
    history.waitForWrites();
    QCOMPARE(history.rows(), rowsOf(rows));
    ProgressHistory reopened;
    QVERIFY(reopened.open(project).isEmpty());
    QCOMPARE(reopened.rows(), rowsOf(rows));
}

void TestProgress::unreadableHistorySetAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not UTF-8") << "date,key,name,total,completed\r\n2027-02-01,K,\xff,1,0\r\n"_ba;
    QTest::newRow("another header") << "day,key,name\r\n"_ba;
    QTest::newRow("quote left open")
        << "date,key,name,total,completed\r\n2027-02-01,K,\"a,1,0\r\n"_ba;
    QTest::newRow("more done than total")
        << "date,key,name,total,completed\r\n2027-02-01,K,a,1,2\r\n"_ba;
}

void TestProgress::unreadableHistorySetAside()
{
    QFETCH(QByteArray, bytes);
    const QTemporaryDir dir;
    const QString project = dir.filePath(u"Plan.gpj"_s);
    const QString path = HistoryFile::pathFor(project);
    writeFile(path, bytes);
    ProgressHistory history;
    QVERIFY(!history.open(project).isEmpty());
    QVERIFY(history.rows().isEmpty());
    const QStringList aside =
        QDir(dir.path()).entryList({u"Plan.history-unreadable-*.csv"_s}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QCOMPARE(fileBytes(dir.filePath(aside.first())), bytes);
    // Damaged after it was read: kept too, never written over.
    QVERIFY(history.record(project, projectOf(u"A=1/0"_s), Day0).isEmpty());
    history.waitForWrites();
    writeFile(path, bytes + "x");
    QVERIFY(!history.record(project, projectOf(u"A=2/0"_s), Day0).isEmpty());
    history.waitForWrites();
    QCOMPARE(QDir(dir.path()).entryList({u"Plan.history-unreadable-*.csv"_s}).size(), 2);
    QCOMPARE(HistoryFile::read(path).value, rowsOf(u"0:A=2/0"_s));
}

void TestProgress::saveAsTakesTheHistoryAlong()
{
    const QTemporaryDir dir;
    const QString first = dir.filePath(u"First.gpj"_s), second = dir.filePath(u"Second.gpj"_s);
    ProgressHistory history;
    QVERIFY(history.record(first, projectOf(u"A=3/1"_s), Day0).isEmpty());
    QVERIFY(history.record(second, projectOf(u"A=4/2"_s), Day0.addDays(1)).isEmpty());
    history.waitForWrites();
    QCOMPARE(HistoryFile::read(HistoryFile::pathFor(first)).value, rowsOf(u"0:A=3/1"_s));
    QCOMPARE(HistoryFile::read(HistoryFile::pathFor(second)).value, rowsOf(u"0:A=3/1;1:A=4/2"_s));
}

void TestProgress::forecast_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<int>("today"); // days after Day0
    QTest::addColumn<int>("due");   // days after Day0; -1: none
    QTest::addColumn<QString>("sentence");
    QTest::newRow("no history") << QString() << 0 << -1
                                << u"No history yet: each save records the day's counts."_s;
    QTest::newRow("one day") << u"0:A=10/2"_s << 5 << -1
                             << u"Only one day of history: save on another day for a forecast."_s;
    QTest::newRow("no progress in 14 days")
        << u"0:A=10/2;10:A=10/2"_s << 10 << -1
        << u"No tasks completed in the last 14 days: no forecast yet."_s;
    QTest::newRow("steady pace, no due date") << u"0:A=10/0;2:A=10/2;4:A=10/4"_s << 4 << -1
                                              << u"At this pace: all tasks done by 11 Feb 2027."_s;
    QTest::newRow("pace of the last 14 days only")
        << u"0:A=30/0;16:A=30/18;30:A=30/25"_s << 30 << -1
        << u"At this pace: all tasks done by 13 Mar 2027."_s;
    QTest::newRow("after the due date") << u"0:A=10/0;2:A=10/2;4:A=10/4"_s << 4 << 1
                                        << u"At this pace: all tasks done by "
                                           u"11 Feb 2027, 9 days after the due date."_s;
    QTest::newRow("before the due date") << u"0:A=10/0;2:A=10/2;4:A=10/4"_s << 4 << 11
                                         << u"At this pace: all tasks done by "
                                            u"11 Feb 2027, 1 day before the due date."_s;
    QTest::newRow("scope growing with completion, finish later")
        << u"0:A=10/0;4:A=14/8"_s << 4 << -1 << u"At this pace: all tasks done by 11 Feb 2027."_s;
    QTest::newRow("scope growing faster")
        << u"0:A=10/0;4:A=20/4"_s << 4 << -1
        << u"Tasks are added as fast as they are completed or faster: at this pace they will "
           u"not all be done."_s;
    QTest::newRow("all done") << u"0:A=10/0;4:A=10/10"_s << 4 << -1 << u"All tasks done."_s;
}

void TestProgress::forecast()
{
    QFETCH(QString, saves);
    QFETCH(int, today);
    QFETCH(int, due);
    QFETCH(QString, sentence);
    const QList<ProgressPoint> points = Forecast::series(rowsOf(saves));
    const Forecast f =
        Forecast::of(points, Day0.addDays(today), due < 0 ? QDate() : Day0.addDays(due));
    QCOMPARE(f.sentence, sentence);
}

void TestProgress::window_data()
{
    QTest::addColumn<int>("choice"); // 0 whole goal, else the panel
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("lastRow");
    const QStringList all{u"Total tasks"_s, u"Completed"_s, u"Forecast"_s, u"Due date"_s};
    // B was deleted on day 3: the whole goal keeps its past days, the choices do not offer it.
    QTest::newRow("whole goal") << 0 << 4
                                << u"At this pace: all tasks done by 13 Feb 2027, 3 days after "
                                   u"the due date."_s
                                << QStringList{u"Total tasks"_s, u"Completed"_s, u"Forecast"_s,
                                               u"Forecast total"_s, u"Due date"_s}
                                << u"5 Feb 2027|10|6|4"_s;
    QTest::newRow("sub-goal done")
        << 1 << 4 << u"All tasks done."_s << all.mid(0, 2) << u"5 Feb 2027|4|4|0"_s;
    QTest::newRow("sub-goal with due date")
        << 2 << 2 << u"At this pace: all tasks done by 7 Feb 2027, 3 days before the due date."_s
        << all << u"5 Feb 2027|6|2|4"_s;
}

void TestProgress::window()
{
    QFETCH(int, choice);
    QFETCH(int, points);
    QFETCH(QString, sentence);
    QFETCH(QStringList, lines);
    QFETCH(QString, lastRow);
    FixedClock clock(Day0.addDays(4));
    WindowFixture f(&clock);
    ProjectData project = projectOf(u"A=4/4 C=6/2"_s);
    project.goals[1].due = DueDateText::format(Day0.addDays(9));
    const QString path = f.folder.file(u"Plan.gpj"_s);
    QVERIFY(ProjectFile::save(path, project).ok());
    QVERIFY(HistoryFile::write(HistoryFile::pathFor(path),
                               rowsOf(u"0:A=4/0 B=2/0;1:A=4/1 B=2/1;3:A=4/3 C=6/0"_s))
                .ok());
    f.w().openProjectFile(path);
    f.find<QAction>(u"mnuProgress"_s)->trigger();
    auto* w = f.find<ProgressWindow>(u"frmProgress"_s);
    QVERIFY(w && w->isVisible());
    // The save adds today's point.
    QVERIFY(f.w().mnuSave_Click());
    w->findChild<QComboBox*>(u"cboProgressGoal"_s)->setCurrentIndex(choice);

    QStringList names;
    for (QAbstractSeries* s : w->chart()->series())
        names.append(s->name());
    QCOMPARE(names, lines);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(static_cast<QLineSeries*>(w->chart()->series().at(i))->count(), points);
    QCOMPARE(w->findChild<QLabel*>(u"lblForecast"_s)->text(), sentence);
    auto* table = w->findChild<QTableWidget*>(u"tblProgress"_s);
    w->findChild<QPushButton*>(u"btnShowTable"_s)->click();
    QVERIFY(table->isVisible());
    QCOMPARE(table->rowCount(), points);
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells.append(table->item(points - 1, c)->text());
    QCOMPARE(cells.join(u'|'), lastRow);
}

void TestProgress::pdfHasTheProgressPage()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext is missing (Debian: poppler-utils)");
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"plan.pdf"_s);
    ProjectData project = projectOf(u"A=10/4 B=3/1"_s);
    project.goals[0].due = u"2027-02-05"_s;
    const QList<HistoryRow> rows = rowsOf(u"0:A=10/0 B=3/0;4:A=10/4 B=3/1"_s);
    QVERIFY(ProjectPrinter::exportPdf(path, project, Day0.addDays(4), QLocale::c(), rows).ok());
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, path, u"-"_s});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    QVERIFY2(text.contains(u"Progress over time"_s), qPrintable(text));
    QVERIFY2(text.contains(u"Whole goal: At this pace: all tasks done by 12 Feb 2027, 7 days "
                           u"after the due date."_s),
             qPrintable(text));
    QVERIFY2(text.contains(u"Goal A: At this pace: all tasks done by 11 Feb 2027, 6 days after "
                           u"the due date."_s),
             qPrintable(text));
    QVERIFY(!text.contains(u"Goal B:"_s)); // no due date
}

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
