#include "app/MainWindow.h"
#include "dialogs/FileNameRules.h"
#include "dialogs/OpenDialog.h"
#include "dialogs/SaveDialog.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void nameRules_data();
    void nameRules();
    void saveWindowChecksAndHandsOverThePath();
    void saveWindowAsksBeforeReplacing();
    void openWindowListsProjects();
    void openWindowChoosing();
    void folderBrowsing();

private:
    static void touch(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
};

void TestDialogs::nameRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("verdict");
    const int ok = int(FileNameRules::Verdict::Ok);
    const int invalid = int(FileNameRules::Verdict::Invalid);
    QTest::newRow("empty") << QString() << int(FileNameRules::Verdict::Empty);
    QTest::newRow("one space") << QStringLiteral(" ") << invalid;
    QTest::newRow("letters digits hyphen underscore") << QStringLiteral("Plan_2024-final") << ok;
    QTest::newRow("non-ascii letters") << QStringLiteral("Pl\u00E4ne") << ok;
    for (const char* bad : {" ", ".", ";", "'", "?", "@", "\"", "$", "/", "\t", "\n"}) {
        const QString c = QString::fromLatin1(bad);
        QTest::addRow("start %d", bad[0]) << c + QStringLiteral("plan") << invalid;
        QTest::addRow("middle %d", bad[0])
            << QStringLiteral("pl") + c + QStringLiteral("an") << invalid;
        QTest::addRow("end %d", bad[0]) << QStringLiteral("plan") + c << invalid;
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
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Project"));
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("txtSave"));
    QVERIFY(name->text().isEmpty());

    dialog.findChild<QPushButton*>(QStringLiteral("cmdOpen"))->click();
    QCOMPARE(prompt.shown.last().text, QStringLiteral("Please enter a name for the file."));
    QCOMPARE(prompt.shown.last().caption, QStringLiteral("Missing Info"));
    name->setText(QStringLiteral("my plan"));
    QTest::keyClick(name, Qt::Key_Return); // Enter presses Save
    QCOMPARE(prompt.shown.last().text,
             QStringLiteral("Please remove any spaces and/or special characters."));
    QCOMPARE(prompt.shown.last().caption, QStringLiteral("Invalid Name"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(name->text(), QStringLiteral("my plan"));

    name->setText(QStringLiteral("Plan_2024-Final"));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(
        dialog.chosenPath(),
        std::optional<QString>(folder.path() + QStringLiteral("/projects/Plan_2024-Final.gpj")));

    SaveDialog cancelled(ws, prompt);
    cancelled.show();
    cancelled.findChild<QLineEdit*>(QStringLiteral("txtSave"))->setText(QStringLiteral("x"));
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    QVERIFY(!cancelled.chosenPath());
}

void TestDialogs::saveWindowAsksBeforeReplacing()
{
    TempAppFolder folder;
    Workspace ws(folder.path());
    touch(ws.projectPath(QStringLiteral("Old.gpj")));
    FakePrompt prompt;
    SaveDialog dialog(ws, prompt);
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("txtSave"))->setText(QStringLiteral("Old"));
    prompt.answers = {Answer::No};
    dialog.cmdOpen_Click();
    QCOMPARE(prompt.shown.last().text,
             QStringLiteral("File already exists. Want to overwrite it?"));
    QCOMPARE(prompt.shown.last().caption, QStringLiteral("File Already Exists"));
    QCOMPARE(prompt.shown.last().buttons, Message::Buttons::YesNo);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.chosenPath());
    prompt.answers = {Answer::Yes};
    dialog.cmdOpen_Click();
    QCOMPARE(dialog.chosenPath(),
             std::optional<QString>(ws.projectPath(QStringLiteral("Old.gpj"))));
}

void TestDialogs::openWindowListsProjects()
{
    TempAppFolder folder;
    Workspace ws(folder.path());
    FakePrompt prompt;
    {
        OpenDialog dialog(ws, prompt);
        QCOMPARE(dialog.findChild<QListWidget*>(QStringLiteral("File1"))->count(),
                 0); // no projects folder
    }
    for (const char* name : {"b.gpj", "A.GPJ", "c.txt", ".hidden.gpj", "a.gpj.bak"})
        touch(ws.projectPath(QString::fromLatin1(name)));
    QDir().mkpath(ws.projectPath(QStringLiteral("folder.gpj")));
    OpenDialog dialog(ws, prompt);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Open Project"));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("File1"));
    const auto names = [&] {
        QStringList n;
        for (int i = 0; i < list->count(); ++i)
            n.append(list->item(i)->text());
        return n;
    };
    QCOMPARE(names(), (QStringList{QStringLiteral("A.GPJ"), QStringLiteral("b.gpj")}));
    QVERIFY(list->selectedItems().isEmpty());

    // A file added meanwhile shows once the window is active again; the selection stays.
    list->setCurrentRow(1);
    touch(ws.projectPath(QStringLiteral("0-new.gpj")));
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&dialog, &activate);
    QCOMPARE(names(), (QStringList{QStringLiteral("0-new.gpj"), QStringLiteral("A.GPJ"),
                                   QStringLiteral("b.gpj")}));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("b.gpj"));
}

void TestDialogs::openWindowChoosing()
{
    TempAppFolder folder;
    Workspace ws(folder.path());
    touch(ws.projectPath(QStringLiteral("Plan.gpj")));
    FakePrompt prompt;
    OpenDialog dialog(ws, prompt);
    dialog.show();
    dialog.findChild<QPushButton*>(QStringLiteral("cmdOpen"))->click();
    QCOMPARE(prompt.shown.last().text, QStringLiteral("Please select a file."));
    QCOMPARE(prompt.shown.last().caption, QStringLiteral("Missing Info"));
    QVERIFY(dialog.isVisible());

    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("File1"));
    const QRect item = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.chosenPath(),
             std::optional<QString>(folder.path() + QStringLiteral("/projects/Plan.gpj")));

    // From the keyboard: the first Down picks the first name, Enter opens it.
    OpenDialog keyboard(ws, prompt);
    keyboard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&keyboard));
    auto* keys = keyboard.findChild<QListWidget*>(QStringLiteral("File1"));
    keys->setFocus();
    QTest::keyClick(keys, Qt::Key_Down);
    QTest::keyClick(keys, Qt::Key_Return);
    QCOMPARE(keyboard.chosenPath(),
             std::optional<QString>(folder.path() + QStringLiteral("/projects/Plan.gpj")));

    OpenDialog cancelled(ws, prompt);
    cancelled.show();
    cancelled.findChild<QListWidget*>(QStringLiteral("File1"))->setCurrentRow(0);
    cancelled.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    QVERIFY(!cancelled.chosenPath());
}

void TestDialogs::folderBrowsing()
{
    WindowFixture f;
    auto* link = f.w().findChild<QLabel*>(QStringLiteral("lblFilename"));
    const QString projects = f.folder.file(QStringLiteral("projects"));
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
    QFile blocker(g.folder.file(QStringLiteral("projects")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTest::mouseClick(g.w().findChild<QLabel*>(QStringLiteral("lblFilename")), Qt::LeftButton);
    QVERIFY(g.opener.opened.isEmpty());
    QCOMPARE(g.prompt.shown.size(), 1);
    QCOMPARE(g.prompt.shown[0].caption, QStringLiteral("Projects Folder"));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
