#pragma once

#include <QDialog>

#include <optional>

class Prompt;
class QLineEdit;
class Workspace;

// Asks for the bare name a project is saved under, checks it, and warns before a project
// file is replaced. It writes nothing; the caller saves to chosenPath().
class SaveDialog : public QDialog
{
    Q_OBJECT

public:
    SaveDialog(const Workspace& workspace, Prompt& prompt, QWidget* parent = nullptr);

    std::optional<QString> chosenPath() const { return m_chosen; }

    void cmdOpen_Click();

private:
    const Workspace& m_workspace;
    Prompt& m_prompt;
    QLineEdit* m_name;
    std::optional<QString> m_chosen;
};
