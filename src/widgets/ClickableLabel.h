#pragma once

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>

// A label that reacts to a left click, as the panel names and the sidebar links do. Given
// the focus, Enter and Space act as a click.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

    // What a screen reader calls it: a link unless told otherwise.
    QAccessible::Role accessibleRole() const { return m_role; }
    void setAccessibleRole(QAccessible::Role role) { m_role = role; }
    // Too long a text is drawn shortened this way; text() stays whole.
    void setElideMode(Qt::TextElideMode mode) { m_elide = mode; }
    QString shownText() const;

public slots:
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        m_pressed = event->button() == Qt::LeftButton;
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressed = false;
    QAccessible::Role m_role = QAccessible::Link;
    Qt::TextElideMode m_elide = Qt::ElideNone;
};
