#include "dashboard/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(const QColor& background, const QPixmap& picture, QWidget* parent)
    : QWidget(parent), m_background(background), m_picture(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    event->accept();
}
