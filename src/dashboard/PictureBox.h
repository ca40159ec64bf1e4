#pragma once

#include <QPixmap>
#include <QWidget>

// A plain box with a background colour and a picture at its top-left corner; it reports
// mouse movement over itself (not over its children).
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(const QColor& background, const QPixmap& picture, QWidget* parent);

signals:
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QColor m_background;
    QPixmap m_picture;
};
