#pragma once

#include <QString>

#include <optional>

class QPrinter;
class QWidget;
class Workspace;

// Cancel is also the answer when a Yes/No question was closed or left with Esc.
enum class Answer
{
    Ok,
    Yes,
    No,
    Cancel
};

// A message box as the program asks it.
struct Message
{
    enum class Icon
    {
        Information,
        Question,
        Warning
    };
    enum class Buttons
    {
        Ok,
        YesNo,
        YesNoCancel
    };

    QString text;
    QString caption;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
    // What Enter answers: No where Yes would throw away work.
    Answer defaultButton = Answer::Yes;
};

// Everything that waits for the user: message boxes, the open and save windows, and the
// system's file and print windows for exports. Tests put a fake here that hands out
// prepared answers.
class Prompt
{
public:
    virtual ~Prompt() = default;

    virtual Answer ask(QWidget* parent, const Message& message) = 0;
    // The path of the project to open, or nothing when the window was cancelled.
    virtual std::optional<QString> chooseProjectToOpen(QWidget* parent,
                                                       const Workspace& workspace) = 0;
    // The path to save under, or nothing when the window was cancelled.
    virtual std::optional<QString> chooseProjectToSave(QWidget* parent,
                                                       const Workspace& workspace) = 0;
    // Where to export to, or nothing when the window was cancelled. It opens in the user's
    // documents folder with suggestedName filled in; filter is e.g. "PDF files (*.pdf)".
    virtual std::optional<QString> chooseExportFile(QWidget* parent, const QString& caption,
                                                    const QString& suggestedName,
                                                    const QString& filter) = 0;
    // Lets the user set up the printer; false when the window was cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;

    void inform(QWidget* parent, const QString& text, const QString& caption)
    {
        ask(parent, {text, caption, Message::Icon::Information, Message::Buttons::Ok});
    }
    void warn(QWidget* parent, const QString& text, const QString& caption)
    {
        ask(parent, {text, caption, Message::Icon::Warning, Message::Buttons::Ok});
    }
};

// The real windows.
class DialogPrompt : public Prompt
{
public:
    Answer ask(QWidget* parent, const Message& message) override;
    std::optional<QString> chooseProjectToOpen(QWidget* parent,
                                               const Workspace& workspace) override;
    std::optional<QString> chooseProjectToSave(QWidget* parent,
                                               const Workspace& workspace) override;
    std::optional<QString> chooseExportFile(QWidget* parent, const QString& caption,
                                            const QString& suggestedName,
                                            const QString& filter) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
};
