#pragma once

#include "widgets/ClickableLabel.h"
#include "widgets/Fonts.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>

#include <QPixmap>
#include <QWidget>

struct TaskCounts;

// One sub-goal panel of the dashboard (the panel body with its labels and markers). It
// draws what it is given and keeps no project state.
class GoalPanel : public QWidget
{
    Q_OBJECT

public:
    GoalPanel(int index, const QPixmap& background, QWidget* parent);

    int index() const { return m_index; }

    QString name() const { return m_name->text(); }
    ClickableLabel* nameLink() const { return m_name; }
    ClickableLabel* deleteLink() const { return m_delete; }
    QString dueCaption() const { return m_dueLabel->text(); }
    // Draws a sub-goal: name, counts, and the due band when it has a date.
    void showGoal(const QString& name, const QString& due, const TaskCounts& counts);
    void setDueColours(const QColor& background, const QColor& text)
    {
        Fonts::setBackground(m_dueBand, background);
        Fonts::setTextColour(m_dueLabel, text);
    }
    void setPicture(const QPixmap& picture)
    {
        m_picture = picture;
        update();
    }
    const QPixmap& picture() const { return m_picture; }
    void setSelected(bool selected)
    {
        m_active->setVisible(selected);
        if (selected)
            m_active->raise();
    }
    void setDeleteLinkVisible(bool visible) { m_delete->setVisible(visible); }

    // Back to an empty, hidden panel.
    void clear();

signals:
    void nameClicked(int index);
    void deleteClicked(int index);

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawPixmap(0, 0, m_picture);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        setDeleteLinkVisible(true);
        event->accept();
    }

private:
    void setCounts(const TaskCounts& counts);

    int m_index;
    QPixmap m_picture;
    ClickableLabel* m_name;
    QLabel* m_total;
    QLabel* m_completed;
    QLabel* m_pending;
    ClickableLabel* m_delete;
    QFrame* m_active;
    QFrame* m_dueBand;
    QLabel* m_dueLabel;
};
