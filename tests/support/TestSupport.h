#pragma once

#include "app/AppServices.h"
#include "app/MainWindow.h"
#include "dialogs/FolderOpener.h"
#include "dialogs/Prompt.h"
#include "support/CoreSupport.h"

#include <QWidget>

#include <memory>
#include <optional>

// Hands out prepared answers and records every message it was asked to show.
class FakePrompt : public Prompt
{
public:
    QList<Message> shown;
    QList<Answer> answers;                       // next answers, in order
    QList<std::optional<QString>> openChoices;   // next results of the open window
    QList<std::optional<QString>> saveChoices;   // next results of the save window
    QList<std::optional<QString>> exportChoices; // next results of the export window
    QList<bool> printerChoices;                  // next answers of the print window
    QStringList exportSuggestions;               // the names the export window suggested
    int openWindows = 0;
    int saveWindows = 0;
    int printWindows = 0;

    Answer ask(QWidget* parent, const Message& message) override;
    std::optional<QString> chooseProjectToOpen(QWidget* parent,
                                               const Workspace& workspace) override;
    std::optional<QString> chooseProjectToSave(QWidget* parent,
                                               const Workspace& workspace) override;
    std::optional<QString> chooseExportFile(QWidget* parent, const QString& caption,
                                            const QString& suggestedName,
                                            const QString& filter) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;

    QStringList texts() const;
    bool showed(const QString& text) const { return texts().contains(text); }
};

class FakeFolderOpener : public FolderOpener
{
public:
    QStringList opened;
    bool succeed = true;
    bool open(const QString& folder) override
    {
        opened.append(folder);
        return succeed;
    }
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
    ~WindowFixture();
    MainWindow& w() { return *window; }
    AppServices services();

    template <typename W = QWidget> W* find(const QString& name)
    {
        return window->findChild<W*>(name);
    }
    // The text of a label or a line edit.
    QString text(const QString& name);
    void click(const QString& name);
    bool visible(const QString& name) { return find(name)->isVisible(); }

    // Adds sub-goals through the name box as a user would.
    void addSubGoals(const QStringList& names);
    // Selects a panel by clicking its name, then types into the task editor.
    void typeTasks(int panel, const QString& text);
    QString taskFile(int panel) const;
};

// Types text key by key; QTest::keyClicks only knows ASCII.
void typeText(QWidget* widget, const QString& text);
