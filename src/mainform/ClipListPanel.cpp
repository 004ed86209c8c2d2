#include "mainform/ClipListPanel.h"

#include "mainform/ClipTexts.h"
#include "mainform/ControlPlacing.h"
#include "mainform/TVideoInfo.h"
#include "skin/ImagePanel.h"
#include "skin/ImageView.h"
#include "skin/Pictures.h"

#include <algorithm>

namespace {

skin::ImagePanel *TransparentPanel(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *panel = Place(new skin::ImagePanel(parent), name, x, y, w, h);
    panel->setTransparent(true);
    return panel;
}

skin::ImageView *Picture(QWidget *parent, const char *picture, const char *name, int x, int y)
{
    return Place(new skin::ImageView(skin::picture(QString::fromLatin1(picture)), parent), name, x, y);
}

constexpr int InfoMoveWidth = 527;
constexpr int BarWidth = 19;
constexpr int WheelNotch = 120;

// The highest thumb top that shows `row` as the first row: the distance of one row on
// the thumb's track, rounded up so that the offset lands on the row exactly.
int ThumbTopForRow(int count, int row)
{
    const int rows = count - VisibleClipRows;
    const int steps = ThumbTopMax - ThumbTopMin;
    return ClampThumbTop(ThumbTopMin + (row * steps + rows - 1) / rows);
}

} // namespace

ClipListPanel::ClipListPanel(QWidget *window, const QList<TVideoInfo *> *clips)
    : Panel_Info(TransparentPanel(window, "Panel_Info", 318, 137, 546, 146))
    , suiImagePanel_InfoMove(TransparentPanel(Panel_Info, "suiImagePanel_InfoMove", 0, 0, InfoMoveWidth, 0))
    , Panel_Bar(TransparentPanel(Panel_Info, "Panel_Bar", 546 - BarWidth, 0, BarWidth, 146))
    , Image_BarBack(Picture(Panel_Bar, "scroll_track", "Image_BarBack", 0, 0))
    , Image_Bar(Picture(Panel_Bar, "scroll_thumb", "Image_Bar", ThumbTopMin, ThumbTopMin))
    , Panel_AddProgress(TransparentPanel(window, "Panel_AddProgress", 404, 163, 348, 71))
    , Image1(Picture(Panel_AddProgress, "add_progress_panel", "Image1", 0, 0))
    , Label22(MakeLabel(Panel_AddProgress, "Label22", QStringLiteral("Adding clips, please wait..."), 20, 16))
    , Panel_Progress1(TransparentPanel(Panel_AddProgress, "Panel_Progress1", 20, 39, 271, 6))
    , Image_Progress(Place(new skin::ImageView(Panel_Progress1), "Image_Progress", 0, 0, 271, 6))
    , Label_Percent(MakeLabel(Panel_AddProgress, "Label_Percent", QStringLiteral("0"), 294, 34))
    , Label18(MakeLabel(Panel_AddProgress, "Label18", QStringLiteral("%"), 323, 34))
    , Panel_Intro(TransparentPanel(window, "Panel_Intro", 22, 100, 847, 260))
    , Image(Picture(Panel_Intro, "intro", "Image", 0, 0))
    , m_clips(clips)
{
    Image_Progress->setPicture(skin::picture(QStringLiteral("progress_fill")));
    Image_Progress->setFit(skin::ImageView::Fit::Stretch);
    Label_Percent->setGeometry(294, 34, 28, Label_Percent->height());
    Label_Percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Panel_AddProgress->hide();
    // Presses between and below the rows belong to the list's frame.
    suiImagePanel_InfoMove->setMouseThrough(true);
}

void ClipListPanel::Image_BarMouseDown(Qt::MouseButton button, QPoint globalPos)
{
    b_MouseHeld = button == Qt::LeftButton;
    if (!b_MouseHeld)
        return;
    pt_ThumbDown = globalPos;
    i_ThumbStartTop = Image_Bar->y();
}

void ClipListPanel::Image_BarMouseMove(QPoint globalPos)
{
    if (!b_MouseHeld)
        return;
    pt_ThumbNow = globalPos;
    Image_Bar->move(Image_Bar->x(), ClampThumbTop(i_ThumbStartTop + pt_ThumbNow.y() - pt_ThumbDown.y()));
    ScrollClipList();
}

void ClipListPanel::Image_BarMouseUp(Qt::MouseButton button)
{
    if (b_MouseHeld && button == Qt::LeftButton)
        b_MouseHeld = false;
}

void ClipListPanel::ScrollClipList()
{
    const int count = static_cast<int>(m_clips->size());
    if (count <= VisibleClipRows) {
        suiImagePanel_InfoMove->move(suiImagePanel_InfoMove->x(), 0);
        return;
    }
    const int first = ClipScrollOffset(count, Image_Bar->y());
    const int target = -ClipRowPitch * first;
    if (suiImagePanel_InfoMove->y() == target)
        return;
    suiImagePanel_InfoMove->move(suiImagePanel_InfoMove->x(), target);
    // The rows now in view are drawn at once; selected ones keep their colour.
    for (int i = first; i <= first + VisibleClipRows && i < count; ++i)
        m_clips->at(i)->repaint();
}

void ClipListPanel::WheelClipList(int angleDelta)
{
    i_WheelRest += angleDelta;
    const int notches = i_WheelRest / WheelNotch;
    i_WheelRest -= notches * WheelNotch;
    const int count = static_cast<int>(m_clips->size());
    if (notches == 0 || count <= VisibleClipRows)
        return;
    // Turning away from the user scrolls towards the first row, as in every list.
    const int first = ClipScrollOffset(count, Image_Bar->y());
    const int row = std::clamp(first - notches, 0, count - VisibleClipRows);
    int top = ThumbTopForRow(count, row);
    // With more rows than thumb steps one step passes several rows: move at least one.
    if (top == Image_Bar->y() && row < first)
        top = ClampThumbTop(top - 1);
    Image_Bar->move(Image_Bar->x(), top);
    ScrollClipList();
}
