#include "app/ClientArea.h"
#include "model/DashboardLayout.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QScrollArea>
#include <QScrollBar>

using DashboardLayout::Step;

namespace {

// The named control that holds the focus; the calendar's day grid answers for it.
QString focusName()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"_s))
            return w->objectName();
    }
    return u"<none>"_s;
}

// Presses a key where the focus is, and says where the focus went.
QString press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    return focusName();
}

// Counts mouse presses anywhere, to prove a road was walked on keys alone.
struct MouseCounter : QObject
{
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        presses += event->type() == QEvent::MouseButtonPress;
        return false;
    }
};

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void arrowKeysFollowTheGrid_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<Step>("step");
        QTest::addColumn<int>("filled");
        QTest::addColumn<int>("to");
        QTest::newRow("right along a row") << 1 << Step::Right << 8 << 2;
        QTest::newRow("right wraps to the next row") << 3 << Step::Right << 8 << 4;
        QTest::newRow("right from 4 is the centre") << 4 << Step::Right << 8 << 0;
        QTest::newRow("left from 5 is the centre") << 5 << Step::Left << 8 << 0;
        QTest::newRow("right past empty panels") << 3 << Step::Right << 3 << 0;
        QTest::newRow("right at the end stays") << 0 << Step::Right << 4 << 0;
        QTest::newRow("left at the start stays") << 1 << Step::Left << 8 << 1;
        QTest::newRow("down the middle column") << 2 << Step::Down << 8 << 0;
        QTest::newRow("up from the centre") << 0 << Step::Up << 2 << 2;
        QTest::newRow("down over an empty cell") << 1 << Step::Down << 6 << 4;
        QTest::newRow("down where all is empty stays") << 1 << Step::Down << 3 << 1;
        QTest::newRow("up skips an empty cell") << 8 << Step::Up << 8 << 5;
        QTest::newRow("up from the bottom middle") << 7 << Step::Up << 8 << 0;
    }
    void arrowKeysFollowTheGrid()
    {
        QFETCH(int, from);
        QFETCH(Step, step);
        QFETCH(int, filled);
        QFETCH(int, to);
        QCOMPARE(DashboardLayout::neighbour(from, step, filled), to);
    }

    void tabVisitsEveryControlInOrder_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("order");
        QTest::newRow("adding") << 0 << u"lblFilename txtProjectName txtSubGoal Picture2"_s;
        QTest::newRow("editing") << 2
                                 << u"lblFilename txtProjectName txtSubGoal lblDelete lblNewGoal "
                                    "txtGoalTasks chkDueDate Calendar1 Picture2"_s;
    }
    void tabVisitsEveryControlInOrder()
    {
        QFETCH(int, selected);
        QFETCH(QString, order);
        const QStringList expected = (order + u" picGoal_1 picGoal_2"_s).split(u' ');
        ActiveWindow f({u"One"_s, u"Two"_s});
        f.w().lblGoal_Click(selected);
        f.find(u"lblFilename"_s)->setFocus();
        QStringList forward{focusName()}, backward;
        while (forward.size() <= expected.size())
            forward.append(press(Qt::Key_Tab));
        QCOMPARE(forward, expected + expected.mid(0, 1)); // and round again
        while (backward.size() < expected.size())
            backward.prepend(press(Qt::Key_Tab, Qt::ShiftModifier));
        QCOMPARE(backward, expected);
    }

    void menusAndEscapeFromTheKeyboard()
    {
        ActiveWindow f({u"One"_s});
        for (const auto& [key, modifier, name] : {std::tuple{Qt::Key_P, Qt::AltModifier, "Project"},
                                                  {Qt::Key_E, Qt::AltModifier, "Edit"},
                                                  {Qt::Key_V, Qt::AltModifier, "View"},
                                                  {Qt::Key_H, Qt::AltModifier, "Help"},
                                                  {Qt::Key_F10, Qt::NoModifier, "Project"}}) {
            auto* menu = f.find<QMenu>(u"mnu"_s + QLatin1StringView(name));
            f.find(u"txtSubGoal"_s)->setFocus();
            press(key, modifier);
            QTRY_VERIFY(menu->isVisible());
            QTest::keyClick(menu, Qt::Key_Escape);
            QTRY_VERIFY(!menu->isVisible());
            f.w().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f.w()));
        }
        // Alt with a letter types nothing, AltGr (Ctrl+Alt) types its character; Esc goes
        // back to the dashboard from each box.
        auto* box = f.find<QLineEdit>(u"txtSubGoal"_s);
        box->setFocus();
        press(Qt::Key_X, Qt::AltModifier);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Q, u"@"_s,
                            Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(box->text(), u"@"_s);
        QCOMPARE(press(Qt::Key_Escape), u"Picture2"_s);
        f.w().lblGoal_Click(1);
        QCOMPARE(focusName(), u"txtGoalTasks"_s);
        QCOMPARE(press(Qt::Key_Escape), u"picGoal_1"_s);
        // Ctrl+Tab leaves the task editor too, and no tab character is typed.
        f.find(u"txtGoalTasks"_s)->setFocus();
        QCOMPARE(press(Qt::Key_Tab, Qt::ControlModifier), u"chkDueDate"_s);
        QVERIFY(!f.find<QPlainTextEdit>(u"txtGoalTasks"_s)->toPlainText().contains(u'\t'));
    }

    void keyboardOnlyRoad()
    {
        FixedClock clock(QDate(2027, 3, 15));
        ActiveWindow f({}, &clock);
        MouseCounter mouse;
        qApp->installEventFilter(&mouse);
        f.find(u"txtSubGoal"_s)->setFocus(); // the Tab order is checked above
        for (const QString& name : {u"Run"_s, u"Swim"_s, u"Ride"_s}) {
            typeText(QApplication::focusWidget(), name);
            press(Qt::Key_Return);
        }
        // To the centre box, up to panel 2, and open it.
        QCOMPARE(press(Qt::Key_Tab), u"Picture2"_s);
        QCOMPARE(press(Qt::Key_Up), u"picGoal_2"_s);
        QCOMPARE(press(Qt::Key_Return), u"txtGoalTasks"_s);
        QCOMPARE(f.w().selectedGoalIndex(), 2);
        press(Qt::Key_Tab);
        press(Qt::Key_Space);
        QCOMPARE(press(Qt::Key_Tab), u"Calendar1"_s);
        press(Qt::Key_Right);
        // Back to the dashboard, left to panel 1 and delete it.
        QCOMPARE(press(Qt::Key_Escape), u"picGoal_2"_s);
        press(Qt::Key_Left);
        press(Qt::Key_Space); // opens a panel as Enter does
        QCOMPARE(f.w().selectedGoalIndex(), 1);
        press(Qt::Key_Escape);
        press(Qt::Key_Delete);
        QCOMPARE(f.w().subGoalNames().size(), 3);
        f.prompt.answers = {Answer::Yes};
        QCOMPARE(press(Qt::Key_Delete), u"picGoal_1"_s);
        QCOMPARE(f.prompt.texts(), QStringList(2, u"Delete Sub Goal?"_s));
        QCOMPARE(f.w().subGoalNames(), (QStringList{u"Swim"_s, u"Ride"_s}));
        const QString path = f.folder.file(u"projects/Road.gpj"_s);
        f.prompt.saveChoices = {path};
        press(Qt::Key_S, Qt::ControlModifier);
        qApp->removeEventFilter(&mouse);
        QCOMPARE(mouse.presses, 0);
        // Saved: the file's form is the storage tests' business.
        QVERIFY(fileBytes(path).contains("Goal1_Name=Swim\r\nGoal1_Due=16 Mar 2027\r\n"));
        // Deleting the last panel, then the only one: the focus stays on what is shown.
        f.prompt.answers = {Answer::Yes, Answer::Yes};
        press(Qt::Key_Right);
        QCOMPARE(press(Qt::Key_Delete), u"picGoal_1"_s);
        QCOMPARE(press(Qt::Key_Delete), u"Picture2"_s);
    }

    void screenReadersHearNamesRolesAndState()
    {
        ActiveWindow f({u"Run"_s, u"Swim"_s});
        const auto iface = [&](const QString& name) {
            return QAccessible::queryAccessibleInterface(f.find(name));
        };
        const auto names = [&](const QStringList& controls) {
            QStringList said;
            for (const QString& name : controls)
                said.append(iface(name)->text(QAccessible::Name));
            return said;
        };
        // A new window's names, then those of the editing controls.
        const QStringList boxes{u"txtProjectName"_s, u"txtSubGoal"_s};
        QCOMPARE(names(boxes + QStringList{u"lblFilename"_s, u"Picture2"_s}),
                 (QStringList{u"Main Goal:"_s, u"Add New Sub-Goal:"_s,
                              u"Project Filename: New Project (No Filename)"_s, u"My Goal"_s}));
        f.w().lblGoal_Click(1);
        QCOMPARE(names(boxes + QStringList{u"txtGoalTasks"_s, u"Calendar1"_s}),
                 (QStringList{u"Sub Goal:"_s, u"Edit Sub-Goal Name:"_s, u"Project Tasks:"_s,
                              u"Due Date:"_s}));
        // A panel is one button named after its sub-goal; only its "X" is inside it.
        QAccessibleInterface* panel = iface(u"picGoal_2"_s);
        QCOMPARE(QList({iface(u"lblFilename"_s)->role(), iface(u"lblDelete"_s)->role(),
                        iface(u"Picture2"_s)->role(), panel->role(), panel->child(0)->role()}),
                 QList({QAccessible::Link, QAccessible::Button, QAccessible::Button,
                        QAccessible::Button, QAccessible::Button}));
        QVERIFY(panel->childCount() == 1 && !iface(u"Picture2"_s)->valueInterface());
        QCOMPARE(panel->text(QAccessible::Name) + u'|' + panel->child(0)->text(QAccessible::Name),
                 u"Swim|Delete Swim"_s);
        QVERIFY(panel->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        panel->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f.w().selectedGoalIndex(), 2);
        // The description and the value follow the counts; it says only what the panel shows.
        QCOMPARE(panel->text(QAccessible::Description), u"Swim: no tasks"_s);
        f.w().project().setTasks(2, u"a --\nb"_s);
        QCOMPARE(panel->text(QAccessible::Description),
                 u"Swim: 1 of 2 tasks completed, 1 pending"_s);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(f.w().panel(3))->text(QAccessible::Description),
            QString()); // empty
        QCOMPARE(QList({panel->valueInterface()->currentValue().toInt(),
                        panel->valueInterface()->maximumValue().toInt()}),
                 QList({1, 2}));
    }

    void smallWindowScrollsEveryPartIntoView()
    {
        ActiveWindow f({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s});
        f.w().lblGoal_Click(8);
        f.w().resize(800, 600);
        QTRY_COMPARE(f.w().size(), QSize(800, 600));
        auto* client = static_cast<ClientArea*>(f.w().centralWidget());
        const auto hidden = [](QScrollArea* area, QWidget* w) {
            const QRect r(w->mapTo(area->viewport(), QPoint(0, 0)), w->size());
            return !area->viewport()->rect().contains(r);
        };
        QVERIFY(hidden(client->dashboardArea(), f.w().panel(8)));
        QStringList notShown;
        for (int i = 1; i <= 8; ++i) {
            f.w().panel(i)->setFocus();
            if (hidden(client->dashboardArea(), f.w().panel(i)))
                notShown.append(QString::number(i));
        }
        QWidget* calendar = f.find(u"Calendar1"_s);
        calendar->setFocus();
        if (hidden(client->sidebarArea(), calendar))
            notShown.append(u"calendar"_s);
        QCOMPARE(notShown, QStringList());
        // The sidebar's scroll bar sits beside it, and the dashboard starts after that.
        QTRY_VERIFY(client->sidebarArea()->verticalScrollBar()->isVisible());
        QVERIFY(client->dashboardArea()->x() >= client->sidebarArea()->geometry().right());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
