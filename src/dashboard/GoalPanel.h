#pragma once

#include <QPixmap>
#include <QWidget>

class ClickableLabel;
class QFrame;
class QLabel;
struct TaskCounts;

// One sub-goal panel of the dashboard (the panel body with its labels and markers).
class GoalPanel : public QWidget
{
    Q_OBJECT

public:
    GoalPanel(int index, const QPixmap& background, QWidget* parent);

    int index() const { return m_index; }

    QString key() const { return m_key; }
    void setKey(const QString& key) { m_key = key; }
    QString name() const;
    void setName(const QString& name);
    bool isFilled() const { return !m_key.isEmpty(); }

    QString dueTag() const { return m_dueTag; }
    QString dueCaption() const;
    // Shows the date; an empty text hides the band and the label.
    void setDueDate(const QString& text);
    void setDueVisible(bool visible);
    void setDueTag(const QString& text) { m_dueTag = text; }
    void setDueCaption(const QString& caption);

    void setCounts(const TaskCounts& counts);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }
    void setSelected(bool selected);
    void setDeleteLinkVisible(bool visible);

    // Back to an empty panel; the picture stays as it was last set.
    void clear();

signals:
    void nameClicked(int index);
    void deleteClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int m_index;
    QString m_key;
    QString m_dueTag;
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
