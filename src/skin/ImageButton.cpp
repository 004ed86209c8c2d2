#include "skin/ImageButton.h"

#include "skin/SkinPalette.h"

#include <QMouseEvent>
#include <QPainter>

namespace skin {

ImageButton::ImageButton(const QString &pictureName, QWidget *parent)
    : QAbstractButton(parent)
    , m_pictures(buttonPictures(pictureName))
    , m_size(pictureSize(buttonPictureName(pictureName, ButtonState::Normal)))
{
    setFont(ControlFont());
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    if (m_size.isValid())
        resize(m_size);
}

ButtonState ImageButton::state() const
{
    if (!isEnabled())
        return ButtonState::Disabled;
    if (isDown())
        return ButtonState::Pressed;
    if (underMouse())
        return ButtonState::Hover;
    return ButtonState::Normal;
}

QSize ImageButton::sizeHint() const
{
    return m_size.isValid() ? m_size : QSize(80, 27);
}

bool ImageButton::event(QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
        update();
    return QAbstractButton::event(event);
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ButtonState s = state();
    const QPixmap *pictures[] = {&m_pictures.normal, &m_pictures.hover, &m_pictures.pressed, &m_pictures.disabled};
    const QPixmap &pixmap = *pictures[static_cast<int>(s)];
    if (!pixmap.isNull()) {
        painter.drawPixmap(rect(), pixmap);
    } else {
        // No picture in the skin: a plain face in the skin's colours.
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor face = s == ButtonState::Disabled ? QColor(DisabledFillColour)
                            : s == ButtonState::Pressed ? QColor(AccentLightColour)
                                                        : QColor(CardColour);
        painter.setPen(QColor(s == ButtonState::Hover ? AccentColour : EdgeColour));
        painter.setBrush(face);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(QColor(s == ButtonState::Disabled ? DisabledColour : TextColour));
        painter.drawText(rect().translated(0, s == ButtonState::Pressed ? 1 : 0), Qt::AlignCenter, text());
    }
}

void ImageButton::mousePressEvent(QMouseEvent *event)
{
    QAbstractButton::mousePressEvent(event);
    emit mouseDown(this, event->button(), event->globalPosition().toPoint());
}

void ImageButton::mouseMoveEvent(QMouseEvent *event)
{
    QAbstractButton::mouseMoveEvent(event);
    emit mouseMove(this, event->buttons(), event->globalPosition().toPoint());
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    QAbstractButton::mouseReleaseEvent(event);
    emit mouseUp(this, event->button(), event->globalPosition().toPoint());
}

} // namespace skin
