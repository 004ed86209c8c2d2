#pragma once

#include <QPixmap>
#include <QWidget>

namespace skin {

// A picture on a window: drawn at its place, stretched to the control or centred in it.
// Transparent parts of the picture show what lies behind. The mouse signals carry screen
// positions, which is what the window and thumb drags work with.
class ImageView : public QWidget {
    Q_OBJECT

public:
    enum class Fit { TopLeft, Center, Stretch };

    explicit ImageView(QWidget *parent = nullptr);
    ImageView(const QPixmap &picture, QWidget *parent);

    // Takes the picture; with autoSize the control takes the picture's size.
    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    void setFit(Fit fit);
    Fit fit() const { return m_fit; }
    void setAutoSize(bool on);

signals:
    void mouseDown(QObject *sender, Qt::MouseButton button, QPoint globalPos);
    void mouseMove(QObject *sender, Qt::MouseButtons buttons, QPoint globalPos);
    void mouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_picture;
    Fit m_fit = Fit::TopLeft;
    bool m_autoSize = false;
};

} // namespace skin
