#include "skin/UrlLabel.h"

#include "skin/SkinPalette.h"

#include <QMouseEvent>

namespace skin {

UrlLabel::UrlLabel(QWidget *parent)
    : QLabel(parent)
{
    QFont f = ControlFont();
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setHot(false);
}

QColor UrlLabel::textColour() const
{
    return palette().color(QPalette::WindowText);
}

void UrlLabel::setHot(bool hot)
{
    m_hot = hot;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, hot ? QColor(Qt::red) : QColor(Qt::blue));
    setPalette(p);
}

void UrlLabel::enterEvent(QEnterEvent *event)
{
    setHot(true);
    QLabel::enterEvent(event);
}

void UrlLabel::leaveEvent(QEvent *event)
{
    setHot(false);
    QLabel::leaveEvent(event);
}

void UrlLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(m_url);
    QLabel::mouseReleaseEvent(event);
}

} // namespace skin
