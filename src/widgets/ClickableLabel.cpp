#include "widgets/ClickableLabel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Names come from the user and from files: never markup.
    setTextFormat(Qt::PlainText);
    setText(text);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void ClickableLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            event->accept();
            emit clicked();
            return;
        }
    }
    QLabel::keyPressEvent(event);
}

QString ClickableLabel::shownText() const
{
    if (m_elide == Qt::ElideNone)
        return text();
    return fontMetrics().elidedText(text(), m_elide,
                                    contentsRect().width() - 2 * qMax(0, indent()));
}

void ClickableLabel::paintEvent(QPaintEvent*)
{
    // Drawn here rather than by QLabel, which lays the text of a label that takes the focus
    // out in a text document: a cost the window pays at start (bench row: main window shown).
    QPainter painter(this);
    const int flags = int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    style()->drawItemText(&painter, contentsRect(), flags, palette(), isEnabled(), shownText(),
                          foregroundRole());
    if (!hasFocus())
        return;
    // The links sit on a dark sidebar: the mark takes the text's own colour.
    painter.setPen(QPen(palette().color(foregroundRole()), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
