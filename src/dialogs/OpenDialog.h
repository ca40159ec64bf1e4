#pragma once

#include <QDialog>
#include <QEvent>

#include <optional>

class Prompt;
class QListWidget;
class Workspace;

// Lists the project files of the projects folder and lets the user pick one. It only
// chooses; the caller opens chosenPath().
class OpenDialog : public QDialog
{
    Q_OBJECT

public:
    OpenDialog(const Workspace& workspace, Prompt& prompt, QWidget* parent = nullptr);

    std::optional<QString> chosenPath() const { return m_chosen; }

    // Re-reads the folder, keeping the selected name when it is still there.
    void refreshListing();
    void cmdOpen_Click();

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate)
            refreshListing();
        return QDialog::event(event);
    }

private:
    const Workspace& m_workspace;
    Prompt& m_prompt;
    QListWidget* m_files;
    std::optional<QString> m_chosen;
};
