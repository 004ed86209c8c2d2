#include "skin/TrackBar.h"

#include "skin/SkinPalette.h"

#include <QMouseEvent>
#include <QPainter>

namespace skin {

TrackBar::TrackBar(QWidget *parent)
    : QAbstractSlider(parent)
    , m_thumb(buttonPictures(QStringLiteral("slider_thumb")))
    , m_thumbSize(pictureSize(QStringLiteral("slider_thumb_normal")))
{
    if (!m_thumbSize.isValid())
        m_thumbSize = QSize(11, 18);
    setOrientation(Qt::Horizontal);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    setPageStep(1);
    resize(sizeHint());
}

QSize TrackBar::sizeHint() const
{
    return {100, m_thumbSize.height() + 2};
}

bool TrackBar::event(QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
        update();
    return QAbstractSlider::event(event);
}

QRect TrackBar::thumbRect() const
{
    const int span = width() - m_thumbSize.width();
    const int range = maximum() - minimum();
    const int x = range > 0 ? static_cast<int>(static_cast<long long>(value() - minimum()) * span / range) : 0;
    return {x, (height() - m_thumbSize.height()) / 2, m_thumbSize.width(), m_thumbSize.height()};
}

int TrackBar::valueAt(int x) const
{
    const int span = width() - m_thumbSize.width();
    if (span <= 0)
        return minimum();
    const int offset = qBound(0, x - m_thumbSize.width() / 2, span);
    const long long range = static_cast<long long>(maximum()) - minimum();
    return minimum() + static_cast<int>((offset * range + span / 2) / span);
}

void TrackBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect thumb = thumbRect();
    const qreal grooveTop = height() / 2.0 - 2;
    const QRectF groove(m_thumbSize.width() / 2.0, grooveTop, width() - m_thumbSize.width(), 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(GrooveColour));
    painter.drawRoundedRect(groove, 2, 2);
    painter.setBrush(QColor(isEnabled() ? AccentColour : DisabledColour));
    painter.drawRoundedRect(QRectF(groove.left(), grooveTop, thumb.center().x() - groove.left(), 4), 2, 2);

    const QPixmap &picture = !isEnabled()          ? m_thumb.disabled
                             : m_dragging          ? m_thumb.pressed
                             : underMouse()        ? m_thumb.hover
                                                   : m_thumb.normal;
    if (!picture.isNull()) {
        painter.drawPixmap(thumb, picture);
    } else {
        painter.setPen(QColor(EdgeColour));
        painter.setBrush(QColor(CardColour));
        painter.drawRoundedRect(QRectF(thumb).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    }
}

void TrackBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = true;
    setSliderDown(true);
    if (!thumbRect().contains(event->position().toPoint()))
        setValue(valueAt(event->position().toPoint().x()));
    update();
}

void TrackBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        setValue(valueAt(event->position().toPoint().x()));
}

void TrackBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    setSliderDown(false);
    update();
}

} // namespace skin
