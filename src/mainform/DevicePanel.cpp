#include "mainform/DevicePanel.h"

#include "mainform/ControlPlacing.h"
#include "skin/ImageButton.h"
#include "skin/SkinComboBox.h"
#include "skin/SkinEdit.h"
#include "skin/SpinEdit.h"
#include "skin/TrackBar.h"

namespace {

constexpr int CaptionGap = 5; // between a caption and its control
constexpr int CaptionDrop = 3; // captions sit lower than their fields to share a text line

skin::ImageButton *Device(QWidget *window, const char *picture, const char *name, int x, int y)
{
    return Place(new skin::ImageButton(QString::fromLatin1(picture), window), name, x, y, 112, 50);
}

skin::SkinComboBox *List(QWidget *window, const char *name, int x, int y, int w)
{
    return Place(new skin::SkinComboBox(window), name, x, y, w, 20);
}

QLabel *Caption(QWidget *window, const char *name, const char *text, int controlX, int controlY)
{
    return MakeLabelBefore(window, name, QString::fromLatin1(text), controlX - CaptionGap, controlY + CaptionDrop);
}

} // namespace

DevicePanel::DevicePanel(QWidget *window)
    : suiImageButton_iPhone(Device(window, "device_iphone", "suiImageButton_iPhone", 168, 365))
    , suiImageButton_iPodMovie(Device(window, "device_ipod", "suiImageButton_iPodMovie", 310, 366))
    , suiImageButton_TV(Device(window, "device_tv", "suiImageButton_TV", 429, 366))
    , suiImageButton_iPodMusic(Device(window, "device_music", "suiImageButton_iPodMusic", 548, 365))
    , Label1(Caption(window, "Label1", "Profile :", 127, 422))
    , suiComboBox_Profile(List(window, "suiComboBox_Profile", 127, 422, 588))
    , Label9(Caption(window, "Label9", "Artist Name :", 171, 451))
    , suiEdit_ArtistName(Place(new skin::SkinEdit(window), "suiEdit_ArtistName", 171, 451, 115, 19))
    , Label6(Caption(window, "Label6", "Audio Quality :", 396, 451))
    , suiComboBox_AudioBitRate(List(window, "suiComboBox_AudioBitRate", 396, 451, 90))
    , Label2(MakeLabel(window, "Label2", QStringLiteral("Kbps"), 490, 451 + CaptionDrop))
    , Label10(Caption(window, "Label10", "Volume :", 607, 452))
    , suiTrackBar_Volume(Place(new skin::TrackBar(window), "suiTrackBar_Volume", 607, 452, 90, 20))
    , Label_DB(MakeLabel(window, "Label_DB", QStringLiteral("+ 0 db."), 700, 451 + CaptionDrop))
    , suiComboBox_Volume(List(window, "suiComboBox_Volume", 607, 452, 90))
    , Label3(Caption(window, "Label3", "Video Resolution :", 171, 478))
    , suiComboBox_Resolution(List(window, "suiComboBox_Resolution", 171, 478, 105))
    , Label4(Caption(window, "Label4", "Video Frame Rate :", 396, 478))
    , suiComboBox_VideoFrameRate(List(window, "suiComboBox_VideoFrameRate", 396, 478, 90))
    , Label5(Caption(window, "Label5", "Video Quality :", 619, 478))
    , suiSpinEdit_VideoBitRate(Place(new skin::SpinEdit(window), "suiSpinEdit_VideoBitRate", 619, 478, 70, 19))
    , Label12(MakeLabel(window, "Label12", QStringLiteral("Kbps"), 693, 478 + CaptionDrop))
    , suiImageButton_StartConvert(Place(new skin::ImageButton(QStringLiteral("start"), window),
                                        "suiImageButton_StartConvert", 762, 399, 101, 100))
{
    suiEdit_ArtistName->setText(QStringLiteral("Unknown"));
    // Holds the volume list behind the track bar; never shown.
    for (int i = 0; i <= 9; ++i)
        suiComboBox_Volume->addItem(QString::number(i));
    suiComboBox_Volume->hide();
    // Room for two-digit boosts.
    Label_DB->resize(Label_DB->fontMetrics().horizontalAdvance(QStringLiteral("+ 10 db.")) + 2, Label_DB->height());
}
