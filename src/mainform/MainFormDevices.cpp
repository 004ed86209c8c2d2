// The device and profile panel's part of the main window: switching the device and
// following the user's profile picks and volume moves.
#include "mainform/TMainForm.h"

#include "common/DeviceType.h"
#include "mainform/DevicePanel.h"
#include "mainform/DevicePanelRules.h"
#include "mainform/PreviewPanel.h"
#include "options/Options.h"
#include "skin/SkinComboBox.h"
#include "skin/SkinEdit.h"

void TMainForm::SwitchDevice(int deviceType)
{
    DeviceType = deviceType;
    Devices->EnableDeviceButtons(deviceType);
    Devices->ShowVideoControls(ShowsVideoControls(deviceType));
    Devices->s_DeviceName = DeviceName(deviceType);
    Devices->FillParameterControls(0);
    Preview->suiEdit_OutputFolder->setText(OutputFolderText(g_s_OutputFolder, deviceType));
    // Output names carry the device's extension.
    RenumberOutputNames();
    // Discards the user's manual changes: the device's default profile comes back.
    Devices->LoadDeviceProfiles(deviceType);
}

void TMainForm::suiComboBox_ProfileChange()
{
    Devices->ApplyProfile(Devices->suiComboBox_Profile->currentIndex());
}

void TMainForm::suiTrackBar_VolumeChange()
{
    Devices->ShowVolume();
}
