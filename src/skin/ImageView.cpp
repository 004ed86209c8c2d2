#include "skin/ImageView.h"

#include <QMouseEvent>
#include <QPainter>

namespace skin {

ImageView::ImageView(QWidget *parent)
    : QWidget(parent)
{
}

ImageView::ImageView(const QPixmap &picture, QWidget *parent)
    : QWidget(parent)
{
    setAutoSize(true);
    setPicture(picture);
}

void ImageView::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.size());
    update();
}

void ImageView::setFit(Fit fit)
{
    m_fit = fit;
    update();
}

void ImageView::setAutoSize(bool on)
{
    m_autoSize = on;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.size());
}

void ImageView::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    switch (m_fit) {
    case Fit::TopLeft:
        painter.drawPixmap(0, 0, m_picture);
        break;
    case Fit::Center:
        painter.drawPixmap((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2, m_picture);
        break;
    case Fit::Stretch:
        painter.drawPixmap(rect(), m_picture);
        break;
    }
}

void ImageView::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(this, event->button(), event->globalPosition().toPoint());
}

void ImageView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(this, event->buttons(), event->globalPosition().toPoint());
}

void ImageView::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(this, event->button(), event->globalPosition().toPoint());
}

} // namespace skin
