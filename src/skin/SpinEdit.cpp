#include "skin/SpinEdit.h"

#include "skin/ImageButton.h"
#include "skin/SkinEdit.h"

#include <QEvent>
#include <QRegularExpressionValidator>

namespace skin {

int BoundedSpinValue(int v, int low, int high)
{
    if (low == high)
        return v;
    if (v < low)
        return low;
    if (v > high)
        return high;
    return v;
}

SpinEdit::SpinEdit(QWidget *parent)
    : QWidget(parent)
    , m_edit(new SkinEdit(this))
    , m_up(new ImageButton(QStringLiteral("spin_up"), this))
    , m_down(new ImageButton(QStringLiteral("spin_down"), this))
{
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral(" *-?[0-9]* *")), m_edit));
    m_edit->setText(QStringLiteral("0"));
    m_up->setAutoRepeat(true);
    m_down->setAutoRepeat(true);
    connect(m_up, &ImageButton::clicked, this, [this] { step(m_increment); });
    connect(m_down, &ImageButton::clicked, this, [this] { step(-m_increment); });
    connect(m_edit, &SkinEdit::editingFinished, this, [this] { setValue(value()); });
    connect(m_edit, &SkinEdit::textChanged, this, [this] { emit valueChanged(value()); });
    resize(70, 19);
}

void SpinEdit::setMinValue(int v)
{
    m_min = v;
}

void SpinEdit::setMaxValue(int v)
{
    m_max = v;
}

int SpinEdit::value() const
{
    bool ok = false;
    const int v = m_edit->text().trimmed().toInt(&ok);
    return ok ? BoundedSpinValue(v, m_min, m_max) : m_min;
}

void SpinEdit::setValue(int v)
{
    const QString text = QString::number(BoundedSpinValue(v, m_min, m_max));
    if (m_edit->text() != text)
        m_edit->setText(text);
}

QString SpinEdit::text() const
{
    return m_edit->text();
}

void SpinEdit::setText(const QString &text)
{
    m_edit->setText(text);
}

void SpinEdit::step(int delta)
{
    setValue(value() + delta);
}

void SpinEdit::resizeEvent(QResizeEvent *)
{
    layoutParts();
}

void SpinEdit::changeEvent(QEvent *event)
{
    // The arrows follow the field's enabled state.
    if (event->type() == QEvent::EnabledChange) {
        m_up->update();
        m_down->update();
    }
    QWidget::changeEvent(event);
}

void SpinEdit::layoutParts()
{
    const int arrowWidth = m_up->sizeHint().width();
    const int half = height() / 2;
    m_edit->setGeometry(0, 0, width() - arrowWidth - 1, height());
    m_up->setGeometry(width() - arrowWidth, 0, arrowWidth, half);
    m_down->setGeometry(width() - arrowWidth, height() - half, arrowWidth, half);
}

} // namespace skin
