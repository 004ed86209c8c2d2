#pragma once

class QLabel;
class QWidget;
namespace skin {
class ImageButton;
class SkinComboBox;
class SkinEdit;
class SpinEdit;
class TrackBar;
} // namespace skin

// The lower part of the window: the four device buttons, the profile list, the output
// parameters and the start button.
class DevicePanel {
public:
    explicit DevicePanel(QWidget *window);

    skin::ImageButton *suiImageButton_iPhone;
    skin::ImageButton *suiImageButton_iPodMovie;
    skin::ImageButton *suiImageButton_TV;
    skin::ImageButton *suiImageButton_iPodMusic;

    QLabel *Label1;
    skin::SkinComboBox *suiComboBox_Profile;
    QLabel *Label9;
    skin::SkinEdit *suiEdit_ArtistName;
    QLabel *Label6;
    skin::SkinComboBox *suiComboBox_AudioBitRate;
    QLabel *Label2;
    QLabel *Label10;
    skin::TrackBar *suiTrackBar_Volume;
    QLabel *Label_DB;
    skin::SkinComboBox *suiComboBox_Volume;

    // The video-only row, hidden for the music device.
    QLabel *Label3;
    skin::SkinComboBox *suiComboBox_Resolution;
    QLabel *Label4;
    skin::SkinComboBox *suiComboBox_VideoFrameRate;
    QLabel *Label5;
    skin::SpinEdit *suiSpinEdit_VideoBitRate;
    QLabel *Label12;

    skin::ImageButton *suiImageButton_StartConvert;
};
