#pragma once

#include "skin/Pictures.h"

#include <QAbstractButton>

namespace skin {

// A button drawn from its four pictures: normal, mouse over, pressed and disabled. A caption,
// when set, is written centred over the picture (the text buttons). The press, move and
// release signals serve controls that are dragged, such as the range bar's handles.
class ImageButton : public QAbstractButton {
    Q_OBJECT

public:
    // pictureName is the button's name in the skin ("add" for "add_normal" ...); the button
    // takes the pictures' size.
    explicit ImageButton(const QString &pictureName, QWidget *parent = nullptr);

    // The picture the button shows in its present state.
    ButtonState state() const;

    QSize sizeHint() const override;

signals:
    void mouseDown(QObject *sender, Qt::MouseButton button, QPoint globalPos);
    void mouseMove(QObject *sender, Qt::MouseButtons buttons, QPoint globalPos);
    void mouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ButtonPictures m_pictures;
    QSize m_size;
};

} // namespace skin
