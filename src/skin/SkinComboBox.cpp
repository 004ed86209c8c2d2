#include "skin/SkinComboBox.h"

#include "skin/SkinPalette.h"

#include <QEvent>
#include <QPainter>

namespace skin {

SkinComboBox::SkinComboBox(QWidget *parent)
    : QComboBox(parent)
    , m_button(buttonPictures(QStringLiteral("combo_button")))
{
    setEditable(false);
    setFont(ControlFont());
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    resize(width(), 20);
}

bool SkinComboBox::event(QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
        update();
    return QComboBox::event(event);
}

void SkinComboBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool enabled = isEnabled();
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QColor(hasFocus() || underMouse() ? AccentColour : EdgeColour));
    painter.setBrush(QColor(enabled ? CardColour : DisabledFillColour));
    painter.drawRect(frame);

    const QPixmap &arrow = !enabled ? m_button.disabled : underMouse() ? m_button.hover : m_button.normal;
    const int side = qMin(height() - 2, 18);
    const QRect arrowRect(width() - side - 1, (height() - side) / 2, side, side);
    if (!arrow.isNull()) {
        painter.drawPixmap(arrowRect, arrow);
    } else {
        const QPointF c = QRectF(arrowRect).center();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(enabled ? TextColour : DisabledColour));
        const QPointF tri[] = {c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 3)};
        painter.drawPolygon(tri, 3);
    }

    painter.setPen(QColor(enabled ? TextColour : DisabledColour));
    painter.setFont(font());
    const QRect textRect = rect().adjusted(4, 0, -side - 4, 0);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(currentText(), Qt::ElideRight, textRect.width()));
}

} // namespace skin
