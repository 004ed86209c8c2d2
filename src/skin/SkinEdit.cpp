#include "skin/SkinEdit.h"

#include "skin/SkinPalette.h"

namespace skin {

SkinEdit::SkinEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setFont(ControlFont());
    applyLook();
}

void SkinEdit::setColor(const QColor &colour)
{
    m_colour = colour;
    applyLook();
}

void SkinEdit::applyLook()
{
    setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; color: %2; border: 1px solid %3; padding: 0 1px; }"
                                 "QLineEdit:disabled { color: %4; }")
                      .arg(m_colour.name(), QColor(TextColour).name(), QColor(EdgeColour).name(),
                           QColor(DisabledColour).name()));
}

TimeEdit::TimeEdit(QWidget *parent)
    : SkinEdit(parent)
{
    setInputMask(QStringLiteral("09:99:99;_"));
    setMaxLength(8);
    setText(QStringLiteral("  :  :  "));
}

QString TimeEdit::timeText() const
{
    QString text = displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

} // namespace skin
