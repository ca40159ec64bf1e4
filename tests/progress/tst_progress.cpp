#include "model/DueDateText.h"
#include "model/Forecast.h"
#include "model/ProgressHistory.h"
#include "progress/ProgressWindow.h"
#include "support/TestSupport.h"

#include <QChart>
#include <QComboBox>
#include <QLineSeries>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>

namespace {

const QDate Day0(2027, 2, 1);

// "A=3/1 B=2/0": sub-goals by key with total/completed, as one save recorded them.
ProjectData projectOf(const QString& counts)
{
    ProjectData project{u"Plan"_s, {}};
    for (const QString& goal : counts.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList n = goal.split(QRegularExpression(u"[=/]"_s));
        project.goals.append({n[0], u"Goal "_s + n[0], {}, QStringList(n[2].toInt(), u"t --"_s)});
        project.goals.last().tasks += QStringList(n[1].toInt() - n[2].toInt(), u"t"_s);
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

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    // The file's form, names that need quoting among them, and files that cannot be read.
    void historyFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name"); // of its one row; null: the file cannot be read
        const QByteArray head = "date,key,name,total,completed\r\n2027-02-01,K1,";
        QTest::newRow("comma and quotes") << head + "\"The \"\"big\"\" walls, doors\",3,1\r\n"
                                          << u"The \"big\" walls, doors"_s;
        QTest::newRow("non-ASCII")
            << head + u"Küche 日本 \u00A8,3,1\r\n"_s.toUtf8() << u"Küche 日本 \u00A8"_s;
        QTest::newRow("not UTF-8") << head + "\xff,3,1\r\n" << QString();
        QTest::newRow("quote left open") << head + "\"a,3,1\r\n" << QString();
    }
    void historyFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        const auto read = HistoryFile::parse(bytes);
        QCOMPARE(read.ok(), !name.isNull());
        if (name.isNull())
            return;
        const QList<HistoryRow> rows{{Day0, u"K1"_s, name, 3, 1}};
        QCOMPARE(read.value, rows);
        QCOMPARE(HistoryFile::serialize(rows), bytes);
    }

    // An unreadable file, also one damaged after it was read, is kept aside, never written over.
    void savesRecordTheDay_data()
    {
        QTest::addColumn<QByteArray>("before"); // the file before the project is opened
        QTest::addColumn<QString>("saves");     // day:counts, one save each
        QTest::addColumn<QString>("rows");      // the file's rows after them
        QTest::newRow("same day replaced")
            << QByteArray() << u"0:A=3/1 B=1/0;0:A=4/2"_s << u"0:A=4/2"_s;
        QTest::newRow("deleted sub-goal's past kept")
            << QByteArray() << u"0:A=3/1 B=2/0;1:A=3/2"_s << u"0:A=3/1 B=2/0;1:A=3/2"_s;
        QTest::newRow("clock set back")
            << QByteArray() << u"2:A=5/5;0:A=3/1"_s << u"0:A=3/1;2:A=5/5"_s;
        QTest::newRow("unreadable") << "day,key,name\r\n"_ba << u"0:A=1/0"_s << u"0:A=1/0"_s;
    }
    void savesRecordTheDay()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, saves);
        QFETCH(QString, rows);
        const QTemporaryDir dir;
        const QString project = dir.filePath(u"Plan.gpj"_s), path = HistoryFile::pathFor(project);
        const auto aside = [&] {
            QByteArrayList kept;
            for (const QString& name :
                 QDir(dir.path()).entryList({u"Plan.history-unreadable-*.csv"_s}, QDir::Files))
                kept.append(fileBytes(dir.filePath(name)));
            std::sort(kept.begin(), kept.end());
            return kept;
        };
        if (!before.isNull())
            writeFile(path, before);
        ProgressHistory history;
        QCOMPARE(history.open(project).isEmpty(), before.isNull());
        for (const QString& save : saves.split(u';')) {
            const QString note = history.record(project, projectOf(save.section(u':', 1)),
                                                Day0.addDays(save.section(u':', 0, 0).toInt()));
            QVERIFY2(note.isEmpty(), qPrintable(note));
        }
        history.waitForWrites();
        QCOMPARE(HistoryFile::read(path).value, rowsOf(rows));
        writeFile(path, "x");
        QVERIFY(!history.record(project, projectOf(u"A=2/0"_s), Day0.addDays(5)).isEmpty());
        history.waitForWrites();
        QCOMPARE(aside(), QByteArrayList({before, "x"}).mid(before.isNull() ? 1 : 0));
        // Saved under another name, the project takes its history along.
        const QString copy = dir.filePath(u"Copy.gpj"_s);
        QVERIFY(history.record(copy, projectOf(u"A=9/9"_s), Day0.addDays(9)).isEmpty());
        history.waitForWrites();
        QCOMPARE(HistoryFile::read(path).value, rowsOf(rows + u";5:A=2/0"_s));
        QCOMPARE(HistoryFile::read(HistoryFile::pathFor(copy)).value,
                 rowsOf(rows + u";5:A=2/0;9:A=9/9"_s));
    }

    void forecast_data()
    {
        QTest::addColumn<QString>("saves");
        QTest::addColumn<int>("today"); // days after Day0
        QTest::addColumn<int>("due");   // days after Day0; -1: none
        QTest::addColumn<QString>("sentence");
        const QString steady = u"0:A=10/0;2:A=10/2;4:A=10/4"_s;
        const QString by = u"At this pace: all tasks done by "_s;
        QTest::newRow("no history")
            << QString() << 0 << -1 << u"No history yet: each save records the day's counts."_s;
        QTest::newRow("one day")
            << u"0:A=10/2"_s << 5 << -1
            << u"Only one day of history: save on another day for a forecast."_s;
        QTest::newRow("no progress in 14 days")
            << u"0:A=10/2;10:A=10/2"_s << 10 << -1
            << u"No tasks completed in the last 14 days: no forecast yet."_s;
        QTest::newRow("pace of the last 14 days only")
            << u"0:A=30/0;16:A=30/18;30:A=30/25"_s << 30 << -1 << by + u"13 Mar 2027."_s;
        QTest::newRow("before the due date")
            << steady << 4 << 11 << by + u"11 Feb 2027, 1 day before the due date."_s;
        QTest::newRow("scope growing faster")
            << u"0:A=10/0;4:A=20/4"_s << 4 << -1
            << u"Tasks are added as fast as they are completed or faster: at this pace they will "
               u"not all be done."_s;
    }
    void forecast()
    {
        QFETCH(QString, saves);
        QFETCH(int, today);
        QFETCH(int, due);
        QFETCH(QString, sentence);
        const Forecast f = Forecast::of(Forecast::series(rowsOf(saves)), Day0.addDays(today),
                                        due < 0 ? QDate() : Day0.addDays(due));
        QCOMPARE(f.sentence, sentence);
    }

    // B, deleted on day 3, stays in the whole goal's past. The report says the same sentences.
    void window_data()
    {
        QTest::addColumn<int>("choice"); // 0 whole goal, else the panel
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<int>("lines");       // in the chart
        QTest::addColumn<QString>("table");   // its rows, and the last of them
        QTest::addColumn<QString>("printed"); // how the report names it; "" when it is left out
        QTest::newRow("whole goal")
            << 0 << u"At this pace: all tasks done by 13 Feb 2027, 3 days after the due date."_s
            << 5 << u"4: 5 Feb 2027|10|6|4"_s << u"Whole goal"_s;
        QTest::newRow("sub-goal done")
            << 1 << u"All tasks done."_s << 2 << u"4: 5 Feb 2027|4|4|0"_s << QString();
        QTest::newRow("sub-goal with due date")
            << 2 << u"At this pace: all tasks done by 7 Feb 2027, 3 days before the due date."_s
            << 4 << u"2: 5 Feb 2027|6|2|4"_s << u"Goal C"_s;
    }
    void window()
    {
        QFETCH(int, choice);
        QFETCH(QString, sentence);
        QFETCH(int, lines);
        QFETCH(QString, table);
        QFETCH(QString, printed);
        FixedClock clock(Day0.addDays(4));
        WindowFixture f(&clock);
        ProjectData project = projectOf(u"A=4/4 C=6/2"_s);
        project.goals[1].due = DueDateText::format(Day0.addDays(9));
        const QString path = f.folder.file(u"Plan.gpj"_s);
        writeFile(HistoryFile::pathFor(path),
                  HistoryFile::serialize(rowsOf(u"0:A=4/0 B=2/0;1:A=4/1 B=2/1;3:A=4/3 C=6/0"_s)));
        f.w().LoadProject(path, project);
        f.find<QAction>(u"mnuProgress"_s)->trigger();
        auto* w = f.find<ProgressWindow>(u"frmProgress"_s);
        QVERIFY(w && w->isVisible());
        QVERIFY(f.w().mnuSave_Click()); // adds today's point
        w->findChild<QComboBox*>(u"cboProgressGoal"_s)->setCurrentIndex(choice);
        QCOMPARE(w->findChild<QLabel*>(u"lblForecast"_s)->text(), sentence);
        QCOMPARE(w->chart()->series().size(), lines);
        auto* rows = w->findChild<QTableWidget*>(u"tblProgress"_s);
        w->findChild<QPushButton*>(u"btnShowTable"_s)->click();
        QVERIFY(rows->isVisible());
        QStringList cells;
        for (int c = 0; c < rows->columnCount(); ++c)
            cells.append(rows->item(rows->rowCount() - 1, c)->text());
        QCOMPARE(u"%1: "_s.arg(rows->rowCount()) + cells.join(u'|'), table);
        for (int i = 0; i < 2; ++i) // total and completed: a point a row
            QCOMPARE(static_cast<QLineSeries*>(w->chart()->series()[i])->count(), rows->rowCount());
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext is missing (Debian: poppler-utils)");
        f.prompt.exportChoices = {f.folder.file(u"Plan.pdf"_s)};
        f.find<QAction>(u"mnuExportPdf"_s)->trigger();
        const QString text = runTool(u"pdftotext"_s, {f.folder.file(u"Plan.pdf"_s), u"-"_s});
        QVERIFY2(text.contains(u"Progress over time"_s), qPrintable(text));
        QVERIFY(printed.isEmpty() || text.simplified().contains(printed + u": "_s + sentence));
        QVERIFY(!text.contains(u"Goal A:"_s));
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
