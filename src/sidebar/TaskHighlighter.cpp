#include "sidebar/TaskHighlighter.h"

#include "model/TaskCounts.h"

#include <QColor>

TaskHighlighter::TaskHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    m_completed.setFontStrikeOut(true);
    // Still readable on white (5:1), but clearly set back from the open tasks.
    m_completed.setForeground(QColor(0x6E, 0x6E, 0x6E));
}

void TaskHighlighter::highlightBlock(const QString& text)
{
    // A block can hold several task lines: Shift+Enter breaks a line inside it, and the
    // editor hands that on as a line end, so each piece is judged on its own.
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && char16_t(text[end].unicode() - QChar::LineSeparator) > 1)
            ++end;
        const QStringView line = QStringView(text).sliced(start, end - start);
        if (TaskCounts::isCompleted(line))
            setFormat(int(start), int(end - start), m_completed);
        start = end + 1;
    }
}
