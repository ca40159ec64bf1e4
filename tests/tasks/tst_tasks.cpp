#include "model/DueDateText.h"
#include "model/TaskCounts.h"
#include "sidebar/TaskEditor.h"
#include "support/TestSupport.h"

class TestTasks : public QObject
{
    Q_OBJECT

private slots:
    void counts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("completed");
        QTest::newRow("empty") << QString() << 0 << 0;
        QTest::newRow("final line end is no task") << u"a\n"_s << 1 << 0;
        QTest::newRow("blank lines are no tasks") << u"a\n\n   \n\t\nb --"_s << 2 << 1;
        QTest::newRow("crlf") << u"a --\r\nb\r\nc--\r\n"_s << 3 << 2;
    }
    void counts()
    {
        QFETCH(QString, text);
        QFETCH(int, total);
        QFETCH(int, completed);
        const TaskCounts c = TaskCounts::of(text);
        QCOMPARE(QList({c.total, c.completed}), QList({total, completed}));
    }

    void keyReleaseWritesCountsAndPicture()
    {
        WindowFixture f;
        auto* editor = f.find<TaskEditor>(u"txtGoalTasks"_s);
        f.addSubGoals({u"Garden"_s, u"Other"_s});
        const auto image = [](const QImage& picture) {
            return picture.convertToFormat(QImage::Format_RGB32);
        };
        const QImage blue = image(QImage(f.folder.file(u"imgs/bluecircle.gif"_s)));
        const QImage green = image(QImage(f.folder.file(u"imgs/greencircle.gif"_s)));
        QVERIFY(!blue.isNull() && blue != green);
        // Selecting creates the empty task file.
        f.click(u"lblGoal_2"_s);
        QCOMPARE(fileBytes(f.taskFile(2)), QByteArray());
        f.typeTasks(1, u"dig --\nplant --\nwater"_s);
        QCOMPARE(f.text(u"lblTasks_Total_1"_s) + f.text(u"lblTasks_Completed_1"_s) +
                     f.text(u"lblTasks_Pending_1"_s),
                 u"Tasks: 3Completed: 2Pending: 1"_s);
        QCOMPARE(image(f.w().panel(1)->picture().toImage()), blue);
        QTest::keyClicks(editor, u" --"_s);
        QCOMPARE(image(f.w().panel(1)->picture().toImage()), green);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(fileBytes(f.taskFile(1)), "dig --\r\nplant --\r\nwater --\r\n"_ba);

        // A paste without a key, as from the context menu, is written too. Shift+Enter puts
        // a line separator into the editor; it is a line end like Enter.
        QVERIFY(!f.save().isEmpty());
        f.click(u"lblGoal_2"_s);
        QGuiApplication::clipboard()->setText(u"pasted --\nnon\u00A0breaking"_s);
        editor->paste();
        QCOMPARE(fileBytes(f.taskFile(2)), u"pasted --\r\nnon\u00A0breaking"_s.toUtf8());
        QVERIFY(f.w().projectModified() && f.text(u"lblTasks_Total_2"_s) == u"Tasks: 2"_s);
        QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier);
        // One key event may bring several characters, as an input method does.
        for (const auto action : {QTest::Press, QTest::Release})
            QTest::sendKeyEvent(action, editor, Qt::Key_unknown, u"xy"_s, Qt::NoModifier);
        QCOMPARE(fileBytes(f.taskFile(2)), u"pasted --\r\nnon\u00A0breaking\r\nxy"_s.toUtf8());
        f.click(u"lblGoal_1"_s);
        f.click(u"lblGoal_2"_s);
        QCOMPARE(editor->tasksText(), u"pasted --\nnon\u00A0breaking\nxy"_s);
    }

    void keysHeldOrReleasedElsewhere()
    {
        // A held key repeats as release and press pairs; only its last release lets it go.
        KeyPressTracker keys;
        const QKeyEvent down(QEvent::KeyPress, Qt::Key_C, {}),
            up(QEvent::KeyRelease, Qt::Key_C, {});
        const QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_C, {}, {}, true);
        keys.pressed(&down);
        QVERIFY(keys.released(&repeat) && keys.released(&up) && !keys.released(&up));
        WindowFixture f;
        auto* editor = f.find<TaskEditor>(u"txtGoalTasks"_s);
        f.addSubGoals({u"A"_s, u"B"_s, u"C"_s});
        f.typeTasks(1, u"ab"_s);
        QTest::keyPress(editor, Qt::Key_C);
        f.click(u"lblGoal_2"_s);
        QCOMPARE(fileBytes(f.taskFile(1)), "abc"_ba);
        QTest::keyRelease(editor, Qt::Key_C);
        QCOMPARE(fileBytes(f.taskFile(2)), QByteArray());
        // The same before a save.
        f.click(u"lblGoal_1"_s);
        editor->moveCursor(QTextCursor::End);
        QTest::keyPress(editor, Qt::Key_D);
        QVERIFY(fileBytes(f.save()).contains("Goal1_Task1=abcd\r\n"));
        // The release of a key whose press went elsewhere (the Enter that closed a message box,
        // the Ctrl of a shortcut) is no edit; a key pressed and released in the name box is one.
        auto* name = f.find<QLineEdit>(u"txtProjectName"_s);
        for (QWidget* box : std::initializer_list<QWidget*>{name, editor}) {
            box->setFocus();
            QTest::keyPress(box, Qt::Key_Control);
            QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
            QTest::keyRelease(box, Qt::Key_Control);
            QVERIFY2(!f.w().projectModified(), qPrintable(box->objectName()));
        }
        QCOMPARE(f.prompt.texts(), QStringList(3, u"Ready! Project saved."_s));
        QTest::keyRelease(editor, Qt::Key_Return);
        QTest::keyRelease(name, Qt::Key_Return);
        // Delete carries a DEL character on X11 but types none.
        QTest::sendKeyEvent(QTest::Click, f.find(u"txtSubGoal"_s), Qt::Key_Delete, u"\x7f"_s, {});
        QVERIFY(!f.w().projectModified());
        QTest::keyClick(name, Qt::Key_Right);
        QVERIFY(f.w().projectModified());
        // The same across Ctrl+Z: written to its own sub-goal, found by key, before the undo,
        // which takes back the whole burst ("ab" in front of "bob").
        f.typeTasks(3, u"bob"_s);
        f.prompt.answers = {Answer::Yes};
        f.w().lblDeleteOnMouseOver_Click(1); // C is panel 2 now
        f.click(u"lblGoal_2"_s);
        QTest::keyClick(editor, Qt::Key_A);
        QTest::keyPress(editor, Qt::Key_B);
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyRelease(editor, Qt::Key_B);
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.w().subGoalNames(), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
        QCOMPARE(
            QList({fileBytes(f.taskFile(1)), fileBytes(f.taskFile(2)), fileBytes(f.taskFile(3))}),
            QList({"abcd"_ba, ""_ba, "bob"_ba}));
        f.w().redo();
        f.w().redo();
        QCOMPARE(fileBytes(f.taskFile(2)), "abbob"_ba);
    }

    void dueDateText_data()
    {
        QTest::addColumn<QString>("locale"); // the user's
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written"); // the date read, in the user's form; "": none
        QTest::newRow("en_US") << u"en_US"_s << u"3/15/2026"_s << u"3/15/2026"_s;
        QTest::newRow("C") << u"C"_s << u"15 Mar 2026"_s << u"15 Mar 2026"_s;
        // Old files may carry two-digit years: read into 1950..2049.
        QTest::newRow("yy 49") << u"en_US"_s << u"3/15/49"_s << u"3/15/2049"_s;
        QTest::newRow("yy 50") << u"en_US"_s << u"3/15/50"_s << u"3/15/1950"_s;
        // Saved under one locale, opened under another.
        QTest::newRow("C in en_US") << u"en_US"_s << u"1 Dec 2026"_s << u"12/1/2026"_s;
        QTest::newRow("ISO in en_GB") << u"en_GB"_s << u"2026-12-01"_s << u"01/12/2026"_s;
        QTest::newRow("en_US in C") << u"C"_s << u"12/1/2026"_s << u"1 Dec 2026"_s;
        QTest::newRow("en_GB in en_US") << u"en_US"_s << u"15/03/2026"_s << u"3/15/2026"_s;
        QTest::newRow("de_DE in en_GB") << u"en_GB"_s << u"15.03.2026"_s << u"15/03/2026"_s;
        QTest::newRow("not a date") << u"en_GB"_s << u"next week"_s << QString();
        QTest::newRow("ISO with a time") << u"C"_s << u"2026-03-15T00"_s << QString();
    }
    void dueDateText()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, written);
        const QLocale user(locale);
        QCOMPARE(DueDateText::format(DueDateText::parse(text, user).value_or(QDate()), user),
                 written);
    }

    // Texts an older file or another locale stored are shown and kept as stored.
    void dueDateTickPickClearAndReselect()
    {
        WindowFixture f;
        f.addSubGoals({u"A"_s, u"old"_s, u"foreign"_s});
        f.w().project().setDue(2, u"15 Mar 26"_s);
        f.w().project().setDue(3, u"2026-03-15T00"_s);
        QVERIFY(!f.save().isEmpty());
        auto* box = f.find<QCheckBox>(u"chkDueDate"_s);
        f.click(u"lblGoal_1"_s);
        auto* calendar = f.find<QCalendarWidget>(u"Calendar1"_s);
        // Ticked, the date picked, the due text and whether the panel's band shows.
        const auto state = [&](int panel) {
            if (f.w().selectedGoalIndex() != panel)
                f.click(u"lblGoal_%1"_s.arg(panel));
            return QStringList{QString::number(box->isChecked()),
                               calendar->selectedDate().toString(Qt::ISODate),
                               f.w().project().goal(panel).due,
                               QString::number(f.visible(u"shDueDate_%1"_s.arg(panel)))}
                .join(u'|');
        };
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(state(2), u"1|2026-03-15|15 Mar 26|1"_s);
        QCOMPARE(state(3), u"1|%1|2026-03-15T00|1"_s.arg(today));
        QVERIFY(!f.w().projectModified()); // looking is not editing
        QCOMPARE(state(1), u"0|%1||0"_s.arg(today));
        calendar->setSelectedDate(QDate(2026, 3, 15));
        QCOMPARE(state(1), u"0|2026-03-15||0"_s); // not ticked
        const QImage unticked = box->grab().toImage();
        QTest::mouseClick(box, Qt::LeftButton);
        // The tick must stand out from its box: some pixels turn dark.
        const QImage ticked = box->grab().toImage();
        int dark = 0;
        for (int y = 0; y < ticked.height(); ++y)
            for (int x = 0; x < ticked.width(); ++x)
                dark +=
                    ticked.pixel(x, y) != unticked.pixel(x, y) && qGray(ticked.pixel(x, y)) < 100;
        QVERIFY2(dark > 4, qPrintable(QString::number(dark)));
        calendar->setSelectedDate(QDate(2027, 1, 2));
        QCOMPARE(state(1), u"1|2027-01-02|2 Jan 2027|1"_s);
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(state(1).endsWith(u"||0"_s));
    }
};

QTEST_MAIN(TestTasks)
#include "tst_tasks.moc"
