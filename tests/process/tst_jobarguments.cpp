#include "process/JobArguments.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using platform::IniFile;

class TestJobArguments : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_settings;
    QString m_definition;

    static ClipValues clip(int duration, int start, int end)
    {
        ClipValues c;
        c.filePath = QStringLiteral("/videos/Holiday.avi");
        c.duration = duration;
        c.startTime = start;
        c.endTime = end;
        c.width = 720;
        c.height = 576;
        c.aspectIndex = 4;
        c.outputName = QStringLiteral("0012.mp4");
        return c;
    }

    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(text);
        return path;
    }

private slots:
    void initTestCase()
    {
        m_definition = write("PfDef.dll",
                             "[iPod]\nVideoFormatCount=2\nVideoFormatText0=h264\nVideoFormatText1=mpeg4\n"
                             "VideoFormatValue0=h264\nVideoFormatValue1=mpeg4\nFileFormatValue0=ipod\nFileFormatValue1=mp4\n"
                             "[iPod-h264]\nVideoResolutionText0=320:240\nVideoResolutionText1=640:480\n"
                             "VideoFrameRateText0=23.97\nVideoFrameRateValue0=23.976\nVideoFrameRateText1=29.97\n"
                             "AudioBitrateText0=128\nAudioBitrateText1=160\nAudioSampleRateText0=44100\nAudioSampleRateText1=48000\n"
                             "[iPod-mpeg4]\nVideoResolutionText0=480:360\nAudioSampleRateText0=32000\n"
                             "[AppleTV]\nVideoFormatText0=h264\nFileFormatValue0=ipod\n"
                             "[AppleTV-h264]\nVideoResolutionText0=1280:720\n"
                             "[Music]\nAudioBitrateText0=128\nAudioBitrateValue1=192\nAudioSampleRateText0=44100\n"
                             "AudioSampleRateText1=48000\n");
        m_settings = write("PfSetting.ini",
                           "[iPod-Profile]\nProfileCount=2\nProfileText0=Standard\nProfileText1=MPEG\n"
                           "Standard=0,0,1,1,768,1,1,0,1,\nMPEG=1,0,0,0,1000,0,0,0,1,\n"
                           "[Music-Profile]\nProfileCount=1\nProfileText0=High\nHigh=0,0,0,0,0,1,1,0,1,\n"
                           "[AppleTV-Profile]\nProfileCount=1\nProfileText0=HD\nHD=0,0,0,0,4000,0,0,0,1,\n");
    }

    void videoJobFromProfileAndPanel()
    {
        PanelValues panel;
        panel.deviceType = 0;
        panel.profilePosition = 0;
        panel.resolutionPosition = 1;
        panel.frameRatePosition = 0;
        panel.audioBitRatePosition = 1;
        panel.videoBitRateText = QStringLiteral("  768 ");
        panel.volumePosition = 4;
        panel.artistText = QStringLiteral("Me");
        const JobArguments job = PrepareJobArguments(panel, "/out/", IniFile(m_settings), IniFile(m_definition));
        QCOMPARE(job.s_OutputDir, QStringLiteral("/out/IPOD/"));
        QCOMPARE(job.s_VideoBitRate, QStringLiteral("768"));
        QCOMPARE(job.s_Volume, QStringLiteral("4"));
        QCOMPARE(job.s_Artist, QStringLiteral("Me"));
        QCOMPARE(job.s_VideoFormat, QStringLiteral("h264"));
        QCOMPARE(job.s_FileFormat, QStringLiteral("ipod"));
        QCOMPARE(job.s_FrameSize, QStringLiteral("640:480")); // the panel's position, not the profile's
        QCOMPARE(job.s_FrameRate, QStringLiteral("23.976"));  // the value, not the text
        QCOMPARE(job.s_AudioBitRate, QStringLiteral("160"));
        QCOMPARE(job.s_SampleRate, QStringLiteral("48000")); // field 7 of the profile
    }

    void secondFormatUsesItsSection()
    {
        PanelValues panel;
        panel.deviceType = 0;
        panel.profilePosition = 1;
        panel.resolutionPosition = 0;
        const JobArguments job = PrepareJobArguments(panel, "/out/", IniFile(m_settings), IniFile(m_definition));
        QCOMPARE(job.s_VideoFormat, QStringLiteral("mpeg4"));
        QCOMPARE(job.s_FileFormat, QStringLiteral("mp4"));
        QCOMPARE(job.s_FrameSize, QStringLiteral("480:360"));
        QCOMPARE(job.s_SampleRate, QStringLiteral("32000"));
        QCOMPARE(job.s_FrameRate, QStringLiteral("nodef")); // absent values pass as they are
    }

    void musicJob()
    {
        PanelValues panel;
        panel.deviceType = 1;
        panel.profilePosition = 0;
        panel.audioBitRatePosition = 1;
        const JobArguments job = PrepareJobArguments(panel, "/out/", IniFile(m_settings), IniFile(m_definition));
        QCOMPARE(job.s_OutputDir, QStringLiteral("/out/MUSIC/"));
        QCOMPARE(job.s_AudioBitRate, QStringLiteral("192"));
        QCOMPARE(job.s_SampleRate, QStringLiteral("48000"));
        QCOMPARE(job.s_VideoFormat, QString());
    }

    void noProfileValueTakesFirstFormatAndSampleRate()
    {
        PanelValues panel;
        panel.deviceType = 0;
        panel.profilePosition = 7; // no entry there, and no "Custom Profile" value
        panel.resolutionPosition = 0;
        panel.frameRatePosition = 1;
        panel.audioBitRatePosition = 0;
        const JobArguments job = PrepareJobArguments(panel, "/out/", IniFile(m_settings), IniFile(m_definition));
        QCOMPARE(job.s_VideoFormat, QStringLiteral("h264"));
        QCOMPARE(job.s_FrameSize, QStringLiteral("320:240"));
        QCOMPARE(job.s_FrameRate, QStringLiteral("29.97"));
        QCOMPARE(job.s_SampleRate, QStringLiteral("44100"));
    }

    void artist_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("passed");
        QTest::newRow("empty") << "" << "Unknown";
        QTest::newRow("blanks stay") << "   " << "   ";
        QTest::newRow("60 characters") << QString(60, 'a') << QString(50, 'a');
        QTest::newRow("50 characters") << QString(50, 'b') << QString(50, 'b');
        const QString smile = QStringLiteral("\U0001F600"); // two UTF-16 units
        QTest::newRow("50th character outside the basic plane")
            << QString(49, 'a') + smile + "bc" << QString(49, 'a') + smile;
        QTest::newRow("51st character outside the basic plane") << QString(50, 'a') + smile << QString(50, 'a');
    }
    void artist()
    {
        QFETCH(QString, text);
        QFETCH(QString, passed);
        PanelValues panel;
        panel.artistText = text;
        QCOMPARE(PrepareJobArguments(panel, "/o/", IniFile(m_settings), IniFile(m_definition)).s_Artist, passed);
    }

    void durations_data()
    {
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("engine");
        QTest::newRow("minimum raises") << 100 << 0 << 50 << 60 << 50 << 60;
        QTest::newRow("reaches the end within 2 s") << 100 << 30 << 98 << -1 << 68 << 0;
        QTest::newRow("end wins over minimum") << 100 << 0 << 99 << 200 << 99 << 0;
        QTest::newRow("no minimum") << 100 << 10 << 40 << -1 << 30 << 30;
        QTest::newRow("minimum below range") << 100 << 10 << 40 << 20 << 30 << 30;
        QTest::newRow("3 s short of the end") << 100 << 0 << 97 << -1 << 97 << 97;
    }
    void durations()
    {
        QFETCH(int, duration);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, minimum);
        QFETCH(int, range);
        QFETCH(int, engine);
        const ClipArguments a = PrepareClipArguments(clip(duration, start, end), JobArguments(), 2, minimum);
        QCOMPARE(a.i_RangeLength, range);
        QCOMPARE(a.i_EngineDuration, engine);
        QCOMPARE(a.s_Duration, QString::number(engine));
        QCOMPARE(a.s_StartTime, QString::number(start));
    }

    void fit_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("aspect");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("picture");
        QTest::newRow("720x576 into 320:240") << "320:240" << false << 4 << 720 << 576 << "300:240";
        QTest::newRow("16:9 display into 320:240") << "320:240" << true << 1 << 720 << 576 << "320:180";
        QTest::newRow("4:3 display") << "320:240" << true << 0 << 720 << 576 << "320:240";
        QTest::newRow("portrait") << "480:320" << false << 4 << 480 << 640 << "240:320";
        QTest::newRow("raised past frame is capped") << "318:240" << false << 4 << 1000 << 760 << "316:240";
        // The raise to a multiple of 4 lands exactly on the frame's width.
        QTest::newRow("1000x756 into 320:240") << "320:240" << false << 4 << 1000 << 756 << "320:240";
        QTest::newRow("width raised past the frame") << "318:240" << false << 4 << 1000 << 756 << "318:240";
        QTest::newRow("height raised past the frame") << "320:238" << false << 4 << 1345 << 1000 << "320:238";
        QTest::newRow("frame without colon") << "nodef" << false << 4 << 720 << 576 << "0:0";
        QTest::newRow("no picture") << "320:240" << false << 4 << 0 << 0 << "320:240";
        QTest::newRow("height digits after five") << "320:2400000" << false << 4 << 720 << 576 << "320:256";
    }
    void fit()
    {
        QFETCH(QString, frame);
        QFETCH(bool, display);
        QFETCH(int, aspect);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, picture);
        ClipValues c = clip(10, 0, 10);
        c.useDisplayAspect = display;
        c.aspectIndex = aspect;
        c.width = width;
        c.height = height;
        QCOMPARE(FitPictureSize(frame, c), picture);
    }

    void title_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("title");
        QTest::newRow("holiday") << "/any/where/Holiday.avi" << "0012.mp4" << "Holiday 0012";
        QTest::newRow("no extension") << "/v/" + QString(45, 'x') << "0001.mp3" << QString(40, 'x') + " 0001";
        QTest::newRow("two dots") << "/v/a.b.mkv" << "0002.mp4" << "a.b 0002";
        const QString clef = QStringLiteral("\U0001D11E");
        QTest::newRow("40th character outside the basic plane")
            << "/v/" + QString(39, 'x') + clef + "yz.avi" << "0003.mp4" << QString(39, 'x') + clef + " 0003";
        QTest::newRow("41st character outside the basic plane")
            << "/v/" + QString(40, 'x') + clef + ".avi" << "0004.mp4" << QString(40, 'x') + " 0004";
        QTest::newRow("no output name") << "/v/clip.mp4" << "" << "clip ";
    }
    void title()
    {
        QFETCH(QString, path);
        QFETCH(QString, output);
        QFETCH(QString, title);
        QCOMPARE(ClipTitle(path, output), title);
    }

    // Every position gets a value of its own, so a swap of any two shows. Window, mode and
    // the closing stamp (positions 1, 2 and 23, or 15) are added by the call itself.
    static JobArguments distinctJob(const QString &outputDir)
    {
        JobArguments job;
        job.s_OutputDir = outputDir;
        job.s_VideoBitRate = "4000";
        job.s_Volume = "3";
        job.s_Artist = "Me";
        job.s_VideoFormat = "h264";
        job.s_FileFormat = "ipod";
        job.s_FrameSize = "640:480";
        job.s_FrameRate = "29.97";
        job.s_AudioBitRate = "128";
        job.s_SampleRate = "44100";
        return job;
    }
    static ClipValues distinctClip()
    {
        ClipValues c = clip(100, 5, 60);
        c.sourceNumber = 7;
        return c;
    }

    void videoArgumentsInOrder_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("fileFormat");
        QTest::newRow("iPod video: the definition's file format") << 0 << "/out/IPOD/" << "ipod";
        QTest::newRow("iPhone: always mp4") << 2 << "/out/IPHONE/" << "mp4";
        QTest::newRow("Apple TV: always mp4") << 3 << "/out/TV/" << "mp4";
    }
    void videoArgumentsInOrder()
    {
        QFETCH(int, device);
        QFETCH(QString, folder);
        QFETCH(QString, fileFormat);
        const JobArguments job = distinctJob(folder);
        const QStringList texts = ConversionTexts(job, PrepareClipArguments(distinctClip(), job, device, -1), device);
        const QStringList expected = {
            "/videos/Holiday.avi", //  3 source path
            "7",                   //  4 source number
            "5",                   //  5 start
            "44100",               //  6 sample rate
            "1:1",                 //  7 aspect
            "h264",                //  8 video format
            fileFormat,            //  9 file format
            "4000",                // 10 video bit rate
            "128",                 // 11 audio bit rate
            "600:480",             // 12 picture: 720 x 576 in its own shape, 1.25, into 640:480
            "640:480",             // 13 frame size
            "Holiday 0012",        // 14 title
            "Me",                  // 15 artist
            "Unknown",             // 16 album
            "29.97",               // 17 frame rate
            "0",                   // 18 audio track
            "-1",                  // 19 subtitle
            folder + "0012.mp4",   // 20 destination
            "3",                   // 21 volume
            "55",                  // 22 duration of the range 5..60
        };
        QCOMPARE(texts, expected);
        QCOMPARE(QSet<QString>(expected.begin(), expected.end()).size(), expected.size());
    }

    void videoArgumentsFromTheProfileFiles()
    {
        PanelValues panel;
        panel.deviceType = 3;
        panel.profilePosition = 0;
        panel.resolutionPosition = 0;
        panel.videoBitRateText = "4000";
        const JobArguments job = PrepareJobArguments(panel, "/out/", IniFile(m_settings), IniFile(m_definition));
        QCOMPARE(job.s_OutputDir, QStringLiteral("/out/TV/"));
        ClipValues c = clip(100, 5, 100);
        c.outputName = "0007.mp4";
        const QStringList texts = ConversionTexts(job, PrepareClipArguments(c, job, 3, -1), 3);
        QCOMPARE(texts.size(), 20);
        QCOMPARE(texts.at(6), "mp4");        // 9: never the definition's file format for Apple TV
        QCOMPARE(texts.at(7), "4000");       // 10
        QCOMPARE(texts.at(9), "900:720");    // 12: 720x576 in its own shape, 1.25, into 1280:720
        QCOMPARE(texts.at(10), "1280:720");  // 13
        QCOMPARE(texts.at(17), "/out/TV/0007.mp4");
        QCOMPARE(texts.at(19), "0");         // 22 to the end
    }

    void musicArgumentsInOrder()
    {
        const JobArguments job = distinctJob("/o/MUSIC/");
        ClipValues c = distinctClip();
        c.outputName = "0009.mp3";
        const ClipArguments a = PrepareClipArguments(c, job, 1, -1);
        QCOMPARE(a.s_PictureSize, QString());
        const QStringList expected = {
            "/videos/Holiday.avi", //  3 source path
            "7",                   //  4 source number
            "5",                   //  5 start
            "44100",               //  6 sample rate
            "128",                 //  7 audio bit rate
            "Holiday 0009",        //  8 title
            "Me",                  //  9 artist
            "Unknown",             // 10 album
            "0",                   // 11 audio track
            "/o/MUSIC/0009.mp3",   // 12 destination
            "3",                   // 13 volume
            "55",                  // 14 duration
        };
        QCOMPARE(ConversionTexts(job, a, 1), expected);
        QCOMPARE(QSet<QString>(expected.begin(), expected.end()).size(), expected.size());
    }

    void shippedProfilesAssembleCompleteArguments()
    {
        const IniFile settings(QStringLiteral(ORVO_SOURCE_DIR "/data/PfSetting.ini"));
        const IniFile definition(QStringLiteral(ORVO_SOURCE_DIR "/data/PfDef.dll"));
        for (int device = 0; device < 4; ++device) {
            PanelValues panel;
            panel.deviceType = device;
            panel.profilePosition = 0;
            panel.resolutionPosition = 0;
            panel.frameRatePosition = 0;
            panel.audioBitRatePosition = 0;
            panel.videoBitRateText = QStringLiteral("500");
            const JobArguments job = PrepareJobArguments(panel, "/o/", settings, definition);
            const QStringList texts = ConversionTexts(job, PrepareClipArguments(clip(10, 0, 10), job, device, -1), device);
            QVERIFY2(!texts.contains("nodef"), qPrintable(texts.join(',')));
            QVERIFY2(!texts.contains(QString()), qPrintable(texts.join(',')));
        }
    }
};

QTEST_GUILESS_MAIN(TestJobArguments)
#include "tst_jobarguments.moc"
