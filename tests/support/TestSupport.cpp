#include "support/TestSupport.h"

Answer FakePrompt::ask(QWidget*, const Message& message)
{
    shown.append(message);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return message.buttons == Message::Buttons::Ok      ? Answer::Ok
           : message.buttons == Message::Buttons::YesNo ? Answer::No
                                                        : Answer::Cancel;
}

QStringList FakePrompt::all(QString Message::*field) const
{
    QStringList list;
    for (const Message& m : shown)
        list.append(m.*field);
    return list;
}

WindowFixture::WindowFixture(const Clock* clock) : clock(clock)
{
    window = std::make_unique<MainWindow>(services());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

QString WindowFixture::text(const QString& name)
{
    if (auto* line = find<QLineEdit>(name))
        return line->text();
    return find<QLabel>(name)->text();
}

void WindowFixture::addSubGoals(const QStringList& names)
{
    auto* box = find<QLineEdit>(u"txtSubGoal"_s);
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

QString WindowFixture::taskFile(int panel) const
{
    return folder.file(u"tmp/"_s + window->project().goal(panel).key + u".txt"_s);
}

QString WindowFixture::save(const QString& name)
{
    const QString path = folder.file(u"projects/"_s + name);
    prompt.saveChoices = {path};
    return window->mnuSave_Click() ? path : QString();
}

ActiveWindow::ActiveWindow(const QStringList& goals, const Clock* clock) : WindowFixture(clock)
{
    w().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w()));
    addSubGoals(goals);
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c == u'\n') {
            QTest::keyClick(widget, Qt::Key_Return);
        } else if (c.unicode() < 128) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            for (auto type : {QTest::Press, QTest::Release})
                QTest::sendKeyEvent(type, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}
