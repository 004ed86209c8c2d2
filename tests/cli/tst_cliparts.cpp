// The window-free parts of orvo-convert: the command line, the output names, the progress
// texts, and the profile choice against the window's own device panel.
#include "../mainform/MainFormFixture.h"
#include "cli/CommandLine.h"
#include "skin/TrackBar.h"
#include "cli/ConsoleTexts.h"
#include "cli/ProfileChoice.h"
#include "common/DeviceType.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"

#include <QFile>

using namespace cli;

class TestCliParts : public QObject {
    Q_OBJECT

private slots:
    void times_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("seconds") << "95" << 95;
        QTest::newRow("clock") << "01:02:03" << 3723;
        QTest::newRow("minutes") << "2:05" << 125;
        QTest::newRow("zero") << "00:00:00" << 0;
        QTest::newRow("minutes of 60") << "00:60:00" << -1;
        QTest::newRow("fraction") << "1.5" << -1;
        QTest::newRow("sign") << "-3" << -1;
        QTest::newRow("four parts") << "1:2:3:4" << -1;
        QTest::newRow("empty part") << "1::3" << -1;
        QTest::newRow("huge") << "99999999999" << -1;
        QTest::newRow("text") << "soon" << -1;
    }
    void times()
    {
        QFETCH(QString, text);
        QTEST(ParseTimeText(text), "seconds");
    }

    void commandLine()
    {
        const ParsedCommandLine p = ParseCommandLine(
            {"-d", "APPLETV", "--profile=2", "--start", "00:01:00", "--end=90", "--volume", "3", "--artist",
             "", "-o", "out", "a.mkv", "--", "--odd name.avi", "-"});
        QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
        QCOMPARE(p.request.deviceType, int(DeviceAppleTV));
        QCOMPARE(p.request.profile, "2");
        QCOMPARE(p.request.start, 60);
        QCOMPARE(p.request.end, 90);
        QCOMPARE(p.request.volume, std::optional<int>(3));
        QCOMPARE(p.request.artist, std::optional<QString>(QString()));
        QCOMPARE(p.request.outputFolder, "out");
        QCOMPARE(p.request.files, QStringList({"a.mkv", "--odd name.avi", "-"}));

        const ParsedCommandLine defaults = ParseCommandLine({"a.mkv"});
        QVERIFY(defaults.error.isEmpty());
        QCOMPARE(defaults.request.deviceType, int(DeviceIPhone));
        QVERIFY(defaults.request.profile.isEmpty());
        QCOMPARE(defaults.request.start, -1);
        QVERIFY(!defaults.request.volume);
        QVERIFY(!defaults.request.artist);
    }

    void badCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("nothing") << QStringList() << "no file to convert";
        QTest::newRow("unknown option") << QStringList{"--fast", "a.mkv"} << "unknown option --fast";
        QTest::newRow("unknown device") << QStringList{"--device", "zune", "a.mkv"} << "unknown device \"zune\"";
        QTest::newRow("missing value") << QStringList{"a.mkv", "--output"} << "--output needs a value";
        QTest::newRow("bad time") << QStringList{"--start", "1.5", "a.mkv"} << "is not a time";
        QTest::newRow("end before start") << QStringList{"-s", "60", "-e", "30", "a.mkv"} << "--end must come after";
        QTest::newRow("end at zero") << QStringList{"-e", "0", "a.mkv"} << "--end must come after";
        QTest::newRow("volume text") << QStringList{"--volume", "loud", "a.mkv"} << "not a whole number";
        QTest::newRow("value on a switch") << QStringList{"--list=yes"} << "takes no value";
        QTest::newRow("empty profile") << QStringList{"--profile", " ", "a.mkv"} << "--profile needs";
    }
    void badCommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const ParsedCommandLine p = ParseCommandLine(arguments);
        QVERIFY2(p.error.contains(error), qPrintable(p.error));
    }

    void listAndHelpNeedNoFile()
    {
        QVERIFY(ParseCommandLine({"--list"}).error.isEmpty());
        QVERIFY(ParseCommandLine({"-h"}).request.help);
        for (const char *option : {"--device", "--profile", "--start", "--end", "--volume", "--artist", "--output",
                                      "--list", "MaxWidth", "130"})
            QVERIFY2(HelpText().contains(QLatin1String(option)), option);
    }

    void freeOutputNames()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        QCOMPARE(FreeOutputPath(folder, "/v/Holiday.2019.mkv", DeviceIPhone), folder + "Holiday.2019.mp4");
        QCOMPARE(FreeOutputPath(folder, "/v/song.flac", DeviceIPodMusic), folder + "song.mp3");
        QCOMPARE(FreeOutputPath(folder, "/v/.hidden", DeviceIPodVideo), folder + ".hidden.mp4");
        QFile(folder + "Holiday.mp4").open(QIODevice::WriteOnly);
        QDir(folder).mkdir("Holiday (2).mp4");
        QFile::link(folder + "nowhere", folder + "Holiday (3).mp4");
        QCOMPARE(FreeOutputPath(folder, "/v/Holiday.avi", DeviceAppleTV), folder + "Holiday (4).mp4");
    }

    void progressTexts()
    {
        ProgressSample s;
        s.startSeconds = 60;
        s.rangeSeconds = 120;
        s.secondsDone = 30;
        s.framesPerSecond = 250;
        s.elapsedMs = 10000;
        QCOMPARE(ProgressPercent(s), 25);
        QCOMPARE(SecondsLeft(s), 30);
        const QString line = ProgressLine("clip.mkv", s, 100);
        QCOMPARE(line, "clip.mkv  25% [#####---------------] 00:01:30/00:03:00 250 fps ETA 00:00:30");
        // A narrow terminal shortens the name, never the figures, and the line never wraps.
        const QString narrow = ProgressLine(QString(60, QLatin1Char('n')), s, 80);
        QVERIFY(narrow.size() <= 79);
        QVERIFY(narrow.endsWith("ETA 00:00:30"));
        QVERIFY(ProgressLine("clip.mkv", s, 20).size() <= 19);

        s.secondsDone = 500; // past the range: the running line never shows 100
        QCOMPARE(ProgressPercent(s), 99);
        QCOMPARE(SecondsLeft(s), 0);
        s.secondsDone = 0;
        QCOMPARE(SecondsLeft(s), -1);
        QVERIFY(ProgressLine("clip.mkv", s, 100).endsWith("ETA --:--:--"));
        s.rangeSeconds = 0;
        QCOMPARE(ProgressPercent(s), 0);
    }

    void profileChoice_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<int>("position");
        QTest::newRow("iphone default") << 2 << "" << 0;
        QTest::newRow("ipod by position") << 0 << "4" << 4;
        QTest::newRow("music by name") << 1 << "MP3 - 192 kbps High Quality" << 1;
        QTest::newRow("name, other case") << 1 << "mp3 - 192 kbps high quality" << -1;
        QTest::newRow("position past the list") << 3 << "40" << -1;
        QTest::newRow("unknown name") << 2 << "Fast" << -1;
    }
    void profileChoice()
    {
        QFETCH(int, device);
        QFETCH(QString, wanted);
        QFETCH(int, position);
        const platform::IniFile settings(QStringLiteral(ORVO_BUNDLE_DIR "/PfSetting.ini"));
        const platform::IniFile definition(QStringLiteral(ORVO_BUNDLE_DIR "/PfDef.dll"));
        const ProfileChoice choice = ChooseProfile(settings, definition, device, wanted);
        if (position < 0) {
            QVERIFY(choice.error.contains("see --list"));
            return;
        }
        QVERIFY2(choice.error.isEmpty(), qPrintable(choice.error));
        QCOMPARE(choice.position, position);
    }

    // The converter hands the engine what the window would for the same profile: the panel's
    // values after the profile is picked there, for every shipped profile of every device.
    void panelValuesAsTheWindowHasThem_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("position");
        const platform::IniFile settings(QStringLiteral(ORVO_BUNDLE_DIR "/PfSetting.ini"));
        const platform::IniFile definition(QStringLiteral(ORVO_BUNDLE_DIR "/PfDef.dll"));
        for (int device = 0; device < 4; ++device) {
            const int count = static_cast<int>(
                profiles::LoadProfileList(settings, definition, DeviceName(device), device).entries.size());
            QVERIFY(count > 0);
            for (int p = 0; p < count; ++p)
                QTest::addRow("%s %d", qPrintable(DeviceName(device)), p) << device << p;
        }
    }
    void panelValuesAsTheWindowHasThem()
    {
        QFETCH(int, device);
        QFETCH(int, position);
        MainFormFixture fixture;
        const QString bundle = QStringLiteral(ORVO_BUNDLE_DIR "/");
        platform::SetProgramFolder(bundle);
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Devices->DeviceButton(device == 2 ? 0 : 2), Qt::LeftButton);
        QTest::mouseClick(form.Devices->DeviceButton(device), Qt::LeftButton);
        QComboBox *list = form.Devices->suiComboBox_Profile;
        list->setCurrentIndex(position);
        emit list->activated(position);
        const PanelValues window = form.Devices->CurrentValues(device);

        const platform::IniFile settings(bundle + profiles::ProfileFileName);
        const platform::IniFile definition(bundle + profiles::DefinitionFileName);
        const PanelValues cli = ProfilePanelValues(settings, definition, device, position);
        QCOMPARE(cli.deviceType, window.deviceType);
        QCOMPARE(cli.profilePosition, window.profilePosition);
        QCOMPARE(cli.resolutionPosition, window.resolutionPosition);
        QCOMPARE(cli.frameRatePosition, window.frameRatePosition);
        QCOMPARE(cli.audioBitRatePosition, window.audioBitRatePosition);
        QCOMPARE(cli.volumePosition, window.volumePosition);
        if (device != DeviceIPodMusic)
            QCOMPARE(cli.videoBitRateText, window.videoBitRateText);

        // And so the engine's texts, position by position.
        const JobArguments fromWindow = PrepareJobArguments(window, "/out/", settings, definition);
        const JobArguments fromCli = PrepareJobArguments(cli, "/out/", settings, definition);
        ClipValues clip;
        clip.filePath = "/v/a.mkv";
        clip.duration = 60;
        clip.endTime = 60;
        clip.width = 1280;
        clip.height = 720;
        clip.outputName = "a.mp4";
        QCOMPARE(ConversionTexts(fromCli, PrepareClipArguments(clip, fromCli, device, -1), device),
                 ConversionTexts(fromWindow, PrepareClipArguments(clip, fromWindow, device, -1), device));
        const VolumeSteps steps = DeviceVolumeSteps(settings, definition, device, position);
        QCOMPARE(steps.lowest, form.Devices->suiTrackBar_Volume->minimum());
        QCOMPARE(steps.highest, form.Devices->suiTrackBar_Volume->maximum());
    }
};

QTEST_MAIN(TestCliParts)
#include "tst_cliparts.moc"
