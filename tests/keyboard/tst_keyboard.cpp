#include "support/TestSupport.h"

#include <QAccessible>

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

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    // With a sub-goal selected: every control once, round again, and back.
    void tabVisitsEveryControlInOrder()
    {
        const QStringList expected =
            u"lblFilename txtProjectName txtSubGoal lblDelete lblNewGoal txtGoalTasks chkDueDate "
            "Calendar1 Picture2 picGoal_1 picGoal_2"_s.split(u' ');
        ActiveWindow f({u"One"_s, u"Two"_s});
        f.w().lblGoal_Click(2);
        f.find(u"lblFilename"_s)->setFocus();
        QStringList forward{focusName()};
        while (forward.size() <= expected.size())
            forward.append(press(Qt::Key_Tab));
        QCOMPARE(forward, expected + expected.mid(0, 1));                 // and round again
        QCOMPARE(press(Qt::Key_Tab, Qt::ShiftModifier), expected.last()); // and back
    }

    void altEscapeAndCtrlTabInTheBoxes()
    {
        ActiveWindow f({u"One"_s});
        // Alt with a letter types nothing, AltGr (Ctrl+Alt) its character; Esc goes back to the
        // dashboard.
        auto* box = f.find<QLineEdit>(u"txtSubGoal"_s);
        box->setFocus();
        press(Qt::Key_X, Qt::AltModifier);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Q, u"@"_s,
                            Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(box->text(), u"@"_s);
        QCOMPARE(press(Qt::Key_Escape), u"Picture2"_s);
        // Ctrl+Tab leaves the task editor, and no tab character is typed.
        f.w().lblGoal_Click(1);
        QCOMPARE(press(Qt::Key_Tab, Qt::ControlModifier), u"chkDueDate"_s);
        QVERIFY(!f.find<QPlainTextEdit>(u"txtGoalTasks"_s)->toPlainText().contains(u'\t'));
        press(Qt::Key_F10); // opens the first menu
        QTRY_VERIFY(f.find<QMenu>(u"mnuProject"_s)->isVisible());
    }

    // Keys alone move along the grid (past empty panels, staying at its ends), open a panel and
    // delete the one with the focus; the focus stays on what is shown.
    void panelsByKeys()
    {
        ActiveWindow f({u"Run"_s, u"Swim"_s, u"Ride"_s});
        f.find(u"Picture2"_s)->setFocus();
        QStringList path;
        for (const auto key :
             {Qt::Key_Right, Qt::Key_Left, Qt::Key_Left, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left,
              Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up})
            path.append(press(key).remove(u"picGoal_"_s));
        QCOMPARE(path.join(u' '), u"Picture2 3 2 Picture2 2 1 1 2 3 Picture2 2"_s);
        QCOMPARE(press(Qt::Key_Return), u"txtGoalTasks"_s);
        QCOMPARE(f.w().selectedGoalIndex(), 2);
        QCOMPARE(press(Qt::Key_Escape), u"picGoal_2"_s);
        QCOMPARE(press(Qt::Key_Left), u"picGoal_1"_s);
        f.prompt.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        QCOMPARE(press(Qt::Key_Delete), u"picGoal_1"_s);
        QCOMPARE(f.prompt.texts(), QStringList{u"Delete Sub Goal?"_s});
        QCOMPARE(f.w().subGoalNames(), (QStringList{u"Swim"_s, u"Ride"_s}));
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
        // Boxes are named after the heading above them.
        QCOMPARE(iface(u"txtProjectName"_s)->text(QAccessible::Name), u"Main Goal:"_s);
        QCOMPARE(iface(u"txtSubGoal"_s)->text(QAccessible::Name), u"Add New Sub-Goal:"_s);
        QCOMPARE(iface(u"lblFilename"_s)->text(QAccessible::Name),
                 u"Project Filename: New Project (No Filename)"_s);
        // A panel is one button named after its sub-goal; only its "X" is inside it.
        QAccessibleInterface* panel = iface(u"picGoal_2"_s);
        QCOMPARE(panel->text(QAccessible::Name) + u'|' + panel->child(0)->text(QAccessible::Name),
                 u"Swim|Delete Swim"_s);
        QCOMPARE(QList({iface(u"lblFilename"_s)->role(), panel->role(), panel->child(0)->role()}),
                 QList({QAccessible::Link, QAccessible::Button, QAccessible::Button}));
        QCOMPARE(panel->childCount(), 1);
        panel->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f.w().selectedGoalIndex(), 2);
        // The description and the value follow the counts.
        f.w().project().setTasks(2, u"a --\nb"_s);
        QCOMPARE(panel->text(QAccessible::Description),
                 u"Swim: 1 of 2 tasks completed, 1 pending"_s);
        const QAccessibleValueInterface* value = panel->valueInterface();
        QVERIFY(value->currentValue() == 1 && value->maximumValue() == 2);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
