// The device and profile panel: device buttons and layouts, the parameter lists from the
// definition file, profiles applied on load and on a pick, the volume label, the output folder
// field, and what the conversion reads. Small fixture files first, then the shipped ones.
#include "MainFormFixture.h"
#include "common/DeviceType.h"
#include "mainform/DevicePanelRules.h"
#include "options/TOptionForm.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"
#include "skin/SpinEdit.h"
#include "skin/TrackBar.h"

#include <QFile>

namespace {

// iPod offers two formats; its h264 volume is a range, its mpeg4 bit rate has equal bounds.
const QByteArray Definition = R"([iPod]
VideoFormatCount=2
VideoFormatText0=h264
VideoFormatText1=mpeg4
[iPhone]
VideoFormatCount=1
VideoFormatText0=h264
[AppleTV]
VideoFormatCount=1
VideoFormatText0=h264
[Music]
AudioBitrateCount=3
AudioBitrateText0=64
AudioBitrateText1=128
AudioBitrateText2=192
AudioBitrateDefault=1
AudioSampleRateText0=32000
AudioSampleRateText1=44100
AudioVolumeCount=3
AudioVolumeText0=0
AudioVolumeText1=1
AudioVolumeText2=2
AudioVolumeDefault=1
[iPod-h264]
VideoResolutionCount=2
VideoResolutionText0=320:240
VideoResolutionText1=640:480
VideoResolutionDefault=0
VideoFrameRateCount=2
VideoFrameRateText0=25
VideoFrameRateText1=29.97
VideoFrameRateDefault=1
VideoBitRateMin=100
VideoBitRateMax=1500
VideoBitRateDefault=768
AudioBitrateCount=2
AudioBitrateText0=96
AudioBitrateText1=128
AudioBitrateDefault=0
AudioSampleRateText0=48000
AudioVolumeMin=0
AudioVolumeMax=9
AudioVolumeDefault=2
[iPod-mpeg4]
VideoResolutionCount=3
VideoResolutionText0=320:240
VideoResolutionText1=480:320
VideoResolutionText2=640:480
VideoFrameRateCount=1
VideoFrameRateText0=30
VideoBitRateMin=500
VideoBitRateMax=500
VideoBitRateDefault=500
AudioBitrateCount=1
AudioBitrateText0=160
AudioSampleRateText0=48000
AudioVolumeMin=0
AudioVolumeMax=5
AudioVolumeDefault=3
[iPhone-h264]
VideoResolutionCount=1
VideoResolutionText0=480:320
VideoFrameRateCount=1
VideoFrameRateText0=30
VideoBitRateMin=100
VideoBitRateMax=1500
VideoBitRateDefault=800
AudioBitrateCount=1
AudioBitrateText0=128
AudioSampleRateText0=48000
AudioVolumeCount=1
AudioVolumeText0=0
[AppleTV-h264]
VideoResolutionCount=1
VideoResolutionText0=1280:720
VideoFrameRateCount=1
VideoFrameRateText0=24
VideoBitRateMin=100
VideoBitRateMax=5000
AudioBitrateCount=1
AudioBitrateText0=160
AudioSampleRateText0=48000
AudioVolumeCount=1
AudioVolumeText0=0
)";

// Positions on the iPod list: 0 Small, 1 Big (default), 2 Beyond, 3 Fast, 4 Fixed, 5 Negative,
// 6 Bare (no value), 7 Unknown format.
const QByteArray Settings = R"([iPod-Profile]
ProfileCount=8
ProfileText0=Small
ProfileText1=Big
ProfileText2=Beyond
ProfileText3=Fast
ProfileText4=Fixed
ProfileText5=Negative
ProfileText6=Bare
ProfileText7=Unknown format
ProfileDefault=1
Small=0,0,0,0,512,0,0,0,1,
Big=0,0,1,0,1200,1,0,5,1,
Beyond=0,0,7,1,600,0,0,0,1,
Fast=0,0,0,1,4000,1,0,0,1,
Fixed=1,0,2,0,9999,0,0,0,1,
Negative=-1,0,0,0,700,0,0,0,1,
Unknown format=5,0,0,0,700,0,0,0,1,
[Music-Profile]
ProfileCount=2
ProfileText0=Speech
ProfileText1=Music
ProfileDefault=0
Speech=0,0,0,0,0,0,0,0,1,
Music=0,0,0,0,0,2,1,0,1,
[iPhone-Profile]
ProfileCount=1
ProfileText0=Phone
ProfileDefault=0
Phone=0,0,0,0,900,0,0,0,1,
[AppleTV-Profile]
ProfileCount=1
ProfileText0=TV
TV=0,0,0,0,4000,0,0,0,1,
Custom Profile=0,0,0,0,2500,0,0,0,0,
)";

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QStringList Items(const QComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// The panel's state in one line, so that a failing case shows all of it.
struct PanelState {
    int resolution;
    int frameRate;
    QString bitRate;
    int audio;
    int volume;
};

PanelState StateOf(const DevicePanel &panel)
{
    return {panel.suiComboBox_Resolution->currentIndex(), panel.suiComboBox_VideoFrameRate->currentIndex(),
            panel.suiSpinEdit_VideoBitRate->text(), panel.suiComboBox_AudioBitRate->currentIndex(),
            panel.suiTrackBar_Volume->value()};
}

// A picked profile, as the user picks it.
void Pick(TMainForm &form, int position)
{
    QComboBox *list = form.Devices->suiComboBox_Profile;
    list->setCurrentIndex(position);
    emit list->activated(position);
}

skin::ImageButton *Button(TMainForm &form, const QString &name)
{
    return form.findChild<skin::ImageButton *>(name);
}

// The main window with the fixture files in its program folder, shown.
struct PanelFixture : MainFormFixture {
    PanelFixture()
    {
        WriteFile(folder.filePath(profiles::DefinitionFileName), Definition);
        WriteFile(folder.filePath(profiles::ProfileFileName), Settings);
    }
};

} // namespace

class TestDevicePanel : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        b_UpdaterStarted = false;
        g_s_OutputFolder = QStringLiteral("/videos/out/");
        i_OutputPSPSerialNumber = 1;
    }

    void rules_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<bool>("video");
        QTest::addColumn<QString>("folder");
        QTest::newRow("ipod") << 0 << true << "/out/IPOD/";
        QTest::newRow("music") << 1 << false << "/out/MUSIC/";
        QTest::newRow("iphone") << 2 << true << "/out/IPHONE/";
        QTest::newRow("apple tv") << 3 << true << "/out/TV/";
    }

    void rules()
    {
        QFETCH(int, device);
        QFETCH(bool, video);
        QFETCH(QString, folder);
        QCOMPARE(ShowsVideoControls(device), video);
        QCOMPARE(OutputFolderText(QStringLiteral("/out/"), device), folder);
    }

    void volumeRange_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::newRow("0 to 9") << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << 0 << 9;
        QTest::newRow("one item") << QStringList{"3"} << 3 << 3;
        QTest::newRow("first and last only count") << QStringList{"2", "x", "6"} << 2 << 6;
        QTest::newRow("not numbers read 0") << QStringList{"loud", "7 "} << 0 << 7;
        QTest::newRow("empty list") << QStringList{} << 0 << 0;
    }

    void volumeRange()
    {
        QFETCH(QStringList, items);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        const VolumeRange range = VolumeRangeOf(items);
        QCOMPARE(range.minimum, minimum);
        QCOMPARE(range.maximum, maximum);
    }

    void listPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::newRow("first") << 0 << 3 << 0;
        QTest::newRow("last") << 2 << 3 << 2;
        QTest::newRow("one past the end") << 3 << 3 << -1;
        QTest::newRow("none") << -1 << 3 << -1;
        QTest::newRow("empty list") << 0 << 0 << -1;
    }

    void listPosition()
    {
        QFETCH(int, position);
        QFETCH(int, count);
        QFETCH(int, selected);
        QCOMPARE(ListPosition(position, count), selected);
    }

    void deviceButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("device");
        QTest::addColumn<bool>("video");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("profiles");
        QTest::newRow("music") << "suiImageButton_iPodMusic" << 1 << false << "/videos/out/MUSIC/"
                               << QStringList{"Speech : Audio-64kbps,32000hz", "Music : Audio-192kbps,44100hz"};
        QTest::newRow("apple tv") << "suiImageButton_TV" << 3 << true << "/videos/out/TV/"
                                  << QStringList{"TV : Video-h264,1280:720,4000kbps,Audio-160kbps,48000hz"};
        QTest::newRow("ipod") << "suiImageButton_iPodMovie" << 0 << true << "/videos/out/IPOD/"
                              << QStringList{};
    }

    void deviceButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, device);
        QFETCH(bool, video);
        QFETCH(QString, folder);
        QFETCH(QStringList, profiles);
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(Button(form, button), Qt::LeftButton);
        QCOMPARE(form.DeviceType, device);
        QCOMPARE(form.Devices->s_DeviceName, DeviceName(device));

        const QList<QWidget *> videoOnly = form.Devices->VideoOnlyControls();
        QCOMPARE(videoOnly.size(), 7);
        for (QWidget *control : videoOnly)
            QVERIFY2(control->isVisible() == video, qPrintable(control->objectName()));
        for (const char *name : {"Label1", "suiComboBox_Profile", "Label9", "suiEdit_ArtistName", "Label6",
                                 "suiComboBox_AudioBitRate", "Label2", "Label10", "suiTrackBar_Volume", "Label_DB",
                                 "suiEdit_OutputFolder", "suiImageButton_StartConvert"})
            QVERIFY2(form.findChild<QWidget *>(name)->isVisible(), name);
        QVERIFY(form.Devices->suiComboBox_Volume->isHidden());

        for (int type = 0; type <= 3; ++type)
            QCOMPARE(form.Devices->DeviceButton(type)->isEnabled(), type != device);
        QCOMPARE(form.Preview->suiEdit_OutputFolder->text(), folder);
        if (!profiles.isEmpty())
            QCOMPARE(Items(form.Devices->suiComboBox_Profile), profiles);
    }

    void musicListsComeFromTheMusicSection()
    {
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_iPodMusic, Qt::LeftButton);
        const DevicePanel &panel = *form.Devices;
        QCOMPARE(Items(panel.suiComboBox_AudioBitRate), QStringList({"64", "128", "192"}));
        QCOMPARE(Items(panel.suiComboBox_Volume), QStringList({"0", "1", "2"}));
        QVERIFY(Items(panel.suiComboBox_Resolution).isEmpty());
        QVERIFY(Items(panel.suiComboBox_VideoFrameRate).isEmpty());
        // Speech's audio position 0 is applied; the volume stays at the Music default.
        QCOMPARE(panel.suiComboBox_AudioBitRate->currentIndex(), 0);
        QCOMPARE(panel.suiTrackBar_Volume->value(), 1);
        QCOMPARE(panel.Label_DB->text(), "+ 1 db.");
    }

    void defaultProfileSelectedAndApplied()
    {
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_iPodMovie, Qt::LeftButton);
        const DevicePanel &panel = *form.Devices;
        QCOMPARE(Items(panel.suiComboBox_Profile).size(), 8);
        QCOMPARE(panel.suiComboBox_Profile->currentIndex(), 1);
        QCOMPARE(panel.suiComboBox_Profile->currentText(), "Big : Video-h264,640:480,1200kbps,Audio-128kbps,48000hz");
        QCOMPARE(Items(panel.suiComboBox_Resolution), QStringList({"320:240", "640:480"}));
        QCOMPARE(Items(panel.suiComboBox_Volume).size(), 10);
        const PanelState state = StateOf(panel);
        QCOMPARE(state.resolution, 1);
        QCOMPARE(state.frameRate, 0);
        QCOMPARE(state.bitRate, "1200");
        QCOMPARE(state.audio, 1);
        // Field 8 (5) is not applied: the AudioVolume default stays.
        QCOMPARE(state.volume, 2);
        QCOMPARE(panel.Label_DB->text(), "+ 2 db.");
        QCOMPARE(panel.suiTrackBar_Volume->minimum(), 0);
        QCOMPARE(panel.suiTrackBar_Volume->maximum(), 9);
    }

    void profilePicks_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("resolution");
        QTest::addColumn<int>("frameRate");
        QTest::addColumn<QString>("bitRate");
        QTest::addColumn<int>("audio");
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("small") << 0 << 0 << 0 << "512" << 0 << 2 << true;
        QTest::newRow("resolution beyond the list") << 2 << -1 << 1 << "600" << 0 << 2 << true;
        QTest::newRow("bit rate above the maximum") << 3 << 0 << 1 << "1500" << 1 << 2 << true;
        QTest::newRow("equal bounds take any bit rate") << 4 << 2 << 0 << "9999" << 0 << 3 << true;
        // No format text for -1 or 5: every list is the single item "0", which the profile's
        // positions 0 then select.
        QTest::newRow("negative format") << 5 << 0 << 0 << "700" << 0 << 0 << false;
        QTest::newRow("unknown format") << 7 << 0 << 0 << "700" << 0 << 0 << true;
        // No value: the default profile's settings stay.
        QTest::newRow("profile without value") << 6 << 1 << 0 << "1200" << 1 << 2 << true;
    }

    void profilePicks()
    {
        QFETCH(int, position);
        QFETCH(int, resolution);
        QFETCH(int, frameRate);
        QFETCH(QString, bitRate);
        QFETCH(int, audio);
        QFETCH(int, volume);
        QFETCH(bool, enabled);
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_iPodMovie, Qt::LeftButton);
        Pick(form, position);
        const DevicePanel &panel = *form.Devices;
        const PanelState state = StateOf(panel);
        QCOMPARE(state.resolution, resolution);
        QCOMPARE(state.frameRate, frameRate);
        QCOMPARE(state.bitRate, bitRate);
        QCOMPARE(state.audio, audio);
        QCOMPARE(state.volume, volume);
        QCOMPARE(panel.Label_DB->text(), VolumeLabelText(volume));
        for (QWidget *control : {static_cast<QWidget *>(panel.suiComboBox_Resolution),
                                 static_cast<QWidget *>(panel.suiComboBox_VideoFrameRate),
                                 static_cast<QWidget *>(panel.suiComboBox_AudioBitRate),
                                 static_cast<QWidget *>(panel.suiComboBox_Volume),
                                 static_cast<QWidget *>(panel.suiTrackBar_Volume)})
            QVERIFY2(control->isEnabled() == enabled, qPrintable(control->objectName()));
        QVERIFY(panel.suiSpinEdit_VideoBitRate->isEnabled());
        QVERIFY(panel.suiComboBox_Profile->isEnabled());
        if (position == 5 || position == 7) {
            for (const QComboBox *list : {panel.suiComboBox_Resolution, panel.suiComboBox_VideoFrameRate,
                                          panel.suiComboBox_AudioBitRate, panel.suiComboBox_Volume})
                QCOMPARE(Items(list), QStringList({"0"}));
        }
    }

    void pickDiscardsManualChanges()
    {
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_iPodMovie, Qt::LeftButton);
        DevicePanel &panel = *form.Devices;
        panel.suiComboBox_Resolution->setCurrentIndex(0);
        panel.suiSpinEdit_VideoBitRate->setText(QStringLiteral("300"));
        panel.suiTrackBar_Volume->setValue(7);
        Pick(form, 1);
        const PanelState state = StateOf(panel);
        QCOMPARE(state.resolution, 1);
        QCOMPARE(state.bitRate, "1200");
        QCOMPARE(state.volume, 2);
    }

    void trackBarShowsTheBoost_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("4") << 4 << "+ 4 db.";
        QTest::newRow("0") << 0 << "+ 0 db.";
        QTest::newRow("9") << 9 << "+ 9 db.";
    }

    void trackBarShowsTheBoost()
    {
        QFETCH(int, position);
        QFETCH(QString, text);
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_iPodMovie, Qt::LeftButton);
        form.Devices->suiTrackBar_Volume->setValue(position);
        QCOMPARE(form.Devices->Label_DB->text(), text);
    }

    void browseBringsBackTheDefaultProfile()
    {
        PanelFixture fixture;
        TestMainForm form;
        TOptionForm options;
        OptionForm = &options;
        fixture.dialogs.folderResults << "/media/usb";
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_iPodMovie, Qt::LeftButton);
        Pick(form, 0);
        form.Devices->suiSpinEdit_VideoBitRate->setText(QStringLiteral("333"));
        QTest::mouseClick(form.Preview->suiImageButton_Browse, Qt::LeftButton);
        OptionForm = nullptr;
        QCOMPARE(form.DeviceType, 0);
        QCOMPARE(form.Preview->suiEdit_OutputFolder->text(), "/media/usb/IPOD/");
        QCOMPARE(form.Devices->suiComboBox_Profile->currentIndex(), 1);
        QCOMPARE(StateOf(*form.Devices).bitRate, "1200");
        QCOMPARE(StateOf(*form.Devices).resolution, 1);
    }

    void withoutDefaultTheCustomProfileApplies()
    {
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_TV, Qt::LeftButton);
        QCOMPARE(form.Devices->suiComboBox_Profile->currentIndex(), -1);
        QCOMPARE(StateOf(*form.Devices).bitRate, "2500");
    }

    void switchRenumbersOutputNames()
    {
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        i_OutputPSPSerialNumber = 7;
        AddClip(form, QStringLiteral("a.avi"));
        AddClip(form, QStringLiteral("b.avi"));
        QTest::mouseClick(form.Devices->suiImageButton_iPodMusic, Qt::LeftButton);
        QCOMPARE(form.Clips.at(0)->Label_OutputName->text(), "0007.mp3");
        QCOMPARE(form.Clips.at(1)->Label_OutputName->text(), "0008.mp3");
        QTest::mouseClick(form.Devices->suiImageButton_TV, Qt::LeftButton);
        QCOMPARE(form.Clips.at(1)->Label_OutputName->text(), "0008.mp4");
    }

    void conversionReadsThePanel()
    {
        PanelFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->suiImageButton_iPodMovie, Qt::LeftButton);
        Pick(form, 4);
        DevicePanel &panel = *form.Devices;
        panel.suiSpinEdit_VideoBitRate->setText(QStringLiteral(" 450 "));
        panel.suiTrackBar_Volume->setValue(1);
        panel.suiEdit_ArtistName->setText(QStringLiteral("Band"));
        const PanelValues values = panel.CurrentValues(form.DeviceType);
        QCOMPARE(values.deviceType, 0);
        QCOMPARE(values.profilePosition, 4);
        QCOMPARE(values.resolutionPosition, 2);
        QCOMPARE(values.frameRatePosition, 0);
        QCOMPARE(values.audioBitRatePosition, 0);
        QCOMPARE(values.videoBitRateText, "450");
        QCOMPARE(values.volumePosition, 1);
        QCOMPARE(values.artistText, "Band");
    }

    void withoutProfileFilesTheListsHoldZero()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        const DevicePanel &panel = *form.Devices;
        QCOMPARE(form.DeviceType, 2);
        QVERIFY(Items(panel.suiComboBox_Profile).isEmpty());
        QCOMPARE(Items(panel.suiComboBox_Resolution), QStringList());
        QCOMPARE(Items(panel.suiComboBox_Volume), QStringList({"0"}));
        QCOMPARE(panel.Label_DB->text(), "+ 0 db.");
    }

    // The shipped files.

    void opensOnTheIPhoneWithItsDefaultProfile()
    {
        MainFormFixture fixture;
        platform::SetProgramFolder(QStringLiteral(ORVO_BUNDLE_DIR "/"));
        TestMainForm form;
        form.show();
        QCOMPARE(form.DeviceType, 2);
        QVERIFY(!form.Devices->suiImageButton_iPhone->isEnabled());
        QCOMPARE(form.Preview->suiEdit_OutputFolder->text(), "/videos/out/IPHONE/");
        QVERIFY(form.Devices->suiComboBox_Profile->currentIndex() >= 0);
        QVERIFY(form.Devices->suiComboBox_Profile->currentText().startsWith("iPhone"));
    }

    void everyShippedDefaultApplies_data()
    {
        QTest::addColumn<int>("device");
        QTest::newRow("ipod") << 0;
        QTest::newRow("music") << 1;
        QTest::newRow("iphone") << 2;
        QTest::newRow("apple tv") << 3;
    }

    void everyShippedDefaultApplies()
    {
        QFETCH(int, device);
        MainFormFixture fixture;
        const QString bundle = QStringLiteral(ORVO_BUNDLE_DIR "/");
        platform::SetProgramFolder(bundle);
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->DeviceButton(device == 2 ? 0 : 2), Qt::LeftButton);
        QTest::mouseClick(form.Devices->DeviceButton(device), Qt::LeftButton);
        const DevicePanel &panel = *form.Devices;
        QCOMPARE(form.DeviceType, device);

        const platform::IniFile settings(bundle + profiles::ProfileFileName);
        const profiles::ProfileList list = profiles::LoadProfileList(
            settings, platform::IniFile(bundle + profiles::DefinitionFileName), DeviceName(device), device);
        QVERIFY(!list.entries.isEmpty());
        QCOMPARE(panel.suiComboBox_Profile->currentIndex(), list.defaultPosition);
        QVERIFY(list.defaultPosition >= 0);
        const QString value = *list.entries.at(list.defaultPosition).value;

        QVERIFY(panel.suiComboBox_AudioBitRate->count() > 1);
        QCOMPARE(panel.suiComboBox_AudioBitRate->currentIndex(), profiles::ProfileField(value, 6));
        QVERIFY(panel.suiComboBox_Volume->count() > 1);
        QCOMPARE(panel.suiTrackBar_Volume->maximum(), panel.suiComboBox_Volume->count() - 1);
        if (device == 1)
            return;
        QVERIFY(panel.suiComboBox_Resolution->count() > 1);
        QVERIFY(panel.suiComboBox_VideoFrameRate->count() > 1);
        QCOMPARE(panel.suiComboBox_Resolution->currentIndex(), profiles::ProfileField(value, 3));
        QCOMPARE(panel.suiComboBox_VideoFrameRate->currentIndex(), profiles::ProfileField(value, 4));
        QCOMPARE(panel.suiSpinEdit_VideoBitRate->text(), QString::number(profiles::ProfileField(value, 5)));
    }
};

QTEST_MAIN(TestDevicePanel)
#include "tst_devicepanel.moc"
