#include "model/DashboardLayout.h"
#include "storage/GoalKey.h"
#include "support/TestSupport.h"

using namespace DashboardLayout;

class TestDashboard : public QObject
{
    Q_OBJECT

private slots:
    void resizeRuleAndGrid()
    {
        QCOMPARE(canvasLeft(10000), -1128); // overhangs both sides alike
        QVERIFY(containerWidth(6010) == 0 && !containerWidth(6009));
        WindowFixture f;
        QWidget* container = f.find(u"picContainer"_s);
        QWidget* canvas = f.find(u"Picture1"_s);
        // The rule reads the outer width, frame included.
        const int frame = f.w().frameGeometry().width() - f.w().width();
        f.w().resize(toPixels(18270) - frame, 700);
        QTRY_COMPARE(container->width(), toPixels(12260));
        QCOMPARE(canvas->x(), 0);
        // Too narrow for every panel: the container stops shrinking, the window at its minimum.
        f.w().resize(300, 200);
        QTRY_COMPARE(f.w().size(), f.w().minimumSize());
        QCOMPARE(container->width(), toPixels(PanelsWidth));
        QCOMPARE(canvas->x(), toPixels(canvasLeft(PanelsWidth)));
        // The panels fill the grid around the centre box.
        QRegion taken(f.find(u"Picture2"_s)->geometry());
        for (int i = 1; i <= 8; ++i) {
            f.w().project().addGoal(QString::number(i));
            const QRect r = f.w().panel(i)->geometry();
            QVERIFY2(!taken.intersects(r), qPrintable(QString::number(i)));
            taken += r;
        }
    }

    void addingRenamingAndTheNameBox()
    {
        WindowFixture f;
        // Keys are three draws below 9000, moved up; a stuck source still yields a free key.
        // Below, the second key repeats the first, the third names a file left in tmp.
        FakeRandom random;
        random.draws = {4117, 515, 8701};
        QCOMPARE(GoalKey::draw(random), u"4217-815-9001"_s);
        QCOMPARE(random.bounds, QList<quint32>(3, 9000));
        random.draws = QList<quint32>(40000, 7);
        const QString first = GoalKey::draw(random);
        QVERIFY(GoalKey::make(random, [&](const QString& k) { return k == first; }) != first);
        f.random.draws = {1, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        writeFile(f.folder.file(u"tmp/104-305-306.txt"_s), "old task\r\n");
        auto* box = f.find<QLineEdit>(u"txtSubGoal"_s);
        // A pasted line break never reaches a name; Enter in an empty box adds nothing.
        QGuiApplication::clipboard()->setText(u"two\nlines"_s);
        box->paste();
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Return);
        const QStringList one = f.w().subGoalNames();
        QVERIFY(one.size() == 1 && one[0].startsWith(u"two"_s) && !one[0].contains(u'\n'));
        QStringList names;
        for (int i = 2; i <= 9; ++i)
            names.append(u" Goal %1 "_s.arg(i)); // blanks stay as typed
        f.addSubGoals(names);
        QCOMPARE(f.w().project().goal(1).key + u' ' + f.w().project().goal(2).key,
                 u"101-302-303 107-308-309"_s);
        QCOMPARE(f.w().subGoalNames().mid(1), names.mid(0, 7));
        QVERIFY(f.prompt.shown.size() == 1 &&
                f.prompt.last().startsWith(u"Ooops: Ooops! You can create up to 8 sub-goals"_s));
        QCOMPARE(box->text(), names[7]);
        // Renaming keeps the key and the task file; the counter follows the selected name.
        f.typeTasks(2, u"paint"_s);
        const QString key = f.w().project().goal(2).key;
        QCOMPARE(f.text(u"lblSubgoalscharsleft"_s), u"Characters Left: 8"_s);
        box->selectAll();
        QTest::keyClicks(box, u"Bravo"_s);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(f.w().panel(2)->name(), u"Bravo"_s);
        QVERIFY(f.w().project().goal(2).key == key && f.w().selectedGoalIndex() == 2);
        QCOMPARE(QDir(f.folder.file(u"tmp"_s)).entryList(QDir::Files),
                 (QStringList{u"104-305-306.txt"_s, key + u".txt"_s}));
    }

    void deletingRepacksThePanels()
    {
        WindowFixture f;
        f.addSubGoals({u"one"_s, u"two"_s, u"three"_s, u"four and more"_s});
        for (int i = 1; i <= 4; ++i)
            f.typeTasks(i, i == 4 ? u"task 4 --"_s : u"task %1 --\nopen"_s.arg(i));
        f.w().project().setDue(4, u"15/03/2026"_s);
        f.prompt.answers = {Answer::Yes};
        f.click(u"lblGoal_3"_s);
        QVERIFY(f.visible(u"shActive_3"_s) && !f.visible(u"shActive_1"_s)); // the selected one
        f.click(u"lblDelete"_s);
        QCOMPARE(f.prompt.last(), u"Confirm: Delete Sub Goal?"_s);
        // The panels show the re-packed goals (keys and files are the model's business).
        QStringList shown;
        for (int i = 1; i <= 3; ++i)
            shown.append(f.w().panel(i)->name() + u'|' + f.text(u"lblTasks_Total_%1"_s.arg(i)));
        QCOMPARE(shown,
                 (QStringList{u"one|Tasks: 2"_s, u"two|Tasks: 2"_s, u"four and more|Tasks: 1"_s}));
        QCOMPARE(f.w().panel(3)->dueCaption(), u"Due Date: 15/03/2026"_s);
        QVERIFY(f.visible(u"shDueDate_3"_s) && !f.w().panel(4)->isVisible());
        // The "X" shows while the mouse is over its panel and selects it first; No leaves it
        // selected. A task file already removed outside the program is no error.
        QTest::mouseMove(f.w().panel(3), QPoint(4, 4));
        QTRY_VERIFY(f.visible(u"lblDeleteOnMouseOver_3"_s));
        f.prompt.answers = {Answer::No, Answer::Yes};
        f.click(u"lblDeleteOnMouseOver_3"_s);
        QCOMPARE(f.w().selectedGoalIndex(), 3);
        QTest::mouseMove(f.find(u"Picture1"_s), QPoint(toPixels(4100), toPixels(4500)));
        QTRY_VERIFY(!f.visible(u"lblDeleteOnMouseOver_3"_s)); // gone over the canvas
        QVERIFY(QFile::remove(f.taskFile(3)));
        f.w().lblDeleteOnMouseOver_Click(3);
        QVERIFY(f.w().subGoalNames().size() == 2 && !f.w().panel(3)->isVisible());
        QVERIFY(f.prompt.shown.size() == 3 && !f.visible(u"lblDelete"_s));
        // Panel 3's last occupant was all done; a new sub-goal there has no tasks: blue.
        f.addSubGoals({u"New"_s});
        QCOMPARE(
            f.w().panel(3)->picture().toImage().convertToFormat(QImage::Format_RGB32),
            QImage(f.folder.file(u"imgs/bluecircle.gif"_s)).convertToFormat(QImage::Format_RGB32));
    }

    void panelsShowTheirOwnStateAsPlainText()
    {
        WindowFixture f;
        // Markup typed or read from a file is shown as typed, never drawn or fetched.
        const QString path = f.folder.file(u"projects/<b>p</b>.gpj"_s);
        writeFile(path, "[Project]\r\nName=<h1>Big</h1>\r\n[Goals]\r\n"
                        "Goal1=1-2-3\r\nGoal1_Name=<font color=red>a long name</font>\r\n"
                        "Goal1_Due=<img src=x>\r\nGoal1_Tasks=0\r\n");
        f.prompt.openChoices = {path};
        f.w().mnuOpen_Click();
        QCOMPARE(f.text(u"lblGoal_1"_s), u"<font color=red>a long name</font>"_s);
        for (const QLabel* label : f.w().findChildren<QLabel*>()) {
            if (label->text().contains(u'<'))
                QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
        }
        // A loaded name longer than the box allows stays whole; the counter stops at 0.
        f.click(u"lblGoal_1"_s);
        QCOMPARE(f.text(u"txtSubGoal"_s), u"<font color=red>a long name</font>"_s);
        QCOMPARE(f.text(u"lblSubgoalscharsleft"_s), u"Characters Left: 0"_s);
        QCOMPARE(f.text(u"Label14"_s), u"Sub Goal:"_s);
        QVERIFY(f.visible(u"txtGoalTasks"_s) && f.visible(u"Calendar1"_s));
        f.click(u"lblNewGoal"_s);
        QCOMPARE(f.text(u"Label14"_s) + f.text(u"lblGoalName"_s), u"Main Goal:Add New Sub-Goal:"_s);
        QVERIFY(!f.visible(u"txtGoalTasks"_s) && !f.visible(u"Calendar1"_s));
    }

    void ctrlZUndoesTheLastProjectStepAnywhere()
    {
        ActiveWindow f({u"Keep"_s, u"Dated"_s, u"After"_s});
        f.typeTasks(2, u"one --\ntwo"_s);
        f.click(u"chkDueDate"_s);
        const SubGoalRecord dated = f.w().project().goal(2);
        QVERIFY(!f.save().isEmpty());
        f.prompt.answers = {Answer::Yes};
        f.click(u"lblDelete"_s);
        auto* undo = f.find<QAction>(u"mnuUndo"_s);
        QVERIFY(undo->text() == u"Undo Delete Sub-Goal"_s && f.w().projectModified());
        // From the task editor: the project's step is undone, not the editor's own text.
        f.click(u"lblGoal_1"_s);
        QTest::keyClick(f.find(u"txtGoalTasks"_s), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.w().project().goal(2), dated);
        QCOMPARE(fileBytes(f.taskFile(2)), "one --\r\ntwo"_ba);
        QVERIFY(f.w().selectedGoalIndex() == 2 && f.visible(u"shDueDate_2"_s));
        QVERIFY(!f.w().projectModified()); // back where it was saved
        // A burst of typing is one step, ended by a selection; New starts an empty history.
        auto* name = f.find<QLineEdit>(u"txtProjectName"_s);
        typeText(name, u"abc"_s);
        f.w().lblGoal_Click(0);
        typeText(name, u"d"_s);
        QCOMPARE(undo->text(), u"Undo Rename Main Goal"_s);
        f.w().undo();
        QCOMPARE(name->text(), u"My Goalabc"_s);
        f.w().undo();
        QCOMPARE(name->text() + f.text(u"lblGoal_0"_s), u"My GoalMy Goal"_s);
        f.w().mnuNew_Click();
        QVERIFY(!undo->isEnabled());
    }
};

QTEST_MAIN(TestDashboard)
#include "tst_dashboard.moc"
