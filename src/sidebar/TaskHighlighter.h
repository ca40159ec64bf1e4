#pragma once

#include "sidebar/TaskEditor.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Draws the task lines that count as completed struck through and greyed, by the rule the
// counts use (TaskCounts::isCompleted). Qt rehighlights only the blocks an edit touched,
// so typing in a long list stays cheap.
class TaskHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit TaskHighlighter(QTextDocument* document);

    // Highlights the editor's document from now on; the highlighter belongs to the document.
    static TaskHighlighter* attach(TaskEditor* editor)
    {
        return new TaskHighlighter(editor->document());
    }

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat m_completed;
};
