#include "app/MainWindow.h"
#include "dialogs/OpenDialog.h"
#include "dialogs/SaveDialog.h"
#include "storage/FileNameRules.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void nameRules_data();
    void nameRules();
    void saveWindowChecksAndHandsOverThePath();
    void openWindowListsProjects();
    void openWindowChoosing();
    void folderBrowsing();
    void questionBoxShowsPlainTextAndEscCancels();
};

void TestDialogs::nameRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("verdict");
    const int ok = int(FileNameRules::Verdict::Ok);
    const int invalid = int(FileNameRules::Verdict::Invalid);
    QTest::newRow("empty") << QString() << int(FileNameRules::Verdict::Empty);
    QTest::newRow("one space") << u" "_s << invalid;
    QTest::newRow("letters digits hyphen underscore") << u"Plan_2024-final"_s << ok;
    QTest::newRow("non-ascii letters") << u"Pl\u00E4ne"_s << ok;
    // With ".gpj", at most 255 bytes: the longest file name the file system holds.
    QTest::newRow("longest") << QString(251, u'a') << ok;
    QTest::newRow("too long in bytes")
        << QString(126, QChar(0xE4)) << int(FileNameRules::Verdict::TooLong);
    for (const char* bad : {" ", ".", ";", "'", "?", "@", "\"", "$", "/", "\t", "\n"}) {
        const QString c = QString::fromLatin1(bad);
        QTest::addRow("start %d", bad[0]) << c + u"plan"_s << invalid;
        QTest::addRow("middle %d", bad[0]) << u"pl"_s + c + u"an"_s << invalid;
        QTest::addRow("end %d", bad[0]) << u"plan"_s + c << invalid;
    }
}

void TestDialogs::nameRules()
{
    QFETCH(QString, name);
    QFETCH(int, verdict);
    QCOMPARE(int(FileNameRules::check(name)), verdict);
}

void TestDialogs::saveWindowChecksAndHandsOverThePath()
{
    TempAppFolder folder;
    Workspace ws(folder.path());
    FakePrompt prompt;
    SaveDialog dialog(ws, prompt);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"Save Project"_s);
    auto* name = dialog.findChild<QLineEdit*>(u"txtSave"_s);
    QVERIFY(name->text().isEmpty());

    dialog.findChild<QPushButton*>(u"cmdOpen"_s)->click();
    QCOMPARE(prompt.shown.last().text, u"Please enter a name for the file."_s);
    QCOMPARE(prompt.shown.last().caption, u"Missing Info"_s);
    name->setText(u"my plan"_s);
    QTest::keyClick(name, Qt::Key_Return); // Enter presses Save
    QCOMPARE(prompt.shown.last().text, u"Please remove any spaces and/or special characters."_s);
    QCOMPARE(prompt.shown.last().caption, u"Invalid Name"_s);
    QVERIFY(dialog.isVisible());
    QCOMPARE(name->text(), u"my plan"_s);

    name->setText(u"Plan_2024-Final"_s);
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenPath(),
             std::optional<QString>(folder.path() + u"/projects/Plan_2024-Final.gpj"_s));

    SaveDialog cancelled(ws, prompt);
    cancelled.show();
    cancelled.findChild<QLineEdit*>(u"txtSave"_s)->setText(u"x"_s);
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    QVERIFY(!cancelled.chosenPath());

    // An existing name is replaced only after Yes.
    writeFile(ws.projectPath(u"Old.gpj"_s), {});
    SaveDialog existing(ws, prompt);
    existing.show();
    existing.findChild<QLineEdit*>(u"txtSave"_s)->setText(u"Old"_s);
    prompt.answers = {Answer::No};
    existing.cmdOpen_Click();
    QCOMPARE(prompt.shown.last().text, u"File already exists. Want to overwrite it?"_s);
    QCOMPARE(prompt.shown.last().caption, u"File Already Exists"_s);
    QCOMPARE(prompt.shown.last().buttons, Message::Buttons::YesNo);
    QVERIFY(existing.isVisible());
    QVERIFY(!existing.chosenPath());
    // A folder of that name, or a name too long for a file, is refused; the window stays.
    QDir().mkpath(ws.projectPath(u"Dir.gpj"_s));
    for (const auto& [typed, caption] : {std::pair{u"Dir"_s, u"Folder Already Exists"_s},
                                         {QString(252, u'a'), u"Name Too Long"_s}}) {
        existing.findChild<QLineEdit*>(u"txtSave"_s)->setText(typed);
        existing.cmdOpen_Click();
        QCOMPARE(prompt.shown.last().caption, caption);
        QVERIFY(existing.isVisible() && !existing.chosenPath());
    }
    existing.findChild<QLineEdit*>(u"txtSave"_s)->setText(u"Old"_s);
    prompt.answers = {Answer::Yes};
    existing.cmdOpen_Click();
    QCOMPARE(existing.chosenPath(), std::optional<QString>(ws.projectPath(u"Old.gpj"_s)));
}

void TestDialogs::openWindowListsProjects()
{
    TempAppFolder folder;
    Workspace ws(folder.path());
    FakePrompt prompt;
    {
        OpenDialog dialog(ws, prompt);
        QCOMPARE(dialog.findChild<QListWidget*>(u"File1"_s)->count(),
                 0); // no projects folder
    }
    for (const char* name : {"b.gpj", "A.GPJ", "c.txt", ".hidden.gpj", "a.gpj.bak"})
        writeFile(ws.projectPath(QString::fromLatin1(name)), {});
    QDir().mkpath(ws.projectPath(u"folder.gpj"_s));
    OpenDialog dialog(ws, prompt);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"Open Project"_s);
    auto* list = dialog.findChild<QListWidget*>(u"File1"_s);
    const auto names = [&] {
        QStringList n;
        for (int i = 0; i < list->count(); ++i)
            n.append(list->item(i)->text());
        return n;
    };
    QCOMPARE(names(), (QStringList{u"A.GPJ"_s, u"b.gpj"_s}));
    QVERIFY(list->selectedItems().isEmpty());

    // A file added meanwhile shows once the window is active again; the selection stays.
    list->setCurrentRow(1);
    writeFile(ws.projectPath(u"0-new.gpj"_s), {});
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&dialog, &activate);
    QCOMPARE(names(), (QStringList{u"0-new.gpj"_s, u"A.GPJ"_s, u"b.gpj"_s}));
    QCOMPARE(list->currentItem()->text(), u"b.gpj"_s);
}

void TestDialogs::openWindowChoosing()
{
    TempAppFolder folder;
    Workspace ws(folder.path());
    writeFile(ws.projectPath(u"Plan.gpj"_s), {});
    FakePrompt prompt;
    OpenDialog dialog(ws, prompt);
    dialog.show();
    dialog.findChild<QPushButton*>(u"cmdOpen"_s)->click();
    QCOMPARE(prompt.shown.last().text, u"Please select a file."_s);
    QCOMPARE(prompt.shown.last().caption, u"Missing Info"_s);
    QVERIFY(dialog.isVisible());

    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* list = dialog.findChild<QListWidget*>(u"File1"_s);
    const QRect item = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.chosenPath(), std::optional<QString>(folder.path() + u"/projects/Plan.gpj"_s));

    // From the keyboard: the first Down picks the first name, Enter opens it.
    OpenDialog keyboard(ws, prompt);
    keyboard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&keyboard));
    auto* keys = keyboard.findChild<QListWidget*>(u"File1"_s);
    keys->setFocus();
    QTest::keyClick(keys, Qt::Key_Down);
    QTest::keyClick(keys, Qt::Key_Return);
    QCOMPARE(keyboard.chosenPath(),
             std::optional<QString>(folder.path() + u"/projects/Plan.gpj"_s));

    // Before anything is picked, End goes to the last name and Page Down a page on; a
    // row that is current without being selected opens nothing.
    for (int i = 0; i < 40; ++i)
        writeFile(ws.projectPath(u"p%1.gpj"_s.arg(i, 2, 10, QChar(u'0'))), {});
    for (const auto& [key, last] : {std::pair{Qt::Key_End, true}, {Qt::Key_PageDown, false}}) {
        OpenDialog many(ws, prompt);
        many.show();
        QVERIFY(QTest::qWaitForWindowExposed(&many));
        auto* list = many.findChild<QListWidget*>(u"File1"_s);
        list->setFocus();
        QTest::keyClick(list, key);
        const int row = list->currentRow();
        QVERIFY2(last ? row == list->count() - 1 : row > 1 && row < list->count() - 1,
                 qPrintable(QString::number(row)));
        list->selectionModel()->setCurrentIndex(list->model()->index(3, 0),
                                                QItemSelectionModel::Clear);
        const int asked = prompt.shown.size();
        many.findChild<QPushButton*>(u"cmdOpen"_s)->click();
        QCOMPARE(prompt.shown.size(), asked + 1);
        QVERIFY(!many.chosenPath());
    }

    OpenDialog cancelled(ws, prompt);
    cancelled.show();
    cancelled.findChild<QListWidget*>(u"File1"_s)->setCurrentRow(0);
    cancelled.findChild<QPushButton*>(u"cmdCancel"_s)->click();
    QVERIFY(!cancelled.chosenPath());
}

void TestDialogs::folderBrowsing()
{
    WindowFixture f;
    auto* link = f.w().findChild<QLabel*>(u"lblFilename"_s);
    const QString projects = f.folder.file(u"projects"_s);
    QTest::mouseClick(link, Qt::LeftButton);
    QVERIFY(QDir(projects).exists());
    QCOMPARE(f.opener.opened, QStringList{projects});
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(f.opener.opened.size(), 2);
    QVERIFY(f.prompt.shown.isEmpty());

    f.opener.succeed = false;
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(f.prompt.shown.size(), 1);
    QVERIFY(f.prompt.shown[0].text.contains(projects));

    // A file where the folder should be.
    WindowFixture g;
    QFile blocker(g.folder.file(u"projects"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTest::mouseClick(g.w().findChild<QLabel*>(u"lblFilename"_s), Qt::LeftButton);
    QVERIFY(g.opener.opened.isEmpty());
    QCOMPARE(g.prompt.shown.size(), 1);
    QCOMPARE(g.prompt.shown[0].caption, u"Projects Folder"_s);
}

void TestDialogs::questionBoxShowsPlainTextAndEscCancels()
{
    DialogPrompt prompt;
    // Enter takes the default, which is No where Yes would throw work away.
    for (const auto& [key, enter, answer] :
         {std::tuple{int(Qt::Key_Escape), Answer::Yes, Answer::Cancel},
          std::tuple{int(Qt::Key_Y), Answer::No, Answer::Yes},
          std::tuple{int(Qt::Key_Return), Answer::Yes, Answer::Yes},
          std::tuple{int(Qt::Key_Return), Answer::No, Answer::No}}) {
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->textFormat() == Qt::PlainText ? box->text() : QString();
            QTest::keyClick(box, Qt::Key(key), key == Qt::Key_Y ? Qt::AltModifier : Qt::NoModifier);
            if (box->isVisible())
                box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(prompt.ask(nullptr, {u"Delete <b>Sub</b> Goal?"_s, u"Confirm"_s,
                                      Message::Icon::Question, Message::Buttons::YesNo, enter}),
                 answer);
        QCOMPARE(shown, u"Delete <b>Sub</b> Goal?"_s);
    }
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
