#pragma once

#include "sidebar/KeyPressTracker.h"

#include <QPlainTextEdit>
#include <QTextDocument>

// The task list editor. It reports key presses that type a character or change the text,
// and hands over its text on each key release whose press it received and on each change
// that came without a key (a mouse paste, a drop, an input method).
class TaskEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TaskEditor(QWidget* parent = nullptr);

    // The text with "\n" between lines and every other character exactly as typed.
    QString tasksText() const;
    // Sets the text without it counting as an edit.
    void setTasksText(const QString& text)
    {
        m_settingText = true;
        setPlainText(text);
        m_settingText = false;
        setUnwritten(false);
    }
    // True while the text holds a change that has not been written to its task file.
    bool isUnwritten() const { return document()->isModified(); }
    void setUnwritten(bool unwritten) { document()->setModified(unwritten); }
    void forgetPressedKeys() { m_keys.reset(); }
    // Mark Done on the lines of the cursor or the selection; hands over the text as an edit.
    void markDone();
    // Inner blank space left and right of the text, in pixels.
    void setTextMargins(int left, int right);

signals:
    void characterKeyPressed();
    void edited(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override
    {
        QPlainTextEdit::keyReleaseEvent(event);
        if (m_keys.released(event))
            emit edited(tasksText());
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        m_keys.reset();
        QPlainTextEdit::focusOutEvent(event);
    }
    bool event(QEvent* event) override;

private:
    KeyPressTracker m_keys;
    bool m_inKey = false;
    bool m_changedByKey = false;
    bool m_settingText = false;
};
