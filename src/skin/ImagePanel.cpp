#include "skin/ImagePanel.h"

#include <QMouseEvent>
#include <QPainter>

namespace skin {

ImagePanel::ImagePanel(QWidget *parent)
    : QWidget(parent)
{
}

void ImagePanel::setColor(const QColor &colour)
{
    m_colour = colour;
    update();
}

void ImagePanel::setTransparent(bool on)
{
    m_transparent = on;
    update();
}

void ImagePanel::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void ImagePanel::forwardMouseDown(QObject *sender, Qt::MouseButton button, QPoint globalPos)
{
    emit mouseDown(sender, button, globalPos);
}

void ImagePanel::forwardMouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos)
{
    emit mouseUp(sender, button, globalPos);
}

void ImagePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), m_colour);
    if (!m_picture.isNull())
        painter.drawPixmap(rect(), m_picture);
}

void ImagePanel::mousePressEvent(QMouseEvent *event)
{
    if (m_mouseThrough) {
        event->ignore();
        return;
    }
    emit mouseDown(this, event->button(), event->globalPosition().toPoint());
}

void ImagePanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_mouseThrough) {
        event->ignore();
        return;
    }
    emit mouseUp(this, event->button(), event->globalPosition().toPoint());
}

} // namespace skin
