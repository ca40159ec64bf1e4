#pragma once

#include <QPlainTextEdit>

// The task list editor. It tells key presses that produce a character apart from other
// keys, and reports changes that came without a key (a mouse paste, a drop, an input
// method) so that they are written and counted too.
class TaskEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TaskEditor(QWidget* parent = nullptr);

    // The text with "\n" between lines and every other character exactly as typed.
    QString tasksText() const;
    // Sets the text without it counting as an edit.
    void setTasksText(const QString& text);
    // Inner blank space left and right of the text, in pixels.
    void setTextMargins(int left, int right);

signals:
    void characterKeyPressed();
    void keyReleased();
    void changedWithoutKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool m_inKey = false;
    bool m_settingText = false;
};
