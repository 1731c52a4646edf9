#include "aids/click_picture.h"

#include <QMouseEvent>

void ClickPicture::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void ClickPicture::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_pressed && event->button() == Qt::LeftButton && rect().contains(pos))
        emit clickedAt(pos);
    m_pressed = false;
}
