#include "sidebar/TaskEditor.h"

#include "model/TaskCounts.h"

#include <QTextBlock>

#include <algorithm>

TaskEditor::TaskEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The project keeps one history for every edit; the editor keeps none of its own.
    setUndoRedoEnabled(false);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_settingText)
            return;
        if (m_inKey)
            m_changedByKey = true;
        else
            emit edited(tasksText());
    });
}

QString TaskEditor::tasksText() const
{
    // toPlainText() would turn non-breaking spaces into plain ones.
    QString text = document()->toRawText();
    // Shift+Enter makes a line separator, and paragraphs come as separators too. One pass the
    // compiler can vectorise: QString::replace goes char by char, twice (bench type_key row).
    QChar* const chars = text.data();
    std::transform(chars, chars + text.size(), chars, [](QChar c) {
        return c == QChar::LineSeparator || c == QChar::ParagraphSeparator ? QChar(u'\n') : c;
    });
    return text;
}

void TaskEditor::markDone()
{
    const QTextCursor cursor = textCursor();
    const QTextBlock first = document()->findBlock(cursor.selectionStart());
    QTextBlock last = document()->findBlock(cursor.selectionEnd());
    // A selection that ends where a line starts does not take that line.
    if (last != first && cursor.selectionEnd() == last.position())
        last = last.previous();
    QStringList lines;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        lines.append(block.text());
        if (block == last)
            break;
    }
    const QStringList marked = TaskCounts::toggledDone(lines);
    if (marked == lines)
        return;
    QTextCursor edit(document());
    edit.setPosition(first.position());
    edit.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    edit.insertText(marked.join(u'\n'));
    // The marked lines stay selected, ready for another toggle.
    QTextCursor shown(document());
    shown.setPosition(first.position());
    shown.setPosition(edit.position(), QTextCursor::KeepAnchor);
    setTextCursor(shown);
}

void TaskEditor::setTextMargins(int left, int right)
{
    setViewportMargins(left, 0, right, 0);
    // The margins belong to the box, so they take the text background.
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
    setAutoFillBackground(true);
}

void TaskEditor::keyPressEvent(QKeyEvent* event)
{
    m_keys.pressed(event);
    m_inKey = true;
    m_changedByKey = false;
    QPlainTextEdit::keyPressEvent(event);
    m_inKey = false;
    // Delete and the like type no character but still change the tasks.
    if (KeyPressTracker::producesCharacter(event) || m_changedByKey)
        emit characterKeyPressed();
}

bool TaskEditor::event(QEvent* event)
{
    // Let Ctrl+Z and its kin reach the window's Undo and Redo.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true;
    }
    return QPlainTextEdit::event(event);
}
