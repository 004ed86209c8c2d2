#pragma once

#include "process/JobArguments.h"

#include <QList>
#include <QString>

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
// parameters and the start button. The parameter controls are filled from PfDef.dll and the
// profile list from PfSetting.ini, both read afresh from the program folder at every call.
class DevicePanel {
public:
    explicit DevicePanel(QWidget *window);

    // The button of the device type (0 to 3), or none.
    skin::ImageButton *DeviceButton(int deviceType) const;
    // The current device's button is disabled, every other one enabled.
    void EnableDeviceButtons(int currentDeviceType);
    // Shows or hides the video-only row: Label3 to Label12.
    void ShowVideoControls(bool shown);
    QList<QWidget *> VideoOnlyControls() const;

    // Refills the four lists (resolution, frame rate, audio bit rate, volume) and the spin field
    // for format position `format` of the current device, each with its default position, and
    // sets the track bar from the volume list. A negative format disables the lists and the
    // track bar. A device without video formats fills its audio lists from "Music".
    void FillParameterControls(int format);
    // Lists the current device's profiles, selects the default one and applies it.
    void LoadDeviceProfiles(int deviceType);
    // Sets the parameter controls from the profile at list position `position`; a profile
    // without value changes nothing. The volume keeps the position the refill gave it.
    void ApplyProfile(int position);
    // Shows the track bar's position in Label_DB, painted at once.
    void ShowVolume();

    // What the conversion reads. Only reads widget state, so the worker may call it while
    // the main window waits behind the progress window.
    PanelValues CurrentValues(int deviceType) const;

    // Section name of the current device in both profile files.
    QString s_DeviceName;

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
