#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

// Named controls at their places, the way every panel of the main window builds them.

// Names the control and puts it at x, y with the given size, or with its own size when none
// is given.
template <typename W>
W *Place(W *control, const char *name, int x, int y, int w = -1, int h = -1)
{
    control->setObjectName(QString::fromLatin1(name));
    if (w >= 0 && h >= 0)
        control->setGeometry(x, y, w, h);
    else
        control->move(x, y);
    return control;
}

// A transparent caption in the window's font, sized to its text.
QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, int x, int y);

// A caption ending at right, for the captions placed before their control.
QLabel *MakeLabelBefore(QWidget *parent, const char *name, const QString &text, int right, int y);
