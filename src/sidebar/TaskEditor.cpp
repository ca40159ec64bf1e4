#include "sidebar/TaskEditor.h"

#include <QKeyEvent>
#include <QTextDocument>

namespace {

bool producesCharacter(const QKeyEvent* event)
{
    if (event->text().isEmpty())
        return false;
    // X11 reports Delete with the DEL character; it still edits without typing one.
    return event->key() != Qt::Key_Delete;
}

} // namespace

TaskEditor::TaskEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_inKey && !m_settingText)
            emit changedWithoutKey();
    });
}

QString TaskEditor::tasksText() const
{
    // toPlainText() would turn non-breaking spaces into plain ones.
    QString text = document()->toRawText();
    // One pass for both separators (U+2028, U+2029): this runs on every key release.
    for (QChar& c : text) {
        if (char16_t(c.unicode() - QChar::LineSeparator) <= 1)
            c = u'\n';
    }
    return text;
}

void TaskEditor::setTasksText(const QString& text)
{
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
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
    if (producesCharacter(event))
        emit characterKeyPressed();
    m_inKey = true;
    QPlainTextEdit::keyPressEvent(event);
    m_inKey = false;
}

void TaskEditor::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    emit keyReleased();
}
