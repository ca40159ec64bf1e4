#include "app/HelpMenu.h"
#include "support/TestSupport.h"
#include "widgets/ClickableLabel.h"

#include <QMenuBar>
#include <QTableWidget>
#include <QTextBlock>

namespace {

QStringList captions(const QWidget* menu)
{
    QStringList list;
    for (const QAction* a : menu->actions())
        list.append(a->text());
    return list;
}

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

private slots:
    // The recent list, and the file's name and the unsaved state always in sight.
    void recentProjectsAndStates()
    {
        WindowFixture f;
        const auto recent = [&] { return f.find<QMenu>(u"mnuOpenRecent"_s); };
        const QStringList end{QString(), u"Clear List"_s};
        QCOMPARE(captions(recent()), end);
        f.addSubGoals({u"Paint"_s});
        QCOMPARE(f.text(u"statusUnsaved"_s), u"Unsaved changes"_s);
        const QString dir = f.folder.file(u"projects/"_s + QString(60, u'x'));
        QDir().mkpath(dir);
        for (int i = 1; i <= 9; ++i) {
            f.prompt.saveChoices = {dir + u"/p%1.gpj"_s.arg(i)};
            QVERIFY(f.w().mnuSaveAs_Click());
        }
        QCOMPARE(f.text(u"statusUnsaved"_s), QString());
        auto* label = f.find<ClickableLabel>(u"lblFilename"_s);
        QCOMPARE(label->text(), dir + u"/p9.gpj"_s);
        QVERIFY(label->shownText().endsWith(u"/p9.gpj"_s));
        QVERIFY(label->shownText().contains(QChar(0x2026)));
        QVERIFY(label->toolTip().contains(label->text()));
        // Newest first, eight at most, the folder as tooltip; kept across a restart.
        f.window = std::make_unique<MainWindow>(f.services());
        QStringList newest;
        for (int i = 1; i <= 8; ++i)
            newest.append(u"&%1 p%2.gpj"_s.arg(i).arg(10 - i));
        QCOMPARE(captions(recent()), newest + end);
        QCOMPARE(recent()->actions().first()->toolTip(), dir);
        // Opening one asks about unsaved changes first; a gone one leaves the list.
        typeText(f.find(u"txtProjectName"_s), u"!"_s);
        f.prompt.answers = {Answer::No};
        recent()->actions()[2]->trigger();
        QCOMPARE(f.prompt.last(), u"Save Changes: Want to save changes before?"_s);
        QCOMPARE(f.w().currentProjectFile(), dir + u"/p7.gpj"_s);
        QCOMPARE(recent()->actions().first()->text(), u"&1 p7.gpj"_s);
        QVERIFY(QFile::remove(dir + u"/p9.gpj"_s));
        recent()->actions()[1]->trigger();
        QVERIFY(f.prompt.last().startsWith(u"Open Recent: The project \""_s));
        QCOMPARE(f.w().currentProjectFile(), dir + u"/p7.gpj"_s);
        QCOMPARE(recent()->actions().size(), 7 + 2);
        recent()->actions().last()->trigger();
        QCOMPARE(captions(recent()), end);
    }

    // Over the first line and the next ones; undone as one step.
    void markDone_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("more"); // lines selected after the first
        QTest::addColumn<QString>("marked");
        QTest::newRow("pending to done") << u"a\nb"_s << 0 << u"a --\nb"_s;
        QTest::newRow("several, one pending") << u"a --\nb\n\nc--"_s << 3 << u"a --\nb --\n\nc--"_s;
        QTest::newRow("several done") << u"a --\nb---  \nc"_s << 1 << u"a\nb\nc"_s;
        QTest::newRow("in the middle") << u"call -- Bob"_s << 0 << u"call Bob"_s;
    }
    void markDone()
    {
        QFETCH(QString, text);
        QFETCH(int, more);
        QFETCH(QString, marked);
        WindowFixture f;
        f.addSubGoals({u"Paint"_s});
        f.typeTasks(1, text);
        auto* editor = f.find<QPlainTextEdit>(u"txtGoalTasks"_s);
        QTextCursor cursor(editor->document());
        cursor.setPosition(editor->document()->findBlockByNumber(more).position() + 1,
                           QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        QTest::keySequence(editor, QKeySequence(Qt::CTRL | Qt::Key_D));
        QCOMPARE(editor->toPlainText(), marked);
        QCOMPARE(f.w().project().tasks(1), marked);
        QCOMPARE(f.w().project().counts(1), TaskCounts::of(marked));
        f.w().undo();
        QCOMPARE(f.w().project().tasks(1), text);
    }

    // Cut, Copy, Paste and Select All follow the focus (as letters: 1 for enabled). The standard
    // keys reach their items; F1 lists the menus' keys and the dashboard's.
    void editItemsAndKeys()
    {
        ActiveWindow f;
        const auto enabled = [&] {
            QString flags;
            for (const char* name : {"mnuCut", "mnuCopy", "mnuPaste", "mnuSelectAll"})
                flags += f.find<QAction>(QString::fromLatin1(name))->isEnabled() ? u'1' : u'0';
            return flags;
        };
        QApplication::clipboard()->clear();
        auto* box = f.find<QLineEdit>(u"txtProjectName"_s);
        box->setFocus();
        box->deselect();
        QCOMPARE(enabled(), u"0001"_s);
        f.find<QAction>(u"mnuSelectAll"_s)->trigger();
        QCOMPARE(enabled(), u"1101"_s);
        f.find<QAction>(u"mnuCopy"_s)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), u"My Goal"_s);
        QCOMPARE(enabled(), u"1111"_s);
        f.find(u"lblFilename"_s)->setFocus();
        QCOMPARE(enabled(), u"0000"_s);
        typeText(box, u"!"_s); // so that Exit asks, and is cancelled
        for (const auto& [keys, item] : {std::pair{"Ctrl+Shift+S", "mnuSaveAs"},
                                         {"Ctrl+P", "mnuPrint"},
                                         {"Ctrl+Q", "mnuExit"},
                                         {"F1", "mnuShortcuts"}}) {
            QSignalSpy triggered(f.find<QAction>(QString::fromLatin1(item)), &QAction::triggered);
            QTest::keySequence(f.find(u"txtSubGoal"_s), QKeySequence(QString::fromLatin1(keys)));
            QVERIFY2(triggered.size() == 1, item);
        }
        auto* table = f.find<QTableWidget>(u"tblShortcuts"_s);
        QVERIFY(table && table->isVisible());
        QStringList listed;
        for (int row = 0; row < table->rowCount(); ++row)
            listed.append(table->item(row, 0)->text());
        int actions = 0;
        for (const QAction* a : f.w().menuBar()->findChildren<QAction*>()) {
            actions += !a->shortcuts().isEmpty();
            QVERIFY2(a->shortcuts().isEmpty() || listed.contains(KeyHelp::keysText(a->shortcuts())),
                     qPrintable(a->text()));
        }
        QVERIFY(actions >= 14);
        // Each title with its Alt letter, the captions as they were.
        QCOMPARE(captions(f.w().menuBar()),
                 (QStringList{u"&Project"_s, u"&Edit"_s, u"&View"_s, u"&Help"_s}));
        for (const QString& keys : {u"F10"_s, u"Esc"_s, u"Del"_s, u"Alt+H"_s, u"Ctrl+Tab"_s})
            QVERIFY2(listed.join(u", "_s).contains(keys), qPrintable(keys));
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
