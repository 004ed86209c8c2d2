#pragma once

#include <QList>
#include <QPoint>

class QLabel;
class QWidget;
class TVideoInfo;
namespace skin {
class ImagePanel;
class ImageView;
} // namespace skin

// The clip list's frame with the moving panel that holds the rows and the scroll strip, the
// add-progress panel over it, and the introduction panel that covers the list while it is
// empty. The thumb alone decides which rows are shown; the list moves in whole rows.
class ClipListPanel {
public:
    // clips is the main window's list, read for scrolling.
    ClipListPanel(QWidget *window, const QList<TVideoInfo *> *clips);

    void Image_BarMouseDown(Qt::MouseButton button, QPoint globalPos);
    void Image_BarMouseMove(QPoint globalPos);
    void Image_BarMouseUp(Qt::MouseButton button);
    // Moves the rows to the thumb's position.
    void ScrollClipList();
    // A turn of the mouse wheel (angle in eighths of a degree, positive away from the user):
    // the thumb moves by one row per notch, clamped like a drag, and the rows follow.
    void WheelClipList(int angleDelta);

    skin::ImagePanel *Panel_Info;
    skin::ImagePanel *suiImagePanel_InfoMove;
    skin::ImagePanel *Panel_Bar;
    skin::ImageView *Image_BarBack;
    skin::ImageView *Image_Bar;

    skin::ImagePanel *Panel_AddProgress;
    skin::ImageView *Image1;
    QLabel *Label22;
    skin::ImagePanel *Panel_Progress1;
    skin::ImageView *Image_Progress;
    QLabel *Label_Percent;
    QLabel *Label18;

    skin::ImagePanel *Panel_Intro;
    skin::ImageView *Image;

    // Also set by a press on a row and cleared by a release on one.
    bool b_MouseHeld = false;
    QPoint pt_ThumbDown;
    QPoint pt_ThumbNow;
    int i_ThumbStartTop = 0;
    // Wheel turn not yet worth a notch (touch pads send small steps).
    int i_WheelRest = 0;

private:
    const QList<TVideoInfo *> *m_clips;
};
