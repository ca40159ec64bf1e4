#include "app/MainWindow.h"
#include "dashboard/GoalPanel.h"
#include "support/TestSupport.h"
#include "tasks/DueDateText.h"
#include "tasks/TaskCounts.h"
#include "tasks/TaskEditor.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>

class TestTasks : public QObject
{
    Q_OBJECT

private slots:
    void counts_data();
    void counts();
    void keyReleaseWritesCountsAndPicture();
    void onlyCharacterKeysMarkModified();
    void nothingSelectedWritesNothing();
    void pasteWithoutKeyIsWrittenAndKept();
    void unwritableTaskFileIsReportedOnceAndKept();
    void dueDateText_data();
    void dueDateText();
    void dueDateTickPickClearAndReselect();
    void storedDateTextSurvivesSelection();

private:
    static QString text(MainWindow& w, const QString& name)
    {
        return w.findChild<QLabel*>(name)->text();
    }
    static TaskEditor* editor(MainWindow& w)
    {
        return w.findChild<TaskEditor*>(QStringLiteral("txtGoalTasks"));
    }
};

void TestTasks::counts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("completed");
    QTest::newRow("empty") << QString() << 0 << 0;
    QTest::newRow("final line end is no task") << QStringLiteral("a\n") << 1 << 0;
    QTest::newRow("blank lines are no tasks") << QStringLiteral("a\n\n   \n\t\nb --") << 2 << 1;
    QTest::newRow("marker after words") << QStringLiteral("paint the fence --done") << 1 << 1;
    QTest::newRow("single hyphen means nothing") << QStringLiteral("left - right") << 1 << 0;
    QTest::newRow("only the marker") << QStringLiteral("--") << 1 << 1;
    QTest::newRow("three, two done") << QStringLiteral("a --\nb\nc--") << 3 << 2;
}

void TestTasks::counts()
{
    QFETCH(QString, text);
    QFETCH(int, total);
    QFETCH(int, completed);
    const TaskCounts c = TaskCounts::of(text);
    QCOMPARE(c.total, total);
    QCOMPARE(c.completed, completed);
    QCOMPARE(c.allDone(), completed > 0 && completed == total);
}

void TestTasks::keyReleaseWritesCountsAndPicture()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("Garden")});
    const QImage blue(f.folder.file(QStringLiteral("imgs/bluecircle.gif")));
    const QImage green(f.folder.file(QStringLiteral("imgs/greencircle.gif")));
    QVERIFY(!blue.isNull() && blue != green);

    f.typeTasks(1, QStringLiteral("dig --\nplant --\nwater"));
    QCOMPARE(fileBytes(f.taskFile(1)), QByteArray("dig --\r\nplant --\r\nwater"));
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Total_1")), QStringLiteral("Tasks: 3"));
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Completed_1")), QStringLiteral("Completed: 2"));
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Pending_1")), QStringLiteral("Pending: 1"));
    QCOMPARE(f.w().panel(1)->picture().toImage().convertToFormat(QImage::Format_RGB32),
             blue.convertToFormat(QImage::Format_RGB32));

    QTest::keyClicks(editor(f.w()), QStringLiteral(" --"));
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Pending_1")), QStringLiteral("Pending: 0"));
    QCOMPARE(f.w().panel(1)->picture().toImage().convertToFormat(QImage::Format_RGB32),
             green.convertToFormat(QImage::Format_RGB32));

    // A missing picture leaves the last one in place.
    QFile::remove(f.folder.file(QStringLiteral("imgs/bluecircle.gif")));
    QTest::keyClick(editor(f.w()), Qt::Key_Return);
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Total_1")), QStringLiteral("Tasks: 3"));
    QCOMPARE(fileBytes(f.taskFile(1)), QByteArray("dig --\r\nplant --\r\nwater --\r\n"));
    QCOMPARE(f.w().panel(1)->picture().toImage().convertToFormat(QImage::Format_RGB32),
             green.convertToFormat(QImage::Format_RGB32));
}

void TestTasks::onlyCharacterKeysMarkModified()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("G")});
    f.typeTasks(1, QStringLiteral("ab --"));
    // Pretend the project was just saved, then use keys that type nothing.
    f.prompt.saveChoices = {f.folder.file(QStringLiteral("projects/p.gpj"))};
    QVERIFY(f.w().mnuSave_Click());
    QVERIFY(!f.w().projectModified());
    TaskEditor* e = editor(f.w());
    e->moveCursor(QTextCursor::End);
    QTest::keyClick(e, Qt::Key_Left);
    QTest::keyClick(e, Qt::Key_Left);
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(fileBytes(f.taskFile(1)), QByteArray("ab -"));
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Completed_1")), QStringLiteral("Completed: 0"));
    QVERIFY(!f.w().projectModified());
    QTest::keyClick(e, Qt::Key_Backspace);
    QVERIFY(f.w().projectModified());
}

void TestTasks::nothingSelectedWritesNothing()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("G")});
    QCOMPARE(f.w().selectedGoalIndex(), 0);
    editor(f.w())->setTasksText(QStringLiteral("x"));
    f.w().RefreshTaskCounts();
    QVERIFY(!QDir(f.folder.file(QStringLiteral("tmp"))).exists() ||
            QDir(f.folder.file(QStringLiteral("tmp"))).isEmpty());
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Total_1")), QStringLiteral("Tasks: 0"));

    // Selecting creates the empty task file; the counts wait for the next key.
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_1")), Qt::LeftButton);
    QCOMPARE(fileBytes(f.taskFile(1)), QByteArray());
    QVERIFY(editor(f.w())->tasksText().isEmpty());
}

void TestTasks::pasteWithoutKeyIsWrittenAndKept()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("A"), QStringLiteral("B")});
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_1")), Qt::LeftButton);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted --\nnon\u00A0breaking"));
    editor(f.w())->paste(); // as the context menu or a middle click would
    QCOMPARE(fileBytes(f.taskFile(1)), QByteArray("pasted --\r\nnon\xC2\xA0"
                                                "breaking"));
    QVERIFY(f.w().projectModified());
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Total_1")), QStringLiteral("Tasks: 2"));
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_2")), Qt::LeftButton);
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_1")), Qt::LeftButton);
    QCOMPARE(editor(f.w())->tasksText(), QStringLiteral("pasted --\nnon\u00A0breaking"));
}

void TestTasks::unwritableTaskFileIsReportedOnceAndKept()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("A"), QStringLiteral("B")});
    // A folder where the task file should be.
    QDir().mkpath(f.taskFile(1));
    f.typeTasks(1, QStringLiteral("one"));
    QCOMPARE(f.prompt.shown.size(), 1);
    QCOMPARE(f.prompt.shown[0].caption, QStringLiteral("Task File"));
    QVERIFY(f.prompt.shown[0].text.contains(f.taskFile(1)));
    QCOMPARE(editor(f.w())->tasksText(), QStringLiteral("one"));
    QCOMPARE(text(f.w(), QStringLiteral("lblTasks_Total_1")), QStringLiteral("Tasks: 1"));

    // Elsewhere and back: the text is still there, and still reported only once.
    f.typeTasks(2, QStringLiteral("two"));
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_1")), Qt::LeftButton);
    QCOMPARE(editor(f.w())->tasksText(), QStringLiteral("one"));
    QTest::keyClicks(editor(f.w()), QStringLiteral("!"));
    QCOMPARE(f.prompt.shown.size(), 1);

    // Saving stores it even so.
    const QString project = f.folder.file(QStringLiteral("projects/p.gpj"));
    f.prompt.saveChoices = {project};
    QVERIFY(f.w().mnuSave_Click());
    QFile file(project);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Goal1_Task1=!one\r\n"));
}

void TestTasks::dueDateText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QDate>("date");
    QTest::newRow("en_GB four digits")
        << QStringLiteral("en_GB") << QStringLiteral("15/03/2026") << QDate(2026, 3, 15);
    QTest::newRow("en_US two-digit form written with four")
        << QStringLiteral("en_US") << QStringLiteral("3/15/2026") << QDate(2026, 3, 15);
    QTest::newRow("de_DE") << QStringLiteral("de_DE") << QStringLiteral("15.03.2026")
                           << QDate(2026, 3, 15);
    QTest::newRow("C") << QStringLiteral("C") << QStringLiteral("15 Mar 2026")
                       << QDate(2026, 3, 15);
}

void TestTasks::dueDateText()
{
    QFETCH(QString, locale);
    QFETCH(QString, stored);
    QFETCH(QDate, date);
    const QLocale l(locale);
    QCOMPARE(DueDateText::format(date, l), stored);
    QCOMPARE(DueDateText::parse(stored, l), std::optional<QDate>(date));
    // Old files may carry two-digit years: read into 1950..2049.
    const QLocale us(QStringLiteral("en_US"));
    QCOMPARE(DueDateText::parse(QStringLiteral("3/15/26"), us),
             std::optional<QDate>(QDate(2026, 3, 15)));
    QCOMPARE(DueDateText::parse(QStringLiteral("3/15/49"), us),
             std::optional<QDate>(QDate(2049, 3, 15)));
    QCOMPARE(DueDateText::parse(QStringLiteral("3/15/50"), us),
             std::optional<QDate>(QDate(1950, 3, 15)));
    QVERIFY(!DueDateText::parse(QStringLiteral("next week"), l));
}

void TestTasks::dueDateTickPickClearAndReselect()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    WindowFixture f;
    f.addSubGoals({QStringLiteral("A"), QStringLiteral("B")});
    auto* box = f.w().findChild<QCheckBox*>(QStringLiteral("chkDueDate"));
    auto* calendar = f.w().findChild<QCalendarWidget*>(QStringLiteral("Calendar1"));
    auto* band = f.w().findChild<QWidget*>(QStringLiteral("shDueDate_1"));
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_1")), Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());

    calendar->setSelectedDate(QDate(2026, 3, 15));
    QVERIFY(f.w().panel(1)->dueTag().isEmpty()); // not ticked: no panel change
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QCOMPARE(f.w().panel(1)->dueTag(), QStringLiteral("3/15/2026"));
    QCOMPARE(f.w().panel(1)->dueCaption(), QStringLiteral("Due Date: 3/15/2026"));
    QVERIFY(band->isVisible());
    calendar->setSelectedDate(QDate(2027, 1, 2));
    QCOMPARE(f.w().panel(1)->dueTag(), QStringLiteral("1/2/2027"));

    // B has none; going there and back leaves both as they were.
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_2")), Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());
    QVERIFY(f.w().panel(2)->dueTag().isEmpty());
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_1")), Qt::LeftButton);
    QVERIFY(box->isChecked());
    QCOMPARE(calendar->selectedDate(), QDate(2027, 1, 2));
    QCOMPARE(f.w().panel(1)->dueTag(), QStringLiteral("1/2/2027"));

    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(f.w().panel(1)->dueTag().isEmpty());
    QVERIFY(!band->isVisible());
    QLocale::setDefault(QLocale::c());
}

void TestTasks::storedDateTextSurvivesSelection()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("old"), QStringLiteral("foreign")});
    // Texts as an older file or another locale stored them.
    f.w().panel(1)->setDueDate(QStringLiteral("15 Mar 26"));
    f.w().panel(2)->setDueDate(QStringLiteral("2026-03-15T00"));
    const QString project = f.folder.file(QStringLiteral("projects/p.gpj"));
    f.prompt.saveChoices = {project};
    QVERIFY(f.w().mnuSave_Click());

    auto* calendar = f.w().findChild<QCalendarWidget*>(QStringLiteral("Calendar1"));
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_1")), Qt::LeftButton);
    QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 15));
    QTest::mouseClick(f.w().findChild<QLabel*>(QStringLiteral("lblGoal_2")), Qt::LeftButton);
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());
    QCOMPARE(f.w().panel(1)->dueTag(), QStringLiteral("15 Mar 26"));
    QCOMPARE(f.w().panel(1)->dueCaption(), QStringLiteral("Due Date: 15 Mar 26"));
    QCOMPARE(f.w().panel(2)->dueTag(), QStringLiteral("2026-03-15T00"));
    // Looking is not editing.
    QVERIFY(!f.w().projectModified());
}

QTEST_MAIN(TestTasks)
#include "tst_tasks.moc"
