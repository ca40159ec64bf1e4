#include "dialogs/OpenDialog.h"
#include "dialogs/SaveDialog.h"
#include "storage/FileNameRules.h"
#include "support/TestSupport.h"

#include <QListWidget>
#include <QMessageBox>
#include <QTimer>

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void nameRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<FileNameRules::Verdict>("verdict");
        using enum FileNameRules::Verdict;
        QTest::newRow("empty") << QString() << Empty;
        QTest::newRow("letters digits hyphen underscore") << u"Plan_2024-final"_s << Ok;
        QTest::newRow("non-ascii letters") << u"Pl\u00E4ne"_s << Ok;
        // With ".gpj", at most 255 bytes: the longest file name the file system holds.
        QTest::newRow("longest") << QString(251, u'a') << Ok;
        QTest::newRow("too long in bytes") << QString(126, QChar(0xE4)) << TooLong;
        for (const char* bad : {" ", ".", ";", "'", "?", "@", "\"", "$", "/", "\t", "\n"}) {
            const QString c = QString::fromLatin1(bad);
            QTest::addRow("start %d", bad[0]) << c + u"plan"_s << Invalid;
            QTest::addRow("end %d", bad[0]) << u"plan"_s + c << Invalid;
        }
    }
    void nameRules()
    {
        QFETCH(QString, name);
        QFETCH(FileNameRules::Verdict, verdict);
        QCOMPARE(FileNameRules::check(name), verdict);
    }

    void saveWindowChecksAndHandsOverThePath()
    {
        TempAppFolder folder;
        Workspace ws(folder.path());
        FakePrompt prompt;
        SaveDialog dialog(ws, prompt);
        dialog.show();
        auto* name = dialog.findChild<QLineEdit*>(u"txtSave"_s);
        dialog.findChild<QPushButton*>(u"cmdOpen"_s)->click();
        QCOMPARE(prompt.last(), u"Missing Info: Please enter a name for the file."_s);
        name->setText(u"my plan"_s);
        QTest::keyClick(name, Qt::Key_Return); // Enter presses Save
        QCOMPARE(prompt.last(),
                 u"Invalid Name: Please remove any spaces and/or special characters."_s);
        QVERIFY(dialog.isVisible());
        QCOMPARE(name->text(), u"my plan"_s);
        name->setText(u"Plan_2024-Final"_s);
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.chosenPath(), folder.path() + u"/projects/Plan_2024-Final.gpj"_s);
        // An existing file is replaced only after Yes; a folder or a too long name is refused.
        writeFile(ws.projectPath(u"Old.gpj"_s), {});
        QDir().mkpath(ws.projectPath(u"Dir.gpj"_s));
        SaveDialog existing(ws, prompt);
        existing.show();
        for (const auto& [typed, answer, said] :
             {std::tuple{u"Old"_s, Answer::No,
                         u"File Already Exists: File already exists. Want to overwrite it?"_s},
              {u"Dir"_s, Answer::Yes, u"Folder Already Exists: "_s},
              {QString(252, u'a'), Answer::Yes, u"Name Too Long: "_s}}) {
            existing.findChild<QLineEdit*>(u"txtSave"_s)->setText(typed);
            prompt.answers = {answer};
            existing.cmdOpen_Click();
            QVERIFY2(prompt.last().startsWith(said), qPrintable(prompt.last()));
            QVERIFY(existing.isVisible() && !existing.chosenPath());
        }
        QCOMPARE(prompt.shown[2].buttons, Message::Buttons::YesNo);
        existing.findChild<QLineEdit*>(u"txtSave"_s)->setText(u"Old"_s);
        prompt.answers = {Answer::Yes};
        existing.cmdOpen_Click();
        QCOMPARE(existing.chosenPath(), ws.projectPath(u"Old.gpj"_s));
    }

    void openWindowListsAndChooses()
    {
        TempAppFolder folder;
        Workspace ws(folder.path());
        FakePrompt prompt;
        QCOMPARE(OpenDialog(ws, prompt).findChild<QListWidget*>(u"File1"_s)->count(), 0);
        for (const char* name : {"b.gpj", "A.GPJ", "c.txt", ".hidden.gpj", "a.gpj.bak"})
            writeFile(ws.projectPath(QString::fromLatin1(name)), {});
        QDir().mkpath(ws.projectPath(u"folder.gpj"_s));
        OpenDialog dialog(ws, prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* list = dialog.findChild<QListWidget*>(u"File1"_s);
        const auto names = [list] {
            QStringList n;
            for (int i = 0; i < list->count(); ++i)
                n.append(list->item(i)->text());
            return n;
        };
        QCOMPARE(names(), (QStringList{u"A.GPJ"_s, u"b.gpj"_s}));
        QVERIFY(list->selectedItems().isEmpty());
        // Nothing current, then a row current without being selected: no choice either time.
        auto* open = dialog.findChild<QPushButton*>(u"cmdOpen"_s);
        open->click();
        list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                                QItemSelectionModel::Clear);
        open->click();
        QCOMPARE(prompt.texts(), QStringList(2, u"Please select a file."_s));
        QCOMPARE(prompt.last(), u"Missing Info: Please select a file."_s);
        QVERIFY(dialog.isVisible());
        // A file added meanwhile shows once the window is active again; the selection stays.
        list->setCurrentRow(1);
        writeFile(ws.projectPath(u"0-new.gpj"_s), {});
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&dialog, &activate);
        QCOMPARE(names(), (QStringList{u"0-new.gpj"_s, u"A.GPJ"_s, u"b.gpj"_s}));
        QCOMPARE(list->currentItem()->text(), u"b.gpj"_s);
        const QRect item = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.chosenPath(), folder.path() + u"/projects/0-new.gpj"_s);
        // Before anything is picked the first Down picks the first name; Enter opens it.
        OpenDialog keys(ws, prompt);
        keys.show();
        QVERIFY(QTest::qWaitForWindowExposed(&keys));
        auto* rows = keys.findChild<QListWidget*>(u"File1"_s);
        rows->setFocus();
        QTest::keyClick(rows, Qt::Key_Down);
        QTest::keyClick(rows, Qt::Key_Return);
        QCOMPARE(keys.chosenPath(), dialog.chosenPath());
    }

    void folderBrowsing()
    {
        WindowFixture f;
        const QString projects = f.folder.file(u"projects"_s);
        f.click(u"lblFilename"_s);
        QVERIFY(QDir(projects).exists());
        QCOMPARE(f.opener.opened, QStringList{projects});
        QVERIFY(f.prompt.shown.isEmpty());
        f.opener.succeed = false;
        f.click(u"lblFilename"_s);
        QVERIFY(f.prompt.last().startsWith(u"Projects Folder: "_s) &&
                f.prompt.last().contains(projects));
    }

    void questionBoxShowsPlainTextAndEscCancels()
    {
        DialogPrompt prompt;
        // Enter takes the default, which is No where Yes would throw work away.
        for (const auto& [key, enter, answer] :
             {std::tuple{int(Qt::Key_Escape), Answer::Yes, Answer::Cancel},
              {int(Qt::Key_Y), Answer::No, Answer::Yes},
              {int(Qt::Key_Return), Answer::No, Answer::No}}) {
            QString shown;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                shown = box->textFormat() == Qt::PlainText ? box->text() : QString();
                QTest::keyClick(box, Qt::Key(key),
                                key == Qt::Key_Y ? Qt::AltModifier : Qt::NoModifier);
                if (box->isVisible())
                    box->button(QMessageBox::Yes)->click();
            });
            QCOMPARE(prompt.ask(nullptr, {u"Delete <b>Sub</b> Goal?"_s, u"Confirm"_s,
                                          Message::Icon::Question, Message::Buttons::YesNo, enter}),
                     answer);
            QCOMPARE(shown, u"Delete <b>Sub</b> Goal?"_s);
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
