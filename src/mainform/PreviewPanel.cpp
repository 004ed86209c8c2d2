#include "mainform/PreviewPanel.h"

#include "mainform/ControlPlacing.h"
#include "mainform/ScreenCursors.h"
#include "skin/ImageButton.h"
#include "skin/ImagePanel.h"
#include "skin/ImageView.h"
#include "skin/Pictures.h"
#include "skin/SkinEdit.h"
#include "skin/SkinPalette.h"

namespace {

const QColor FolderFieldColour(202, 202, 202);

} // namespace

PreviewPanel::PreviewPanel(QWidget *window)
    : Panel_Preview(Place(new skin::ImagePanel(window), "Panel_Preview", 50, 131, 240, 180))
    , Image_Preview(Place(new skin::ImageView(Panel_Preview), "Image_Preview", 0, 0, 240, 180))
    , Label_Info(new QLabel(QStringLiteral("Seeking please wait..."), Panel_Preview))
    , Panel_Progress(Place(new skin::ImagePanel(window), "Panel_Progress", 67, 332, 154, 16))
    , Image_ProgressBack(Place(new skin::ImageView(skin::picture(QStringLiteral("range_track")), Panel_Progress),
                               "Image_ProgressBack", 0, 0, 154, 16))
    , Image_Left(Place(new skin::ImageButton(QStringLiteral("range_left"), Panel_Progress), "Image_Left", 0, 1, 10, 14))
    , Image_Right(Place(new skin::ImageButton(QStringLiteral("range_right"), Panel_Progress), "Image_Right", 144, 1,
                        10, 14))
    , Image_Stretch(Place(new skin::ImageView(Panel_Progress), "Image_Stretch", RangeHandleWidth, 4, 0, 8))
    , suiImageButton_Snapshoot(Place(new skin::ImageButton(QStringLiteral("snapshot"), window),
                                     "suiImageButton_Snapshoot", 244, 321, 47, 26))
    , Label_Start(MakeLabel(window, "Label_Start", QStringLiteral("Start Time :"), 325, 310))
    , suiEdit_Start(Place(new skin::TimeEdit(window), "suiEdit_Start", 385, 306, 55, 19))
    , Label_Stop(MakeLabel(window, "Label_Stop", QStringLiteral("End Time :"), 445, 310))
    , suiEdit_Stop(Place(new skin::TimeEdit(window), "suiEdit_Stop", 501, 306, 56, 19))
    , Label_OutputFolder(MakeLabel(window, "Label_OutputFolder", QStringLiteral("Output Folder :"), 562, 310))
    , suiEdit_OutputFolder(Place(new skin::SkinEdit(window), "suiEdit_OutputFolder", 642, 306, 139, 19))
    , suiImageButton_Browse(Place(new skin::ImageButton(QStringLiteral("browse"), window), "suiImageButton_Browse",
                                  794, 302, 62, 25))
{
    Panel_Preview->setColor(Qt::black);
    Image_Preview->setFit(skin::ImageView::Fit::Center);

    Label_Info->setObjectName(QStringLiteral("Label_Info"));
    QFont bold = skin::ControlFont();
    bold.setBold(true);
    Label_Info->setFont(bold);
    QPalette lime = Label_Info->palette();
    lime.setColor(QPalette::WindowText, QColor(0, 255, 0));
    Label_Info->setPalette(lime);
    Label_Info->adjustSize();
    Label_Info->move(56, 80);
    Label_Info->hide();

    Panel_Progress->setTransparent(true);
    Image_Stretch->setPicture(skin::picture(QStringLiteral("range_fill")));
    Image_Stretch->setFit(skin::ImageView::Fit::Stretch);

    suiEdit_OutputFolder->setReadOnly(true);
    suiEdit_OutputFolder->setColor(FolderFieldColour);
    suiEdit_Start->setColor(suiEdit_OutputFolder->color());
    suiEdit_Stop->setColor(suiEdit_OutputFolder->color());
}

void PreviewPanel::SetupRangeBar()
{
    Image_Stretch->raise();
    Image_ProgressBack->lower();
    Image_Left->setCursor(ScreenCursor(crDragWE));
    Image_Right->setCursor(ScreenCursor(crDragWE));
    Image_Left->move(0, Image_Left->y());
    Image_Right->move(RangeEndRest, Image_Right->y());
    Image_Stretch->resize(0, Image_Stretch->height());
}

void PreviewPanel::SetRangeBar(float startFraction, float endFraction)
{
    if (startFraction >= 0 || endFraction >= 0) {
        Image_Left->move(RangeLeftFor(startFraction), Image_Left->y());
        Image_Left->setEnabled(true);
        Image_Right->move(RangeRightFor(endFraction), Image_Right->y());
        Image_Right->setEnabled(true);
        RelayoutStretch();
        return;
    }
    Image_Left->move(0, Image_Left->y());
    Image_Left->setEnabled(false);
    Image_Right->move(Image_Right->width() + RangeTrackLength, Image_Right->y());
    Image_Right->setEnabled(false);
    Image_Stretch->resize(0, Image_Stretch->height());
}

void PreviewPanel::RelayoutStretch()
{
    const int left = Image_Left->x() + RangeHandleWidth;
    Image_Stretch->setGeometry(left, Image_Stretch->y(), Image_Right->x() - left, Image_Stretch->height());
}

void PreviewPanel::SetPreviewIdle(bool idle)
{
    suiImageButton_Snapshoot->setEnabled(idle);
    Panel_Progress->setEnabled(idle);
    Label_Info->setVisible(!idle);
}

void PreviewPanel::SetBoxColour(skin::TimeEdit *box, BoxColour colour)
{
    switch (colour) {
    case BoxColour::Normal:
        box->setColor(suiEdit_OutputFolder->color());
        break;
    case BoxColour::Red:
        box->setColor(QColor(255, 0, 0));
        break;
    case BoxColour::Lime:
        box->setColor(QColor(0, 255, 0));
        break;
    }
}
