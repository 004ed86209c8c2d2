#include "mainform/ControlPlacing.h"

#include "skin/SkinPalette.h"

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setFont(skin::ControlFont());
    label->adjustSize();
    return Place(label, name, x, y);
}

QLabel *MakeLabelBefore(QWidget *parent, const char *name, const QString &text, int right, int y)
{
    QLabel *label = MakeLabel(parent, name, text, 0, y);
    label->move(right - label->width(), y);
    return label;
}
