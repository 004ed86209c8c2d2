#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace skin {

// A panel: a plain area in its colour, or transparent so that what lies behind shows,
// optionally with a picture stretched over it. Presses and releases are reported with the
// control that took them, so child texts can hand theirs on as their own.
class ImagePanel : public QWidget {
    Q_OBJECT

public:
    explicit ImagePanel(QWidget *parent = nullptr);

    void setColor(const QColor &colour);
    QColor color() const { return m_colour; }
    // A transparent panel draws neither its colour nor its picture's background.
    void setTransparent(bool on);
    bool isTransparent() const { return m_transparent; }
    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    // A panel whose presses belong to the panel beneath it passes them on.
    void setMouseThrough(bool on) { m_mouseThrough = on; }

    // For children that pass their presses and releases on to the panel.
    void forwardMouseDown(QObject *sender, Qt::MouseButton button, QPoint globalPos);
    void forwardMouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos);

signals:
    void mouseDown(QObject *sender, Qt::MouseButton button, QPoint globalPos);
    void mouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_colour{192, 192, 192};
    QPixmap m_picture;
    bool m_transparent = false;
    bool m_mouseThrough = false;
};

} // namespace skin
