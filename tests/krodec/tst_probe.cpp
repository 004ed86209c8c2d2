// The probe set on real files: the 40-byte record and the thumbnail, for each kind of clip the
// program meets.

#include "EngineLibrary.h"
#include "TestMedia.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>

using namespace enginetest;

class TestProbe : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void recordLayout();
    void record_data();
    void record();
    void thumbnail_data();
    void thumbnail();
    void thumbnailPastBlackStart();
    void broadcastClips_data();
    void broadcastClips();
    void thumbnailOfAudioOnly();
    void thumbnailStaysUntilNextCall();
    void secondProbeForgetsTheFirst();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    std::unique_ptr<EngineLibrary> engine_;
};

namespace {

const QString kPattern = QStringLiteral("testsrc2=s=%1:r=25:d=%2");
const QString kNoise = QStringLiteral("anoisesrc=d=%1:a=0.2:r=%2");

QStringList videoAudio(const QString &size, int seconds, int rate)
{
    return {"-f", "lavfi", "-i", kPattern.arg(size).arg(seconds), "-f", "lavfi", "-i", kNoise.arg(seconds).arg(rate)};
}

// The thumbnail box the program fits a clip into (240 x 180, display shape kept).
QSize fitted(const KrodecProbeInfo &info)
{
    double w = info.width;
    const double h = info.height;
    if (info.displayAspectFlag == 0) {
        const double shapes[] = {w / h, 1.0, 4.0 / 3, 16.0 / 9, 2.21};
        w = h * shapes[info.aspectCode >= 1 && info.aspectCode <= 4 ? info.aspectCode : 0];
    }
    const double r = w / h;
    if (r < 4.0 / 3)
        return {std::min(240, (static_cast<int>(180 * r) + 3) / 4 * 4), 180};
    return {240, std::min(180, (static_cast<int>(240 / r) + 3) / 4 * 4)};
}

} // namespace

void TestProbe::initTestCase()
{
    QVERIFY(dir_.isValid());
    engine_ = std::make_unique<EngineLibrary>();
    QVERIFY2(engine_->isLoaded(), qPrintable(engine_->error()));

    struct Clip {
        const char *name;
        QStringList arguments;
    };
    const QList<Clip> clips = {
        {"h264_aac.mp4", videoAudio("320x240", 12, 44100)
             + QStringList{"-c:v", "libx264", "-b:v", "400k", "-c:a", "aac", "-b:a", "128k", "-shortest"}},
        {"dvd_16x9.mpg", videoAudio("720x576", 6, 48000)
             + QStringList{"-c:v", "mpeg2video", "-b:v", "3000k", "-aspect", "16:9", "-c:a", "mp2", "-b:a", "192k",
                           "-shortest", "-f", "vob"}},
        {"dvd_4x3.mpg", videoAudio("720x576", 4, 48000)
             + QStringList{"-c:v", "mpeg2video", "-b:v", "3000k", "-aspect", "4:3", "-c:a", "mp2", "-b:a", "192k",
                           "-shortest", "-f", "vob"}},
        {"mpeg4_mp3.avi", videoAudio("320x240", 6, 44100)
             + QStringList{"-c:v", "mpeg4", "-b:v", "500k", "-c:a", "libmp3lame", "-b:a", "128k", "-shortest"}},
        {"vp9_opus.webm", videoAudio("320x240", 6, 48000)
             + QStringList{"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-b:v", "300k",
                           "-c:a", "libopus", "-b:a", "96k", "-shortest"}},
        {"audio_only.m4a", QStringList{"-f", "lavfi", "-i", kNoise.arg(6).arg(44100), "-c:a", "aac", "-b:a", "128k"}},
        {"audio_only.mp3", QStringList{"-f", "lavfi", "-i", kNoise.arg(6).arg(32000), "-c:a", "libmp3lame", "-b:a", "96k"}},
        {"video_only.mp4", QStringList{"-f", "lavfi", "-i", kPattern.arg("320x240").arg(6), "-c:v", "libx264", "-b:v", "300k"}},
        {"short.mp4", videoAudio("320x240", 1, 44100)
             + QStringList{"-t", "0.4", "-c:v", "libx264", "-c:a", "aac"}},
        {"wide_221.mp4", QStringList{"-f", "lavfi", "-i", kPattern.arg("320x240").arg(3), "-c:v", "libx264", "-aspect", "2.21"}},
        {"odd_2x1.mp4", QStringList{"-f", "lavfi", "-i", kPattern.arg("320x240").arg(3), "-c:v", "libx264", "-aspect", "2:1"}},
        {"anamorphic.mkv", videoAudio("720x576", 3, 48000)
             + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-aspect", "16:9", "-c:a", "libvorbis", "-shortest"}},
        {"grey.mp4", QStringList{"-f", "lavfi", "-i", greyClipSource(160, 120, 12), "-c:v", "libx264", "-g", "250"}},
    };
    for (const Clip &clip : clips) {
        QString errors;
        QVERIFY2(makeMedia(clip.arguments, path(clip.name), &errors), qPrintable(clip.name + (": " + errors)));
    }
    QString errors;
    QVERIFY2(makeBroadcastClips(dir_.path(), &errors), qPrintable(errors));
}

void TestProbe::recordLayout()
{
    QCOMPARE(sizeof(KrodecProbeInfo), size_t(40));
    QCOMPARE(offsetof(KrodecProbeInfo, frameRate), size_t(4));
    QCOMPARE(offsetof(KrodecProbeInfo, videoBitRate), size_t(8));
    QCOMPARE(offsetof(KrodecProbeInfo, width), size_t(12));
    QCOMPARE(offsetof(KrodecProbeInfo, height), size_t(16));
    QCOMPARE(offsetof(KrodecProbeInfo, aspectCode), size_t(20));
    QCOMPARE(offsetof(KrodecProbeInfo, sampleRate), size_t(24));
    QCOMPARE(offsetof(KrodecProbeInfo, audioBitRate), size_t(32));
    QCOMPARE(offsetof(KrodecProbeInfo, displayAspectFlag), size_t(36));
}

void TestProbe::record_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<double>("fps");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("aspect");
    QTest::addColumn<int>("flag");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<double>("audioKbit");  // nominal rate; 0: no audio

    QTest::newRow("H.264 and AAC in MP4") << "h264_aac.mp4" << 12 << 25.0 << 320 << 240 << 1 << 1 << 44100 << 128.0;
    QTest::newRow("MPEG-2 program stream 16:9") << "dvd_16x9.mpg" << 6 << 25.0 << 720 << 576 << 3 << 0 << 48000 << 192.0;
    QTest::newRow("MPEG-2 program stream 4:3") << "dvd_4x3.mpg" << 4 << 25.0 << 720 << 576 << 2 << 0 << 48000 << 192.0;
    QTest::newRow("MPEG-4 Part 2 and MP3 in AVI") << "mpeg4_mp3.avi" << 6 << 25.0 << 320 << 240 << 1 << 1 << 44100 << 128.0;
    QTest::newRow("VP9 and Opus in WebM") << "vp9_opus.webm" << 6 << 25.0 << 320 << 240 << 1 << 1 << 48000 << 96.0;
    QTest::newRow("AAC audio only") << "audio_only.m4a" << 6 << 0.0 << 0 << 0 << 1 << 1 << 44100 << 128.0;
    QTest::newRow("MP3 audio only") << "audio_only.mp3" << 6 << 0.0 << 0 << 0 << 1 << 1 << 32000 << 96.0;
    QTest::newRow("video only") << "video_only.mp4" << 6 << 25.0 << 320 << 240 << 1 << 1 << 0 << 0.0;
    QTest::newRow("shorter than a second") << "short.mp4" << 0 << 25.0 << 320 << 240 << 1 << 1 << 44100 << -1.0;
    QTest::newRow("2.21:1 display") << "wide_221.mp4" << 3 << 25.0 << 320 << 240 << 4 << 0 << 0 << 0.0;
    QTest::newRow("non-square 2:1 display") << "odd_2x1.mp4" << 3 << 25.0 << 320 << 240 << 0 << 1 << 0 << 0.0;
    QTest::newRow("anamorphic H.264 in Matroska") << "anamorphic.mkv" << 3 << 25.0 << 720 << 576 << 3 << 0 << 48000 << -1.0;
}

void TestProbe::record()
{
    QFETCH(QString, file);
    QFETCH(int, seconds);
    QFETCH(double, fps);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, aspect);
    QFETCH(int, flag);
    QFETCH(int, sampleRate);
    QFETCH(double, audioKbit);

    KrodecProbeInfo info;
    std::memset(&info, 0x55, sizeof info);
    double ms = 0;
    QCOMPARE(engine_->probe(path(file), info, &ms), 0);
    QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));
    QCOMPARE(info.seconds, seconds);
    QVERIFY2(std::fabs(info.frameRate - fps) < 0.01, qPrintable(QString::number(info.frameRate)));
    QCOMPARE(info.width, width);
    QCOMPARE(info.height, height);
    QCOMPARE(info.aspectCode, aspect);
    QCOMPARE(info.displayAspectFlag, flag);
    QCOMPARE(info.sampleRate, sampleRate);

    // Bit rates: the stream's own where the file tells it, else an estimate that fits the file.
    const double fileKbit = static_cast<double>(QFileInfo(path(file)).size()) * 8 / 1000;
    const double spanSeconds = std::max(0.4, static_cast<double>(seconds));
    if (width > 0) {
        QVERIFY2(info.videoBitRate > 0, qPrintable(QString::number(info.videoBitRate)));
        QVERIFY2(info.videoBitRate * spanSeconds < fileKbit * 1.3, qPrintable(QString::number(info.videoBitRate)));
    } else {
        QCOMPARE(info.videoBitRate, 0.0f);
    }
    if (audioKbit > 0)
        QVERIFY2(info.audioBitRate > audioKbit * 0.6 && info.audioBitRate < audioKbit * 1.4,
                 qPrintable(QString::number(info.audioBitRate)));
    else if (audioKbit == 0)
        QCOMPARE(info.audioBitRate, 0.0f);
    else
        QVERIFY(info.audioBitRate > 0);
    if (width > 0 && audioKbit != 0 && seconds > 0) {
        const double total = (info.videoBitRate + info.audioBitRate) * seconds;
        QVERIFY2(total > fileKbit * 0.7 && total < fileKbit * 1.3,
                 qPrintable(QStringLiteral("%1 of %2").arg(total).arg(fileKbit)));
    }
}

void TestProbe::thumbnail_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"h264_aac.mp4", "dvd_16x9.mpg", "dvd_4x3.mpg", "mpeg4_mp3.avi", "vp9_opus.webm",
                             "video_only.mp4", "short.mp4", "wide_221.mp4", "odd_2x1.mp4", "anamorphic.mkv"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void TestProbe::thumbnail()
{
    QFETCH(QString, file);
    KrodecProbeInfo info{};
    QCOMPARE(engine_->probe(path(file), info), 0);
    const QSize size = fitted(info);
    unsigned char *pixels = nullptr;
    int32_t seconds = -7;
    QCOMPARE(engine_->getFrame(size.width(), size.height(), "2.bmp", &pixels, &seconds), 0);
    QVERIFY(pixels);
    QVERIFY(seconds >= 0 && seconds <= std::max(1, info.seconds));
    // The test pattern is bright and coloured; a black or grey picture means a failed conversion.
    QVERIFY2(meanLevel(pixels, size.width(), size.height()) > 40, qPrintable(file));
    QVERIFY2(colourSpread(pixels, size.width(), size.height()) > 5, qPrintable(file));
    QVERIFY(!QFileInfo::exists(QStringLiteral("2.bmp")));  // the engine writes no file
}

void TestProbe::thumbnailPastBlackStart()
{
    // Second 0 of the grey clip is black; each later second is lighter.
    KrodecProbeInfo info{};
    QCOMPARE(engine_->probe(path("grey.mp4"), info), 0);
    QCOMPARE(info.seconds, 12);
    unsigned char *pixels = nullptr;
    int32_t seconds = -1;
    QCOMPARE(engine_->getFrame(160, 120, "2.bmp", &pixels, &seconds), 0);
    QVERIFY(seconds >= 1 && seconds <= 3);
    QVERIFY2(std::fabs(meanLevel(pixels, 160, 120) - greyOfSecond(seconds)) < 8,
             qPrintable(QStringLiteral("%1 at %2").arg(meanLevel(pixels, 160, 120)).arg(seconds)));
}

void TestProbe::broadcastClips_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("seconds");
    QTest::newRow("H.264 in MPEG-TS, key frames 10 s apart") << "gop10s.ts" << 12;
    QTest::newRow("MPEG-TS of 4 s, one key frame") << "onekey.ts" << 4;
    QTest::newRow("MPEG-TS from 36000 s") << "offset.ts" << 12;
    QTest::newRow("MPEG-2 program stream, one key frame in 12 s") << "gop12s.mpg" << 11;  // 11.98 s
    // Counted from the first frame, as the preview and the conversion count.
    QTest::newRow("Matroska, first frame at 10 s") << "start10.mkv" << 12;
    // The length a conversion gives: the parts one after the other, without the jump.
    QTest::newRow("two MPEG-TS recordings joined") << "joined.ts" << 8;
    QTest::newRow("MPEG-TS with a jump of 600 s") << "jump600.ts" << 8;
}

void TestProbe::broadcastClips()
{
    QFETCH(QString, file);
    QFETCH(int, seconds);
    KrodecProbeInfo info{};
    double ms = 0;
    QCOMPARE(engine_->probe(path(file), info, &ms), 0);
    qInfo("%s: %.0f ms", qPrintable(file), ms);
    QCOMPARE(info.seconds, seconds);
    QCOMPARE(info.width, 160);
    // The thumbnail is the picture of the second it reports, never a black stand-in.
    unsigned char *pixels = nullptr;
    int32_t shown = -1;
    QCOMPARE(engine_->getFrame(160, 120, "2.bmp", &pixels, &shown), 0);
    QVERIFY2(shown >= 0 && shown < seconds, qPrintable(QString::number(shown)));
    const double level = meanLevel(pixels, 160, 120);
    QVERIFY2(std::fabs(level - greyOfSecond(shown)) < 8,
             qPrintable(QStringLiteral("%1 at second %2").arg(level).arg(shown)));
}

void TestProbe::thumbnailOfAudioOnly()
{
    KrodecProbeInfo info{};
    QCOMPARE(engine_->probe(path("audio_only.m4a"), info), 0);
    unsigned char *pixels = nullptr;
    int32_t seconds = 0;
    engine_->getFrame(240, 180, "2.bmp", &pixels, &seconds);
    QVERIFY(pixels);  // a black picture: the caller copies rows whatever comes back
    QCOMPARE(meanLevel(pixels, 240, 180), 0.0);
}

void TestProbe::thumbnailStaysUntilNextCall()
{
    KrodecProbeInfo info{};
    QCOMPARE(engine_->probe(path("h264_aac.mp4"), info), 0);
    unsigned char *small = nullptr;
    unsigned char *large = nullptr;
    int32_t seconds = 0;
    QCOMPARE(engine_->getFrame(64, 48, "2.bmp", &small, &seconds), 0);
    const double smallMean = meanLevel(small, 64, 48);
    // The same frame at another size: the probe keeps the frame, not only one picture.
    QCOMPARE(engine_->getFrame(640, 480, "2.bmp", &large, &seconds), 0);
    QVERIFY(std::fabs(meanLevel(large, 640, 480) - smallMean) < 6);
    // Odd and extreme sizes are served without fault.
    QCOMPARE(engine_->getFrame(1, 1, "2.bmp", &small, &seconds), 0);
    QCOMPARE(engine_->getFrame(3, 1000, "2.bmp", &small, &seconds), 0);
    QCOMPARE(engine_->getFrame(0, 10, "2.bmp", &small, &seconds), -1);
    QCOMPARE(engine_->getFrame(10, -4, "2.bmp", &small, &seconds), -1);
}

void TestProbe::secondProbeForgetsTheFirst()
{
    KrodecProbeInfo info{};
    QCOMPARE(engine_->probe(path("h264_aac.mp4"), info), 0);
    QCOMPARE(engine_->probe(path("no such file.mp4"), info), -1);
    unsigned char *pixels = nullptr;
    int32_t seconds = 0;
    QCOMPARE(engine_->getFrame(32, 24, "2.bmp", &pixels, &seconds), -1);
    QVERIFY(pixels);
    QCOMPARE(meanLevel(pixels, 32, 24), 0.0);
}

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe.moc"
