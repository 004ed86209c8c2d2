#include "mainform/DevicePanel.h"

#include "common/DeviceType.h"
#include "mainform/ControlPlacing.h"
#include "mainform/DevicePanelRules.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"
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

platform::IniFile DefinitionFile()
{
    return platform::IniFile(platform::ProgramFolder() + profiles::DefinitionFileName);
}

platform::IniFile SettingsFile()
{
    return platform::IniFile(platform::ProgramFolder() + profiles::ProfileFileName);
}

void FillList(skin::SkinComboBox *list, const platform::IniFile &definition, const QString &section,
              const QString &key)
{
    const profiles::ListDefinition choices = profiles::FillListFromDefinition(definition, section, key);
    list->addItems(choices.items);
    list->setCurrentIndex(ListPosition(choices.defaultPosition, list->count()));
}

void SelectPosition(skin::SkinComboBox *list, int position)
{
    list->setCurrentIndex(ListPosition(position, list->count()));
}

QStringList Items(const skin::SkinComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
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

skin::ImageButton *DevicePanel::DeviceButton(int deviceType) const
{
    switch (deviceType) {
    case 0:
        return suiImageButton_iPodMovie;
    case 1:
        return suiImageButton_iPodMusic;
    case 2:
        return suiImageButton_iPhone;
    case 3:
        return suiImageButton_TV;
    default:
        return nullptr;
    }
}

void DevicePanel::EnableDeviceButtons(int currentDeviceType)
{
    for (int type = 0; type <= 3; ++type)
        DeviceButton(type)->setEnabled(type != currentDeviceType);
}

QList<QWidget *> DevicePanel::VideoOnlyControls() const
{
    return {Label3, suiComboBox_Resolution, Label4, suiComboBox_VideoFrameRate, Label5, Label12,
            suiSpinEdit_VideoBitRate};
}

void DevicePanel::ShowVideoControls(bool shown)
{
    for (QWidget *control : VideoOnlyControls())
        control->setVisible(shown);
}

void DevicePanel::FillParameterControls(int format)
{
    const platform::IniFile definition = DefinitionFile();
    const bool enabled = format >= 0;
    for (skin::SkinComboBox *list :
         {suiComboBox_Resolution, suiComboBox_VideoFrameRate, suiComboBox_AudioBitRate, suiComboBox_Volume}) {
        list->clear();
        list->setEnabled(enabled);
    }
    suiTrackBar_Volume->setEnabled(enabled);

    if (profiles::VideoFormatCount(definition, s_DeviceName) >= 1) {
        const QString section =
            profiles::FormatSectionName(definition, s_DeviceName, format, profiles::NoDefinition);
        FillList(suiComboBox_Resolution, definition, section, QStringLiteral("VideoResolution"));
        FillList(suiComboBox_VideoFrameRate, definition, section, QStringLiteral("VideoFrameRate"));
        FillList(suiComboBox_AudioBitRate, definition, section, QStringLiteral("AudioBitrate"));
        FillList(suiComboBox_Volume, definition, section, QStringLiteral("AudioVolume"));
        const profiles::SpinRange range =
            profiles::FillSpinFromDefinition(definition, section, QStringLiteral("VideoBitRate"));
        suiSpinEdit_VideoBitRate->setMaxValue(range.upper);
        suiSpinEdit_VideoBitRate->setMinValue(range.lower);
        suiSpinEdit_VideoBitRate->setValue(range.value);
        suiSpinEdit_VideoBitRate->setIncrement(range.step);
    } else {
        const QString music = DeviceName(DeviceIPodMusic);
        FillList(suiComboBox_AudioBitRate, definition, music, QStringLiteral("AudioBitrate"));
        FillList(suiComboBox_Volume, definition, music, QStringLiteral("AudioVolume"));
    }

    // Minimum first: the bar keeps its position inside whatever range it has at each step.
    const VolumeRange range = VolumeRangeOf(Items(suiComboBox_Volume));
    suiTrackBar_Volume->setMinimum(range.minimum);
    suiTrackBar_Volume->setMaximum(range.maximum);
    suiTrackBar_Volume->setValue(suiComboBox_Volume->currentIndex());
    ShowVolume();
}

void DevicePanel::LoadDeviceProfiles(int deviceType)
{
    const profiles::ProfileList list =
        profiles::LoadProfileList(SettingsFile(), DefinitionFile(), s_DeviceName, deviceType);
    suiComboBox_Profile->clear();
    for (const profiles::ProfileEntry &entry : list.entries)
        suiComboBox_Profile->addItem(entry.listText);
    SelectPosition(suiComboBox_Profile, list.defaultPosition);
    ApplyProfile(suiComboBox_Profile->currentIndex());
}

void DevicePanel::ApplyProfile(int position)
{
    const profiles::Profile profile = profiles::ProfileAtPosition(SettingsFile(), s_DeviceName, position);
    if (!profile.value)
        return;
    const QString &value = *profile.value;
    FillParameterControls(profiles::ProfileField(value, 1));
    SelectPosition(suiComboBox_Resolution, profiles::ProfileField(value, 3));
    SelectPosition(suiComboBox_VideoFrameRate, profiles::ProfileField(value, 4));
    suiSpinEdit_VideoBitRate->setValue(profiles::ProfileField(value, 5));
    SelectPosition(suiComboBox_AudioBitRate, profiles::ProfileField(value, 6));
}

void DevicePanel::ShowVolume()
{
    Label_DB->setText(VolumeLabelText(suiTrackBar_Volume->value()));
    Label_DB->repaint();
}

PanelValues DevicePanel::CurrentValues(int deviceType) const
{
    PanelValues values;
    values.deviceType = deviceType;
    values.profilePosition = suiComboBox_Profile->currentIndex();
    values.resolutionPosition = suiComboBox_Resolution->currentIndex();
    values.frameRatePosition = suiComboBox_VideoFrameRate->currentIndex();
    values.audioBitRatePosition = suiComboBox_AudioBitRate->currentIndex();
    values.videoBitRateText = suiSpinEdit_VideoBitRate->text().trimmed();
    values.volumePosition = suiTrackBar_Volume->value();
    values.artistText = suiEdit_ArtistName->text();
    return values;
}
