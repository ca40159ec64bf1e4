#include "app/MainWindow.h"
#include "dashboard/DashboardLayout.h"
#include "dashboard/GoalKey.h"
#include "dashboard/GoalPanel.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace DashboardLayout;

class TestDashboard : public QObject
{
    Q_OBJECT

private slots:
    void resizeRuleArithmetic();
    void resizeMovesTheCanvas();
    void panelsFillTheGridAroundTheCentre();
    void markersAndHoverLinksFollowTheMouse();
    void addingStopsAtEightAndNamesKeepTheirBlanks();
    void charsLeftCounter();
    void renamingKeepsKeyAndTaskFile();
    void deletingRepacksThePanels();
    void deletingTheLastAndAnsweringNo();
    void goalKeysAreDrawnAgainOnCollision();

private:
    static QLabel* label(MainWindow& w, const QString& name) { return w.findChild<QLabel*>(name); }
};

void TestDashboard::resizeRuleArithmetic()
{
    QCOMPARE(containerWidth(18265), 12255);
    QCOMPARE(canvasLeft(12255), 0);
    QCOMPARE(canvasLeft(13425), 585);
    QVERIFY(canvasLeft(10000) < 0);
    QCOMPARE(canvasLeft(10000), -1128); // overhangs both sides alike
    QCOMPARE(containerWidth(6010), 0);
    QVERIFY(!containerWidth(6009).has_value());
    QCOMPARE(toPixels(5190), 346);
}

void TestDashboard::resizeMovesTheCanvas()
{
    WindowFixture f;
    auto* container = f.w().findChild<QWidget*>(QStringLiteral("picContainer"));
    auto* canvas = f.w().findChild<QWidget*>(QStringLiteral("Picture1"));
    // The rule reads the outer width, frame included.
    const int frame = f.w().frameGeometry().width() - f.w().width();
    f.w().resize(toPixels(18270) - frame, 700);
    QTRY_COMPARE(container->width(), toPixels(12260));
    QCOMPARE(canvas->x(), 0);
    QCOMPARE(canvas->size(), QSize(toPixels(CanvasWidth), toPixels(CanvasHeight)));
    // Too narrow for the container: it keeps its width, the canvas stays centred on it.
    f.w().resize(300, 700);
    QTRY_COMPARE(f.w().width(), 300);
    QCOMPARE(container->width(), toPixels(12260));
    QCOMPARE(canvas->x(), 0);
    f.w().resize(1000 - frame, 700);
    QTRY_COMPARE(container->width(), toPixels(15000 - 6010));
    QVERIFY(canvas->x() < 0);
}

void TestDashboard::panelsFillTheGridAroundTheCentre()
{
    WindowFixture f;
    const QRect centre = f.w().findChild<QWidget*>(QStringLiteral("Picture2"))->geometry();
    QCOMPARE(centre, toPixels(QRect(4545, 4050, 3615, 1590)));
    QList<QRect> rects;
    for (int i = 1; i <= 8; ++i) {
        const QRect r = f.w().panel(i)->geometry();
        QVERIFY2(!r.intersects(centre), qPrintable(QString::number(i)));
        for (const QRect& other : rects)
            QVERIFY(!r.intersects(other));
        rects.append(r);
        QVERIFY(!f.w().panel(i)->isVisible());
    }
    QCOMPARE(f.w().panel(5)->pos(), QPoint(toPixels(8775), toPixels(3375)));
    QCOMPARE(f.w().panel(7)->pos(), QPoint(toPixels(4770), toPixels(6480)));
    QCOMPARE(label(f.w(), QStringLiteral("lblGoal_0"))->text(), QStringLiteral("My Goal"));
}

void TestDashboard::markersAndHoverLinksFollowTheMouse()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three"),
                   QStringLiteral("Four"), QStringLiteral("Five"), QStringLiteral("Six")});
    const auto marker = [&](int i) {
        return f.w().findChild<QWidget*>(QStringLiteral("shActive_%1").arg(i));
    };
    const auto link = [&](int i) {
        return f.w().findChild<QWidget*>(QStringLiteral("lblDeleteOnMouseOver_%1").arg(i));
    };

    QTest::mouseClick(label(f.w(), QStringLiteral("lblGoal_3")), Qt::LeftButton);
    QVERIFY(marker(3)->isVisible());
    QTest::mouseClick(label(f.w(), QStringLiteral("lblGoal_6")), Qt::LeftButton);
    for (int i = 1; i <= 8; ++i)
        QCOMPARE(marker(i)->isVisible(), i == 6);
    QTest::mouseClick(label(f.w(), QStringLiteral("lblGoal_0")), Qt::LeftButton);
    for (int i = 1; i <= 8; ++i)
        QVERIFY(!marker(i)->isVisible());

    // From one panel straight onto another: both links stay until the canvas is crossed.
    QTest::mouseMove(f.w().panel(1), QPoint(5, 5));
    QTRY_VERIFY(link(1)->isVisible());
    QTest::mouseMove(f.w().panel(2), QPoint(5, 5));
    QTRY_VERIFY(link(2)->isVisible());
    QVERIFY(link(1)->isVisible());
    // Over a label inside a panel nothing changes.
    QTest::mouseMove(label(f.w(), QStringLiteral("lblTasks_Total_3")), QPoint(3, 3));
    QTest::qWait(20);
    QVERIFY(!link(3)->isVisible());
    auto* canvas = f.w().findChild<QWidget*>(QStringLiteral("Picture1"));
    // Between panel 4 and the centre box.
    QTest::mouseMove(canvas, QPoint(toPixels(4100), toPixels(4500)));
    QTRY_VERIFY(!link(1)->isVisible());
    QVERIFY(!link(2)->isVisible());
}

void TestDashboard::addingStopsAtEightAndNamesKeepTheirBlanks()
{
    WindowFixture f;
    QStringList names;
    for (int i = 1; i <= 8; ++i)
        names.append(QStringLiteral(" Goal %1 ").arg(i));
    f.addSubGoals(names);
    QCOMPARE(f.w().subGoalNames(), names);
    for (int i = 1; i <= 8; ++i) {
        QVERIFY(f.w().panel(i)->isVisible());
        QCOMPARE(f.w().panel(i)->name(), names[i - 1]);
    }
    QVERIFY(f.w().projectModified());
    QVERIFY(f.prompt.shown.isEmpty());
    QCOMPARE(f.w().selectedGoalIndex(), 0);

    f.addSubGoals({QStringLiteral("Ninth")});
    QCOMPARE(f.prompt.shown.size(), 1);
    QCOMPARE(f.prompt.shown[0].caption, QStringLiteral("Ooops"));
    QVERIFY(f.prompt.shown[0].text.startsWith(
        QStringLiteral("Ooops! You can create up to 8 sub-goals")));
    QCOMPARE(f.w().findChild<QLineEdit*>(QStringLiteral("txtSubGoal"))->text(),
             QStringLiteral("Ninth"));
    QCOMPARE(f.w().subGoalNames().size(), 8);

    // A pasted line break never reaches a name.
    WindowFixture g;
    auto* pasteBox = g.w().findChild<QLineEdit*>(QStringLiteral("txtSubGoal"));
    QGuiApplication::clipboard()->setText(QStringLiteral("two\nlines"));
    pasteBox->paste();
    QTest::keyClick(pasteBox, Qt::Key_Return);
    QCOMPARE(g.w().subGoalNames().size(), 1);
    QVERIFY(!g.w().subGoalNames()[0].contains(u'\n'));
    QVERIFY(g.w().subGoalNames()[0].startsWith(QStringLiteral("two")));

    // Enter in an empty box adds nothing.
    auto* box = f.w().findChild<QLineEdit*>(QStringLiteral("txtSubGoal"));
    box->clear();
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(f.prompt.shown.size(), 1);
}

void TestDashboard::charsLeftCounter()
{
    WindowFixture f;
    auto* box = f.w().findChild<QLineEdit*>(QStringLiteral("txtSubGoal"));
    auto* counter = label(f.w(), QStringLiteral("lblSubgoalscharsleft"));
    QTest::keyClicks(box, QStringLiteral("abcd"));
    QCOMPARE(counter->text(), QStringLiteral("Characters Left: 12"));
    QTest::keyClicks(box, QStringLiteral("efghijklmnopqrstu"));
    QCOMPARE(box->text().size(), 16);
    QCOMPARE(counter->text(), QStringLiteral("Characters Left: 0"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(counter->text(), QStringLiteral("Characters Left: 16"));
    f.addSubGoals({QStringLiteral("ten chars!")});
    QTest::mouseClick(label(f.w(), QStringLiteral("lblGoal_2")), Qt::LeftButton);
    QCOMPARE(counter->text(), QStringLiteral("Characters Left: 6"));
}

void TestDashboard::renamingKeepsKeyAndTaskFile()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("A"), QStringLiteral("B")});
    f.typeTasks(2, QStringLiteral("paint"));
    const QString key = f.w().panel(2)->key();
    const QString file = f.taskFile(2);
    auto* box = f.w().findChild<QLineEdit*>(QStringLiteral("txtSubGoal"));
    QCOMPARE(box->text(), QStringLiteral("B"));
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("Bravo"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(f.w().panel(2)->name(), QStringLiteral("Bravo"));
    QCOMPARE(f.w().subGoalNames(), (QStringList{QStringLiteral("A"), QStringLiteral("Bravo")}));
    QCOMPARE(f.w().panel(2)->key(), key);
    QCOMPARE(f.w().selectedGoalIndex(), 2);
    QCOMPARE(box->text(), QStringLiteral("Bravo"));
    QVERIFY(QFile::exists(file));
    QCOMPARE(QDir(f.folder.file(QStringLiteral("tmp"))).entryList(QDir::Files).size(), 1);
}

void TestDashboard::deletingRepacksThePanels()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                   QStringLiteral("four and more"), QStringLiteral(" five ")});
    for (int i = 1; i <= 5; ++i)
        f.typeTasks(i, i == 4 ? QStringLiteral("task 4 --")
                              : QStringLiteral("task %1 --\nopen").arg(i));
    f.w().panel(4)->setDueDate(QStringLiteral("15/03/2026"));
    QStringList keys;
    for (int i = 1; i <= 5; ++i)
        keys.append(f.w().panel(i)->key());
    const QString deletedFile = f.taskFile(3);

    f.prompt.answers = {Answer::Yes};
    QTest::mouseClick(label(f.w(), QStringLiteral("lblGoal_3")), Qt::LeftButton);
    QTest::mouseClick(label(f.w(), QStringLiteral("lblDelete")), Qt::LeftButton);
    QCOMPARE(f.prompt.shown.last().text, QStringLiteral("Delete Sub Goal?"));
    QCOMPARE(f.prompt.shown.last().caption, QStringLiteral("Confirm"));

    QCOMPARE(f.w().subGoalNames(),
             (QStringList{QStringLiteral("one"), QStringLiteral("two"),
                          QStringLiteral("four and more"), QStringLiteral(" five ")}));
    const QStringList expectedKeys{keys[0], keys[1], keys[3], keys[4]};
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(f.w().panel(i)->key(), expectedKeys[i - 1]);
        QCOMPARE(f.w().panel(i)->name(), f.w().subGoalNames()[i - 1]);
        QVERIFY(f.w().panel(i)->isVisible());
    }
    QVERIFY(!f.w().panel(5)->isVisible());
    QVERIFY(f.w().panel(5)->key().isEmpty());
    QCOMPARE(f.w().panel(3)->dueTag(), QStringLiteral("15/03/2026"));
    QCOMPARE(f.w().panel(3)->dueCaption(), QStringLiteral("Due Date: 15/03/2026"));
    QVERIFY(f.w().findChild<QWidget*>(QStringLiteral("shDueDate_3"))->isVisible());
    QVERIFY(f.w().panel(4)->dueTag().isEmpty());
    QVERIFY(!f.w().findChild<QWidget*>(QStringLiteral("shDueDate_4"))->isVisible());
    // Counts are recomputed from each file: panel 3 now holds the former panel 4's one task.
    QCOMPARE(label(f.w(), QStringLiteral("lblTasks_Total_3"))->text(), QStringLiteral("Tasks: 1"));
    QCOMPARE(label(f.w(), QStringLiteral("lblTasks_Total_4"))->text(), QStringLiteral("Tasks: 2"));
    QCOMPARE(label(f.w(), QStringLiteral("lblTasks_Completed_4"))->text(),
             QStringLiteral("Completed: 1"));
    QVERIFY(!QFile::exists(deletedFile));
    QCOMPARE(f.w().selectedGoalIndex(), 0);
    QVERIFY(f.w().selectedGoalKey().isEmpty());
    QVERIFY(f.w().projectModified());
    QCOMPARE(QDir(f.folder.file(QStringLiteral("tmp"))).entryList(QDir::Files).size(), 4);
}

void TestDashboard::deletingTheLastAndAnsweringNo()
{
    WindowFixture f;
    f.addSubGoals({QStringLiteral("only")});
    f.typeTasks(1, QStringLiteral("x"));
    // "X" of the panel selects it first; No leaves it selected and nothing changed.
    QTest::mouseMove(f.w().panel(1), QPoint(4, 4));
    auto* x = label(f.w(), QStringLiteral("lblDeleteOnMouseOver_1"));
    QTRY_VERIFY(x->isVisible());
    f.prompt.answers = {Answer::No};
    QTest::mouseClick(x, Qt::LeftButton);
    QCOMPARE(f.w().selectedGoalIndex(), 1);
    QVERIFY(f.w().panel(1)->isVisible());
    QVERIFY(QFile::exists(f.taskFile(1)));

    // A task file already removed outside the program is no error.
    QFile::remove(f.taskFile(1));
    f.prompt.answers = {Answer::Yes};
    QTest::mouseClick(x, Qt::LeftButton);
    for (int i = 1; i <= 8; ++i)
        QVERIFY(!f.w().panel(i)->isVisible());
    QVERIFY(f.w().subGoalNames().isEmpty());
    QCOMPARE(f.prompt.shown.size(), 2);
    QVERIFY(!label(f.w(), QStringLiteral("lblDelete"))->isVisible());
}

void TestDashboard::goalKeysAreDrawnAgainOnCollision()
{
    FakeRandom random;
    random.draws = {4117, 515, 8701};
    QCOMPARE(GoalKey::draw(random), QStringLiteral("4217-815-9001"));

    WindowFixture f;
    // The first draw repeats panel 1's key, the second names a file left in tmp.
    f.random.draws = {1, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QDir().mkpath(f.folder.file(QStringLiteral("tmp")));
    QFile stale(f.folder.file(QStringLiteral("tmp/104-305-306.txt")));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("old task\r\n");
    stale.close();
    f.addSubGoals({QStringLiteral("a"), QStringLiteral("b")});
    QCOMPARE(f.w().panel(1)->key(), QStringLiteral("101-302-303"));
    QCOMPARE(f.w().panel(2)->key(), QStringLiteral("107-308-309"));

    // A source stuck on one value still yields a free key.
    FakeRandom stuck;
    stuck.draws = QList<quint32>(40000, 7);
    const QString first = GoalKey::draw(stuck);
    const QString other = GoalKey::make(stuck, [&](const QString& k) { return k == first; });
    QVERIFY(other != first);
}

QTEST_MAIN(TestDashboard)
#include "tst_dashboard.moc"
