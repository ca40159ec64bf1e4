#pragma once

#include "app/AppServices.h"
#include "app/MainWindow.h"
#include "dashboard/GoalPanel.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"
#include "support/CoreSupport.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>

#include <memory>
#include <optional>

// Hands out prepared answers and records every message and window it was asked to show.
class FakePrompt : public Prompt
{
public:
    QList<Message> shown;
    QList<Answer> answers; // next answers, in order; then the safe default
    QList<std::optional<QString>> openChoices, saveChoices, exportChoices; // next window results
    QStringList exportSuggestions; // the names the export window suggested
    int openWindows = 0, saveWindows = 0, printWindows = 0;

    Answer ask(QWidget*, const Message& message) override;
    std::optional<QString> chooseProjectToOpen(QWidget*, const Workspace&) override
    {
        return ++openWindows, next(openChoices);
    }
    std::optional<QString> chooseProjectToSave(QWidget*, const Workspace&) override
    {
        return ++saveWindows, next(saveChoices);
    }
    std::optional<QString> chooseExportFile(QWidget*, const QString&, const QString& suggested,
                                            const QString&) override
    {
        return exportSuggestions.append(suggested), next(exportChoices);
    }
    // Cancelled: no test prints.
    bool choosePrinter(QWidget*, QPrinter&) override { return ++printWindows, false; }
    QStringList texts() const { return all(&Message::text); }
    QStringList captions() const { return all(&Message::caption); }
    // "caption: text" of the last message, or "".
    QString last() const
    {
        return shown.isEmpty() ? QString() : shown.last().caption + u": "_s + shown.last().text;
    }

private:
    QStringList all(QString Message::*field) const;
    static std::optional<QString> next(QList<std::optional<QString>>& list)
    {
        return list.isEmpty() ? std::nullopt : list.takeFirst();
    }
};

class FakeFolderOpener : public FolderOpener
{
public:
    QStringList opened;
    bool succeed = true;
    bool open(const QString& folder) override { return opened.append(folder), succeed; }
};

// A main window on a temporary folder with fakes for everything that waits or opens.
struct WindowFixture
{
    TempAppFolder folder;
    FakePrompt prompt;
    FakeRandom random;
    FakeFolderOpener opener;
    std::unique_ptr<MainWindow> window;
    const Clock* clock;

    explicit WindowFixture(const Clock* clock = &Clock::system());
    MainWindow& w() { return *window; }
    AppServices services() { return {Workspace(folder.path()), &prompt, &opener, &random, clock}; }
    template <typename W = QWidget> W* find(const QString& name)
    {
        return window->findChild<W*>(name);
    }
    // The text of a label or a line edit.
    QString text(const QString& name);
    void click(const QString& name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    bool visible(const QString& name) { return find(name)->isVisible(); }
    // Adds sub-goals through the name box as a user would.
    void addSubGoals(const QStringList& names);
    // Selects a panel by clicking its name, then types into the task editor.
    void typeTasks(int panel, const QString& text);
    QString taskFile(int panel) const;
    // Saves, through the save window when unnamed, as projects/<name>; "" when it failed.
    QString save(const QString& name = u"p.gpj"_s);
};

// A window that has the keyboard, with sub-goals added.
struct ActiveWindow : WindowFixture
{
    explicit ActiveWindow(const QStringList& goals = {}, const Clock* clock = &Clock::system());
};

// Types text key by key; QTest::keyClicks only knows ASCII.
void typeText(QWidget* widget, const QString& text);
