#include "support/TestSupport.h"

#include "app/MainWindow.h"
#include "dashboard/GoalPanel.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

Answer FakePrompt::ask(QWidget*, const Message& message)
{
    shown.append(message);
    if (!answers.isEmpty())
        return answers.takeFirst();
    switch (message.buttons) {
    case Message::Buttons::Ok:
        return Answer::Ok;
    case Message::Buttons::YesNo:
        return Answer::No;
    case Message::Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Cancel;
}

std::optional<QString> FakePrompt::chooseProjectToOpen(QWidget*, const Workspace&)
{
    ++openWindows;
    return openChoices.isEmpty() ? std::nullopt : openChoices.takeFirst();
}

std::optional<QString> FakePrompt::chooseProjectToSave(QWidget*, const Workspace&)
{
    ++saveWindows;
    return saveChoices.isEmpty() ? std::nullopt : saveChoices.takeFirst();
}

std::optional<QString> FakePrompt::chooseExportFile(QWidget*, const QString&,
                                                    const QString& suggestedName, const QString&)
{
    exportSuggestions.append(suggestedName);
    return exportChoices.isEmpty() ? std::nullopt : exportChoices.takeFirst();
}

bool FakePrompt::choosePrinter(QWidget*, QPrinter&)
{
    ++printWindows;
    return !printerChoices.isEmpty() && printerChoices.takeFirst();
}

QStringList FakePrompt::texts() const
{
    QStringList list;
    for (const Message& m : shown)
        list.append(m.text);
    return list;
}

WindowFixture::WindowFixture(const Clock* clock) : clock(clock)
{
    window = std::make_unique<MainWindow>(services());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

WindowFixture::~WindowFixture() = default;

AppServices WindowFixture::services()
{
    return AppServices{Workspace(folder.path()), &prompt, &opener, &random, clock};
}

QString WindowFixture::text(const QString& name)
{
    if (auto* line = find<QLineEdit>(name))
        return line->text();
    return find<QLabel>(name)->text();
}

void WindowFixture::click(const QString& name)
{
    QTest::mouseClick(find(name), Qt::LeftButton);
}

void WindowFixture::addSubGoals(const QStringList& names)
{
    auto* box = window->findChild<QLineEdit*>(u"txtSubGoal"_s);
    for (const QString& name : names) {
        box->setFocus();
        typeText(box, name);
        QTest::keyClick(box, Qt::Key_Return);
    }
}

void WindowFixture::typeTasks(int panel, const QString& text)
{
    click(u"lblGoal_%1"_s.arg(panel));
    auto* editor = find<QPlainTextEdit>(u"txtGoalTasks"_s);
    editor->setFocus();
    typeText(editor, text);
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c == u'\n') {
            QTest::keyClick(widget, Qt::Key_Return);
        } else if (c.unicode() < 128) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

QString WindowFixture::taskFile(int panel) const
{
    return folder.file(u"tmp/"_s + window->project().goal(panel).key + u".txt"_s);
}
