#pragma once

#include <QColor>
#include <QLineEdit>

namespace skin {

// A one-line edit with a flat skin frame. Its colour is the background of the field; the
// time boxes use it to show the state of what was typed.
class SkinEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit SkinEdit(QWidget *parent = nullptr);

    void setColor(const QColor &colour);
    QColor color() const { return m_colour; }

private:
    void applyLook();

    QColor m_colour{255, 255, 255};
};

// A time box: the mask "!90:00:00;1;_" of the skin's masked edit, in the line edit's own mask
// language (Qt's '0' is an optional digit and '9' a required one, the other way round): the
// first hour digit may be left out, the colons are part of the text and '_' marks a free
// place. At most eight characters; it starts as "  :  :  ".
class TimeEdit : public SkinEdit {
    Q_OBJECT

public:
    explicit TimeEdit(QWidget *parent = nullptr);

    // The text by position, free places as blanks: "  :  :  " when empty, "1 :2 :  " when
    // partly typed. (text() drops the free places and so shifts the digits.)
    QString timeText() const;
};

} // namespace skin
