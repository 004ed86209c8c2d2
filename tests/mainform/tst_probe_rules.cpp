#include "mainform/ClipProbe.h"
#include "options/OptionStore.h"
#include "mainform/DiscWatch.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(VolumeEvent)
Q_DECLARE_METATYPE(DiscAction)

// The probe's and the disc watch's rules, without a window or an engine.
class TestProbe : public QObject {
    Q_OBJECT

private slots:
    void thumbnailFitsTheBox_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("aspectIndex");
        QTest::addColumn<int>("tw");
        QTest::addColumn<int>("th");
        // Display widths 767 and 1023 come from the exact products 576 x 4/3 and 576 x 16/9.
        QTest::newRow("720x576 4:3") << 720 << 576 << true << 0 << 240 << 180;
        QTest::newRow("720x576 16:9") << 720 << 576 << true << 1 << 240 << 136;
        QTest::newRow("352x288 stored shape") << 352 << 288 << false << 2 << 220 << 180;
        QTest::newRow("640x480 own shape") << 640 << 480 << true << 4 << 240 << 180;
        QTest::newRow("640x480 stored shape") << 640 << 480 << false << 2 << 240 << 180;
        QTest::newRow("480x640 upright") << 480 << 640 << false << 2 << 136 << 180;
        QTest::newRow("720x576 2.21:1") << 720 << 576 << true << 3 << 240 << 108;
        QTest::newRow("1920x1080 square") << 1920 << 1080 << false << 2 << 240 << 136;
        QTest::newRow("sound only") << 0 << 0 << false << 4 << 240 << 180;
        QTest::newRow("no height, own shape") << 320 << 0 << true << 4 << 240 << 180;
        QTest::newRow("a sliver") << 100000 << 2 << false << 2 << 240 << 4;
    }
    void thumbnailFitsTheBox()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, display);
        QFETCH(int, aspectIndex);
        const ThumbnailSize size = FitThumbnail(width, height, display, aspectIndex);
        QTEST(size.width, "tw");
        QTEST(size.height, "th");
    }

    void tooltipWithTheLocalesSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("hint");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << "Clip Name : x y.mpg\nVideo : Size 720X576 , Bitrate 4876.57 , FPS 25.00\n"
                                    "Audio : Bitrate 128.00, Samplerate 48000";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << "Clip Name : x y.mpg\nVideo : Size 720X576 , Bitrate 4876,57 , FPS 25,00\n"
                                   "Audio : Bitrate 128,00, Samplerate 48000";
    }
    void tooltipWithTheLocalesSeparator()
    {
        QFETCH(QLocale, locale);
        ProbeRecord r;
        r.width = 720;
        r.height = 576;
        r.videoBitRate = 4876.567f;
        r.frameRate = 25.0f;
        r.audioBitRate = 127.996f;
        r.sampleRate = 48000;
        QTEST(ClipInfoHint(QStringLiteral("x y.mpg"), r, locale), "hint");
    }

    void recordReadAtItsOffsets()
    {
        unsigned char bytes[ProbeRecordSize] = {};
        const auto put = [&bytes](int offset, auto value) { std::memcpy(bytes + offset, &value, sizeof value); };
        put(0, std::int32_t(3661));
        put(4, 29.97f);
        put(8, 1500.5f);
        put(12, std::int32_t(720));
        put(16, std::int32_t(480));
        put(20, std::int32_t(3));
        put(24, std::int32_t(44100));
        put(28, std::int32_t(-7)); // not used
        put(32, 192.25f);
        put(36, std::int32_t(1));
        const ProbeRecord r = ReadProbeRecord(bytes);
        QCOMPARE(r.seconds, 3661);
        QCOMPARE(r.frameRate, 29.97f);
        QCOMPARE(r.videoBitRate, 1500.5f);
        QCOMPARE(r.width, 720);
        QCOMPARE(r.height, 480);
        QCOMPARE(r.aspectCode, 3);
        QCOMPARE(r.sampleRate, 44100);
        QCOMPARE(r.audioBitRate, 192.25f);
        QCOMPARE(r.displayAspectFlag, 1);
    }

    void thumbnailRowsComeFromTheBgrBuffer()
    {
        const int w = 6, h = 4;
        std::vector<unsigned char> bgr(static_cast<size_t>(w * h * 3));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                unsigned char *p = &bgr[static_cast<size_t>((y * w + x) * 3)];
                p[0] = static_cast<unsigned char>(10 + x); // blue
                p[1] = static_cast<unsigned char>(100 + y); // green
                p[2] = 200;                                  // red
            }
        const QImage picture = ThumbnailFromBgr(bgr.data(), w, h);
        QCOMPARE(picture.size(), QSize(w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                QCOMPARE(picture.pixel(x, y), qRgb(200, 100 + y, 10 + x));
        const QImage none = ThumbnailFromBgr(nullptr, w, h);
        QCOMPARE(none.pixel(5, 3), qRgb(0, 0, 0));
    }

    void refusedKinds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<QStringList>("formats");
        QTest::addColumn<bool>("refused");
        const QStringList rm{"RM", "RMVB"};
        QTest::newRow("listed extension, other case") << "/v/a.rmvb" << "RealMedia" << 320 << rm << QStringList() << true;
        QTest::newRow("extension not listed") << "/v/a.avi" << "AVI" << 320 << rm << QStringList() << false;
        QTest::newRow("only the last dot counts") << "/v/a.rm.avi" << "AVI" << 320 << rm << QStringList() << false;
        QTest::newRow("empty item, no extension") << "/v.d/clip" << "MPEG-PS" << 320 << QStringList{"AVI", ""}
                                                  << QStringList() << true;
        QTest::newRow("empty item, an extension") << "/v/clip.mpg" << "MPEG-PS" << 320 << QStringList{"AVI", ""}
                                                  << QStringList() << false;
        QTest::newRow("listed format, other case") << "/v/a.mp4" << "MPEG-4" << 320 << QStringList()
                                                   << QStringList{"mpeg-4"} << true;
        QTest::newRow("reader missing, listed") << "/v/a.mp4" << "Unable to load MediaInfo.dll" << 320 << QStringList()
                                                << QStringList{"UNABLE TO LOAD MEDIAINFO.DLL"} << true;
        QTest::newRow("800 wide") << "/v/a.mp4" << "MPEG-4" << 800 << QStringList() << QStringList() << false;
        QTest::newRow("801 wide") << "/v/a.mp4" << "MPEG-4" << 801 << QStringList() << QStringList() << true;
        QTest::newRow("empty lists") << "/v/a" << "" << 320 << QStringList() << QStringList() << false;
    }
    void refusedKinds()
    {
        QFETCH(QString, path);
        QFETCH(QString, format);
        QFETCH(int, width);
        QFETCH(QStringList, extensions);
        QFETCH(QStringList, formats);
        QTEST(IsRefusedKind(path, format, width, extensions, formats, DefaultMaxWidth), "refused");
    }

    void widthLimit_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("maxWidth");
        QTest::addColumn<bool>("refused");
        QTest::newRow("1920 against the usual 800") << 1920 << DefaultMaxWidth << true;
        QTest::newRow("1920, no limit") << 1920 << 0 << false;
        QTest::newRow("1920, negative limit") << 1920 << -5 << false;
        QTest::newRow("1920 at 1920") << 1920 << 1920 << false;
        QTest::newRow("1920 over 1919") << 1920 << 1919 << true;
        QTest::newRow("sound only, any limit") << 0 << 1 << false;
    }
    void widthLimit()
    {
        QFETCH(int, width);
        QFETCH(int, maxWidth);
        QTEST(IsRefusedKind("/v/a.mkv", "Matroska", width, {}, {"AVI"}, maxWidth), "refused");
    }

    void discDecisions_data()
    {
        QTest::addColumn<VolumeEvent>("event");
        QTest::addColumn<QString>("fileSystem");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("listEmpty");
        QTest::addColumn<QString>("discDrive");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("videoFolder");
        QTest::addColumn<DiscAction>("action");
        const auto in = VolumeEvent::Arrived;
        const auto out = VolumeEvent::Removed;
        QTest::newRow("DVD-Video into an empty list") << in << "udf" << "/dev/sr0" << true << "A" << true << true
                                                      << DiscAction::RememberDisc;
        QTest::newRow("iso9660 image, DVD-Video") << in << "iso9660" << "/dev/loop3" << true << "A" << true << true
                                                  << DiscAction::RememberDisc;
        QTest::newRow("DVD-Video, list holds clips") << in << "udf" << "/dev/sr0" << false << "A" << true << true
                                                     << DiscAction::None;
        QTest::newRow("data disc") << in << "iso9660" << "/dev/sr0" << true << "A" << true << false << DiscAction::None;
        QTest::newRow("unreadable disc") << in << "udf" << "/dev/sr0" << true << "A" << false << true
                                         << DiscAction::None;
        QTest::newRow("USB stick with VIDEO_TS") << in << "vfat" << "/dev/sdb1" << true << "A" << true << true
                                                 << DiscAction::None;
        QTest::newRow("remembered disc removed") << out << "udf" << "/dev/sr0" << false << "/media/dvd" << true << true
                                                 << DiscAction::ClearList;
        QTest::newRow("other volume removed") << out << "udf" << "/dev/sr1" << false << "/media/other" << true << true
                                              << DiscAction::None;
        QTest::newRow("removal, no disc remembered") << out << "udf" << "/dev/sr0" << false << "A" << true << true
                                                     << DiscAction::None;
    }
    void discDecisions()
    {
        QFETCH(VolumeEvent, event);
        QFETCH(QString, fileSystem);
        QFETCH(QString, source);
        QFETCH(bool, listEmpty);
        QFETCH(QString, discDrive);
        QFETCH(bool, readable);
        QFETCH(bool, videoFolder);
        const platform::MountEntry volume{QStringLiteral("/media/dvd"), fileSystem, source};
        QTEST(DiscDecision(event, volume, listEmpty, discDrive, {readable, videoFolder}), "action");
    }

    void volumeFactsFromTheFolders()
    {
        QTemporaryDir video, data, lower;
        QVERIFY(QDir(video.path()).mkdir("VIDEO_TS"));
        QVERIFY(QDir(data.path()).mkdir("DATA"));
        QVERIFY(QDir(lower.path()).mkdir("video_ts"));
        QVERIFY(ReadVolumeFacts(video.path()).hasVideoFolder);
        QVERIFY(ReadVolumeFacts(lower.path()).hasVideoFolder);
        QVERIFY(ReadVolumeFacts(data.path()).readable);
        QVERIFY(!ReadVolumeFacts(data.path()).hasVideoFolder);
        QVERIFY(!ReadVolumeFacts(data.path() + "/missing").readable);
    }
};

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe_rules.moc"
