#pragma once

#include "skin/Pictures.h"

#include <QAbstractSlider>

namespace skin {

// A horizontal track bar: a groove and the skin's thumb. It keeps its position within its
// range. Pressing on the groove moves the thumb there; dragging moves it along.
class TrackBar : public QAbstractSlider {
    Q_OBJECT

public:
    explicit TrackBar(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect thumbRect() const;
    int valueAt(int x) const;

    ButtonPictures m_thumb;
    QSize m_thumbSize;
    bool m_dragging = false;
};

} // namespace skin
