#include "skin/CheckBox.h"

#include "skin/Pictures.h"
#include "skin/SkinPalette.h"

#include <QPainter>

namespace skin {

namespace {
constexpr int MarkSide = 14;
constexpr int CaptionGap = 4;
} // namespace

CheckBox::CheckBox(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent)
{
    const QPixmap marks = picture(QStringLiteral("check_marks"));
    if (!marks.isNull()) {
        m_unchecked = marks.copy(0, 0, MarkSide, MarkSide);
        m_checked = marks.copy(MarkSide, 0, MarkSide, MarkSide);
    }
    setFont(ControlFont());
    resize(sizeHint());
}

QSize CheckBox::sizeHint() const
{
    return {MarkSide + CaptionGap + fontMetrics().horizontalAdvance(text()) + 2, qMax(MarkSide, fontMetrics().height())};
}

bool CheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void CheckBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect mark(0, (height() - MarkSide) / 2, MarkSide, MarkSide);
    const QPixmap &picture = isChecked() ? m_checked : m_unchecked;
    if (!picture.isNull()) {
        if (!isEnabled())
            painter.setOpacity(0.5);
        painter.drawPixmap(mark, picture);
        painter.setOpacity(1.0);
    } else {
        painter.setPen(QColor(EdgeColour));
        painter.setBrush(QColor(CardColour));
        painter.drawRect(mark.adjusted(0, 0, -1, -1));
        if (isChecked())
            painter.fillRect(mark.adjusted(3, 3, -3, -3), QColor(AccentColour));
    }
    painter.setPen(QColor(isEnabled() ? TextColour : DisabledColour));
    painter.setFont(font());
    painter.drawText(rect().adjusted(MarkSide + CaptionGap, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
}

} // namespace skin
