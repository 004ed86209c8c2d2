// The conversion functions of the engine, loaded from the bundle like the program
// loads them, on clips the test makes with ffmpeg.

#include "ConvertEngine.h"
#include "MediaTools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <cmath>
#include <thread>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlowdown = 3.0;   // sanitizer builds run the encoders several times slower
#else
constexpr double kSlowdown = 1.0;
#endif

class TestConversion : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void trim_data();
    void trim();
    void volumeBoost_data();
    void volumeBoost();
    void framing_data();
    void framing();
    void interlacedSourceIsDeinterlaced();
    void interlacedAfterProgressiveIsDeinterlaced();
    void sparseFramesStayOnScreen_data();
    void sparseFramesStayOnScreen();
    void deviceLimits_data();
    void deviceLimits();
    void sync_data();
    void sync();
    void lateAudioIsPaddedWithSilence();
    void audioTrackPicksTheStream_data();
    void audioTrackPicksTheStream();
    void sourceWithoutAudioGivesVideoOnly();
    void damagedSourcesConvertWhatIsThere_data();
    void damagedSourcesConvertWhatIsThere();
    void music_data();
    void music();
    void progressRisesAndReadyIsPostedOnce();
    void failures_data();
    void failures();
    void musicFailures_data();
    void musicFailures();
    void stopFromAnotherThreadKeepsAPlayableFile();
    void stopBeforeTheFirstFrameLeavesNoFile();

private:
    QString source(const QString &name) const { return m_dir.filePath("sources/" + name); }
    QByteArray readFile(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QString freshFolder(const QString &name);
    void makeClip(const QString &name, const QStringList &arguments);
    VideoCall videoCall(const QString &sourceName, const QString &folder) const;
    // A call for a range of the source into a fresh folder named after `tag`.
    VideoCall rangeCall(const QString &sourceName, const QString &tag, const QByteArray &start,
                        const QByteArray &duration);
    double referenceLuma(int second);

    QTemporaryDir m_dir;
    ConvertEngine m_engine;
    int m_folders = 0;
    QMap<int, double> m_colourLuma;
};

namespace {

const QStringList kX264 = {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
const QStringList kAac = {"-c:a", "aac", "-ac", "2"};

} // namespace

void TestConversion::initTestCase()
{
    QVERIFY2(m_engine.isLoaded(), qPrintable(m_engine.error()));
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("sources"));

    // A flat colour per second, key frames only every 4 s so that a start at 2 needs
    // an accurate seek (decode from the key frame, drop up to the start).
    makeClip("colours.mp4", QStringList{"-f", "lavfi", "-i",
                             "nullsrc=s=320x240:r=25:d=10,geq=lum='40+15*floor(T+0.001)':cb=128:cr=128",
                             "-f", "lavfi", "-i", "sine=f=440:d=10:r=44100"}
                                + kX264 + QStringList{"-x264-params", "keyint=100:min-keyint=100:scenecut=0"}
                                + kAac + QStringList{"-shortest"});
    makeClip("tone.mp4", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=4", "-f", "lavfi", "-i",
                                     "sine=f=440:d=4:r=44100"}
                             + kX264 + kAac + QStringList{"-shortest"});
    makeClip("wide.mp4", QStringList{"-f", "lavfi", "-i", "color=c=white:s=320x180:r=25:d=1"} + kX264);
    makeClip("narrow.mp4", QStringList{"-f", "lavfi", "-i", "color=c=white:s=240x180:r=25:d=1"} + kX264);
    // Audio stamped from 1 s on while the picture starts at 0.
    makeClip("late.mkv", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=4", "-itsoffset", "1",
                                     "-f", "lavfi", "-i", "sine=f=440:d=3:r=44100"}
                             + kX264 + kAac);
    // Time stamps starting near 10000 s, as in a broadcast recording.
    makeClip("far.ts", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=4", "-f", "lavfi", "-i",
                                   "sine=f=440:d=4:r=48000"}
                           + kX264 + kAac + QStringList{"-output_ts_offset", "10000", "-shortest"});
    // Frames at irregular intervals: every third frame of each second's second half.
    makeClip("vfr.mkv", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=4", "-f", "lavfi", "-i",
                                    "sine=f=440:d=4:r=44100", "-vf",
                                    "select='lt(mod(n\\,25)\\,12)+not(mod(n\\,3))'", "-fps_mode", "vfr"}
                            + kX264 + kAac);
    // Two audio tracks: the first silent, the second a tone.
    makeClip("tracks.mkv", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=2", "-f", "lavfi", "-i",
                                       "anullsrc=r=44100:cl=stereo", "-f", "lavfi", "-i",
                                       "sine=f=440:d=2:r=44100", "-map", "0:v", "-map", "1:a", "-map", "2:a",
                                       "-t", "2"}
                               + kX264 + kAac);
    makeClip("noaudio.mp4", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=2"} + kX264);
    makeClip("mono.m4a", QStringList{"-f", "lavfi", "-i", "sine=f=440:d=3:r=22050", "-c:a", "aac", "-ac", "1"});
    // A broadcast that switches picture size and sound format midway: two streams
    // with continuing time stamps, joined byte for byte.
    makeClip("part1.ts", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=2", "-f", "lavfi", "-i",
                                     "sine=f=440:d=2:r=44100", "-ac", "1"}
                             + kX264 + QStringList{"-c:a", "aac", "-shortest"});
    makeClip("part2.ts", QStringList{"-f", "lavfi", "-i", "testsrc2=s=640x480:r=25:d=2", "-f", "lavfi", "-i",
                                     "sine=f=660:d=2:r=48000"}
                             + kX264 + kAac + QStringList{"-shortest", "-output_ts_offset", "2"});
    writeFile("switching.ts", readFile("part1.ts") + readFile("part2.ts"));
    // Damaged copies of a 4 s clip: cut in half, and a run of garbage in the middle
    // (a transport stream, which finds its way back after it).
    makeClip("whole.ts", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=4", "-f", "lavfi", "-i",
                                     "sine=f=440:d=4:r=44100"}
                             + kX264 + kAac + QStringList{"-shortest"});
    const QByteArray whole = readFile("whole.ts");
    writeFile("truncated.ts", whole.left(whole.size() / 2));
    QByteArray corrupt = whole;
    for (int i = corrupt.size() / 2; i < corrupt.size() / 2 + 4000; ++i)
        corrupt[i] = static_cast<char>((i * 7919) & 0xff);
    writeFile("corrupt.ts", corrupt);
    // A PAL camcorder's moving picture: 50 pictures a second woven into 25 interlaced
    // frames; the reference holds the pictures of the first field, whole.
    makeClip("interlaced.mpg", QStringList{"-f", "lavfi", "-i",
                                           "testsrc2=s=720x576:r=50:d=2,tinterlace=mode=interleave_top,setfield=tff",
                                           "-c:v", "mpeg2video", "-b:v", "8M", "-flags", "+ilme+ildct", "-top", "1",
                                           "-f", "dvd"});
    makeClip("progressive.mkv", QStringList{"-f", "lavfi", "-i",
                                            "testsrc2=s=720x576:r=50:d=2,select='not(mod(n\\,2))',setpts=N/25/TB",
                                            "-c:v", "libx264", "-preset", "ultrafast", "-qp", "0"});
    // A recording that starts progressive and goes on interlaced, as a broadcast after an advert.
    makeClip("progressive-part.ts", QStringList{"-f", "lavfi", "-i", "testsrc2=s=720x576:r=25:d=1", "-c:v",
                                                "mpeg2video", "-b:v", "8M"});
    makeClip("interlaced-part.ts", QStringList{"-f", "lavfi", "-i",
                                               "testsrc2=s=720x576:r=50:d=2,tinterlace=mode=interleave_top,setfield=tff",
                                               "-c:v", "mpeg2video", "-b:v", "8M", "-flags", "+ilme+ildct", "-top", "1",
                                               "-output_ts_offset", "1"});
    writeFile("switching-interlace.ts", readFile("progressive-part.ts") + readFile("interlaced-part.ts"));
    // A slide show: one picture every 5 s.
    makeClip("slides.mkv", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=1/5:d=20"} + kX264);
    writeFile("empty.mp4", QByteArray());
    QFile text(source("notmedia.mp4"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("this is not a video\n");
}

void TestConversion::makeClip(const QString &name, const QStringList &arguments)
{
    QString errors;
    QVERIFY2(media::ffmpeg(arguments + QStringList{source(name)}, &errors), qPrintable(errors));
}

QByteArray TestConversion::readFile(const QString &name) const
{
    QFile file(source(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestConversion::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(source(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QString TestConversion::freshFolder(const QString &name)
{
    const QString path = m_dir.filePath(QString("out%1-%2").arg(++m_folders).arg(name));
    QDir().mkpath(path);
    return path;
}

VideoCall TestConversion::videoCall(const QString &sourceName, const QString &folder) const
{
    VideoCall call;
    call.sourcePath = source(sourceName).toUtf8();
    call.destPath = (folder + "/0001.mp4").toUtf8();
    return call;
}

VideoCall TestConversion::rangeCall(const QString &sourceName, const QString &tag, const QByteArray &start,
                                    const QByteArray &duration)
{
    VideoCall call = videoCall(sourceName, freshFolder(tag));
    call.startTime = start;
    call.duration = duration;
    return call;
}

// The luma of second k of the colour clip as the same decoder path reads it.
double TestConversion::referenceLuma(int second)
{
    if (!m_colourLuma.contains(second)) {
        const QSize size(32, 24);
        m_colourLuma[second] = media::average(media::lumaFrame(source("colours.mp4"), second + 0.5, size),
                                              size, 0, 0, 32, 24);
    }
    return m_colourLuma[second];
}

void TestConversion::trim_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("firstSecond");
    QTest::addColumn<int>("lastSecond");
    QTest::newRow("start 2 for 3") << QByteArray("2") << QByteArray("3") << 3.0 << 2 << 4;
    QTest::newRow("start 7, duration 0 runs to the end") << QByteArray("7") << QByteArray("0") << 3.0 << 7 << 9;
    QTest::newRow("whole clip") << QByteArray("0") << QByteArray("0") << 10.0 << 0 << 9;
    QTest::newRow("first second") << QByteArray("0") << QByteArray("1") << 1.0 << 0 << 0;
}

void TestConversion::trim()
{
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, duration);
    QFETCH(double, length);
    QFETCH(int, firstSecond);
    QFETCH(int, lastSecond);

    const VideoCall call = rangeCall("colours.mp4", "trim", start, duration);
    QCOMPARE(callVideo(m_engine, call), 0);

    const QString out = call.destPath;
    const QJsonObject probed = media::probe(out);
    const QJsonObject video = media::stream(probed, "video");
    const QJsonObject audio = media::stream(probed, "audio");
    QVERIFY(!video.isEmpty() && !audio.isEmpty());
    for (const QJsonObject &s : {video, audio}) {
        QVERIFY2(std::fabs(media::number(s.value("start_time"))) < 0.03, qPrintable(s.value("start_time").toString()));
        QVERIFY2(std::fabs(media::number(s.value("duration")) - length) < 0.1, qPrintable(s.value("duration").toString()));
    }
    // Every frame of the range at 25 a second, the last one included.
    QCOMPARE(media::number(video.value("nb_frames")), length * 25);

    const QSize size(32, 24);
    const double first = media::average(media::lumaFrame(out, 0, size), size, 0, 0, 32, 24);
    const double last = media::average(media::lastLumaFrame(out, size), size, 0, 0, 32, 24);
    QVERIFY2(std::fabs(first - referenceLuma(firstSecond)) < 5, qPrintable(QString::number(first)));
    QVERIFY2(std::fabs(last - referenceLuma(lastSecond)) < 5, qPrintable(QString::number(last)));

    // Progress counts from the start time, never from the start of the file.
    int32_t info[3] = {};
    m_engine.getInfo()(info);
    QVERIFY(info[0] <= length);
    QVERIFY(info[0] >= length - 1.5);
}

void TestConversion::volumeBoost_data()
{
    QTest::addColumn<QByteArray>("volume");
    QTest::addColumn<double>("gain");
    QTest::newRow("+3 dB") << QByteArray("3") << 3.0;
    QTest::newRow("+6 dB") << QByteArray("6") << 6.0;
    QTest::newRow("+9 dB") << QByteArray("9") << 9.0;
}

void TestConversion::volumeBoost()
{
    QFETCH(QByteArray, volume);
    QFETCH(double, gain);
    const QString folder = freshFolder("volume");
    VideoCall plain = videoCall("tone.mp4", folder);
    plain.duration = "2";
    VideoCall boosted = plain;
    boosted.volume = volume;
    boosted.destPath = (folder + "/0002.mp4").toUtf8();
    QCOMPARE(callVideo(m_engine, plain), 0);
    QCOMPARE(callVideo(m_engine, boosted), 0);
    const double before = media::loudness(plain.destPath, 0.2, 1.5).mean;
    const double after = media::loudness(boosted.destPath, 0.2, 1.5).mean;
    QVERIFY2(std::fabs(after - before - gain) < 1.0,
             qPrintable(QString("%1 dB -> %2 dB").arg(before).arg(after)));
}

void TestConversion::framing_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("picture");
    QTest::newRow("16:9 letterboxed in 4:3") << "wide.mp4" << QSize(320, 240) << QSize(320, 180);
    QTest::newRow("4:3 pillarboxed in 16:9") << "narrow.mp4" << QSize(320, 180) << QSize(240, 180);
}

void TestConversion::framing()
{
    QFETCH(QString, clip);
    QFETCH(QSize, frame);
    QFETCH(QSize, picture);
    const QString folder = freshFolder("framing");
    VideoCall call = videoCall(clip, folder);
    call.frameSize = QString("%1:%2").arg(frame.width()).arg(frame.height()).toUtf8();
    call.pictureSize = QString("%1:%2").arg(picture.width()).arg(picture.height()).toUtf8();
    QCOMPARE(callVideo(m_engine, call), 0);

    const QJsonObject video = media::stream(media::probe(call.destPath), "video");
    QCOMPARE(video.value("width").toInt(), frame.width());
    QCOMPARE(video.value("height").toInt(), frame.height());
    const QByteArray luma = media::lumaFrame(call.destPath, 0.5, frame);
    // Bars on both sides of the white picture, with a margin for the encoder's edges.
    const int barW = (frame.width() - picture.width()) / 2, barH = (frame.height() - picture.height()) / 2;
    const bool rows = barH > 0;
    const int bar = rows ? barH : barW;
    const auto band = [&](int from, int thickness) {
        return rows ? media::average(luma, frame, 0, from, frame.width(), thickness)
                    : media::average(luma, frame, from, 0, thickness, frame.height());
    };
    const int extent = rows ? frame.height() : frame.width();
    QVERIFY2(band(2, bar - 6) < 30, "first bar is not black");
    QVERIFY2(band(extent - bar + 4, bar - 6) < 30, "second bar is not black");
    QVERIFY2(band(bar + 6, extent - 2 * bar - 12) > 200, "picture is not in the middle");
}

void TestConversion::interlacedSourceIsDeinterlaced()
{
    const QString folder = freshFolder("interlaced");
    VideoCall call = videoCall("interlaced.mpg", folder);
    call.videoBitRate = "1500";
    QCOMPARE(callVideo(m_engine, call), 0);
    // Every frame comes out, the last one too, which the deinterlacer holds back until the end.
    QCOMPARE(media::number(media::stream(media::probe(call.destPath), "video").value("nb_frames")), 50.0);
    // Woven fields scaled as they are come out near 0.98, combs on every edge that moves.
    const double similarity = media::ssim(call.destPath, source("progressive.mkv"), QSize(320, 240));
    QVERIFY2(similarity > 0.99, qPrintable(QString::number(similarity)));
}

void TestConversion::interlacedAfterProgressiveIsDeinterlaced()
{
    const QString folder = freshFolder("switching-interlace");
    VideoCall call = videoCall("switching-interlace.ts", folder);
    call.videoBitRate = "1500";
    QCOMPARE(callVideo(m_engine, call), 0);
    // The interlaced part begins in the output where its time stamps begin after the first part's.
    const auto startOf = [this](const char *name) {
        return media::number(media::stream(media::probe(source(name)), "video").value("start_time"));
    };
    const double from = startOf("interlaced-part.ts") - startOf("progressive-part.ts");
    QVERIFY2(from > 0.9 && from < 1.1, qPrintable(QString::number(from)));
    const double similarity = media::ssim(call.destPath, source("progressive.mkv"), QSize(320, 240), from);
    QVERIFY2(similarity > 0.99, qPrintable(QString::number(similarity)));
}

void TestConversion::sparseFramesStayOnScreen_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<int>("frames");
    QTest::newRow("whole show, the last picture for its 5 s") << QByteArray("0") << QByteArray("0") << 500;
    QTest::newRow("inside the first picture, cut before the second") << QByteArray("2") << QByteArray("2") << 50;
    QTest::newRow("inside the last picture") << QByteArray("17") << QByteArray("0") << 75;
}

void TestConversion::sparseFramesStayOnScreen()
{
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, duration);
    QFETCH(int, frames);
    const VideoCall call = rangeCall("slides.mkv", "slides", start, duration);
    QCOMPARE(callVideo(m_engine, call), 0);
    QCOMPARE(media::number(media::stream(media::probe(call.destPath), "video").value("nb_frames")),
             static_cast<double>(frames));
}

void TestConversion::deviceLimits_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QByteArray>("size");
    QTest::addColumn<QByteArray>("rate");
    QTest::addColumn<QByteArray>("kbps");
    QTest::addColumn<QSize>("outSize");
    QTest::addColumn<double>("outRate");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("x264");      // settings the encoder wrote into the stream
    QTest::addColumn<QString>("brand");

    QTest::newRow("iPod H.264 asked for 720p at 60 fps")
        << 0 << QByteArray("h264") << QByteArray("1280:720") << QByteArray("60") << QByteArray("5000")
        << QSize(640, 360) << 30.0 << "Baseline" << 30
        << QStringList{"cabac=0", "ref=1", "bframes=0", "8x8dct=0", "weightp=0", "vbv_maxrate=1500", "vbv_bufsize=2000"}
        << "M4V ";
    QTest::newRow("iPod H.264 QVGA is level 1.3")
        << 0 << QByteArray("h264") << QByteArray("320:240") << QByteArray("29.97") << QByteArray("1500")
        << QSize(320, 240) << 29.97 << "Baseline" << 13
        << QStringList{"cabac=0", "ref=1", "bframes=0", "vbv_maxrate=768", "vbv_bufsize=2000"} << "M4V ";
    QTest::newRow("Apple TV asked for 1080p at 29.97")
        << 3 << QByteArray("h264") << QByteArray("1920:1080") << QByteArray("29.97") << QByteArray("8000")
        << QSize(1280, 720) << 23.976 << "Main" << 31
        << QStringList{"cabac=0", "ref=2", "bframes=3", "b_pyramid=0", "weightp=0", "vbv_maxrate=5000"} << "isom";
    QTest::newRow("iPhone MPEG-4")
        << 2 << QByteArray("mpeg4") << QByteArray("640:480") << QByteArray("30") << QByteArray("3000")
        << QSize(640, 480) << 30.0 << "Simple Profile" << 4 << QStringList{} << "isom";
    QTest::newRow("Apple TV MPEG-4 asked for 720p")
        << 3 << QByteArray("xvid") << QByteArray("1280:720") << QByteArray("25") << QByteArray("3000")
        << QSize(720, 404) << 25.0 << "Simple Profile" << 4 << QStringList{} << "isom";
}

void TestConversion::deviceLimits()
{
    QFETCH(int, device);
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, size);
    QFETCH(QByteArray, rate);
    QFETCH(QByteArray, kbps);
    QFETCH(QSize, outSize);
    QFETCH(double, outRate);
    QFETCH(QString, profile);
    QFETCH(int, level);
    QFETCH(QStringList, x264);
    QFETCH(QString, brand);

    const QString folder = freshFolder("limits");
    VideoCall call = videoCall("tone.mp4", folder);
    call.deviceType = device;
    call.videoFormat = format;
    call.frameSize = size;
    call.pictureSize = size;
    call.frameRate = rate;
    call.videoBitRate = kbps;
    call.sampleRate = "96000";
    call.audioBitRate = "512";
    call.duration = "1";
    QCOMPARE(callVideo(m_engine, call), 0);

    const QJsonObject probed = media::probe(call.destPath);
    const QJsonObject video = media::stream(probed, "video");
    const QJsonObject audio = media::stream(probed, "audio");
    QCOMPARE(QSize(video.value("width").toInt(), video.value("height").toInt()), outSize);
    QCOMPARE(video.value("pix_fmt").toString(), QString("yuv420p"));
    QCOMPARE(video.value("sample_aspect_ratio").toString(), QString("1:1"));
    QVERIFY(std::fabs(media::ratio(video.value("avg_frame_rate")) - outRate) < 0.01);
    QVERIFY2(video.value("profile").toString().contains(profile), qPrintable(video.value("profile").toString()));
    QCOMPARE(video.value("level").toInt(), level);
    const QByteArray bytes = [&] { QFile f(call.destPath); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    for (const QString &setting : x264)
        QVERIFY2(bytes.contains(" " + setting.toUtf8() + " "), qPrintable(setting));
    if (format == "mpeg4" || format == "xvid")
        QCOMPARE(video.value("has_b_frames").toInt(), 0);
    QCOMPARE(probed.value("format").toObject().value("tags").toObject().value("major_brand").toString(), brand);
    // Audio: AAC-LC stereo at no more than 48 kHz, at most the device's bit rate.
    QCOMPARE(audio.value("codec_name").toString(), QString("aac"));
    QCOMPARE(audio.value("profile").toString(), QString("LC"));
    QCOMPARE(audio.value("channels").toInt(), 2);
    QCOMPARE(audio.value("sample_rate").toString(), QString("48000"));
    QVERIFY(media::number(audio.value("bit_rate")) <= (device == 3 ? 330000 : 170000));
}

void TestConversion::sync_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<double>("length");
    QTest::newRow("audio starting late") << "late.mkv" << QByteArray("0") << QByteArray("0") << 4.0;
    QTest::newRow("time stamps far from zero") << "far.ts" << QByteArray("0") << QByteArray("0") << 4.0;
    QTest::newRow("far time stamps, trimmed") << "far.ts" << QByteArray("1") << QByteArray("2") << 2.0;
    QTest::newRow("variable frame rate") << "vfr.mkv" << QByteArray("0") << QByteArray("0") << 4.0;
    QTest::newRow("picture size and sound format change midway") << "switching.ts" << QByteArray("0")
                                                                 << QByteArray("0") << 4.0;
}

void TestConversion::sync()
{
    QFETCH(QString, clip);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, duration);
    QFETCH(double, length);
    const VideoCall call = rangeCall(clip, "sync", start, duration);
    QCOMPARE(callVideo(m_engine, call), 0);

    const QJsonObject probed = media::probe(call.destPath);
    const QJsonObject video = media::stream(probed, "video");
    const QJsonObject audio = media::stream(probed, "audio");
    QVERIFY(!video.isEmpty() && !audio.isEmpty());
    const double videoLength = media::number(video.value("duration"));
    const double audioLength = media::number(audio.value("duration"));
    QVERIFY2(std::fabs(media::number(video.value("start_time"))) < 0.03, "video does not start at 0");
    QVERIFY2(std::fabs(media::number(audio.value("start_time"))) < 0.03, "audio does not start at 0");
    QVERIFY2(std::fabs(videoLength - length) < 0.15, qPrintable(QString::number(videoLength)));
    QVERIFY2(std::fabs(audioLength - videoLength) < 0.15, qPrintable(QString::number(audioLength)));
    // A constant 25 frames a second, whatever the source's spacing.
    QVERIFY(std::fabs(media::number(video.value("nb_frames")) - videoLength * 25) <= 2);
    QCOMPARE(video.value("r_frame_rate").toString(), QString("25/1"));
}

void TestConversion::lateAudioIsPaddedWithSilence()
{
    QVERIFY(media::number(media::stream(media::probe(source("late.mkv")), "audio").value("start_time")) > 0.9);
    const QString folder = freshFolder("late");
    const VideoCall call = videoCall("late.mkv", folder);
    QCOMPARE(callVideo(m_engine, call), 0);
    // The tone stays at 1 s of the picture: silence before it, sound after.
    QVERIFY(media::loudness(call.destPath, 0.0, 0.9).max < -50);
    QVERIFY(media::loudness(call.destPath, 1.2, 1.5).mean > -30);
}

void TestConversion::audioTrackPicksTheStream_data()
{
    QTest::addColumn<QByteArray>("track");
    QTest::addColumn<bool>("loud");
    QTest::newRow("track 0 is the first audio stream (silent)") << QByteArray("0") << false;
    QTest::newRow("track 1 is the second (a tone)") << QByteArray("1") << true;
}

void TestConversion::audioTrackPicksTheStream()
{
    QFETCH(QByteArray, track);
    QFETCH(bool, loud);
    const QString folder = freshFolder("track");
    VideoCall call = videoCall("tracks.mkv", folder);
    call.audioTrack = track;
    QCOMPARE(callVideo(m_engine, call), 0);
    const double level = media::loudness(call.destPath, 0.2, 1.5).mean;
    QVERIFY2(loud ? level > -30 : level < -60, qPrintable(QString::number(level)));
}

void TestConversion::sourceWithoutAudioGivesVideoOnly()
{
    const QString folder = freshFolder("noaudio");
    const VideoCall call = videoCall("noaudio.mp4", folder);
    QCOMPARE(callVideo(m_engine, call), 0);
    const QJsonObject probed = media::probe(call.destPath);
    QCOMPARE(media::streamCount(probed), 1);
    QCOMPARE(media::stream(probed, "video").value("codec_name").toString(), QString("h264"));
    QVERIFY(media::decodesCleanly(call.destPath));
}

void TestConversion::damagedSourcesConvertWhatIsThere_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<double>("minLength");
    QTest::addColumn<double>("maxLength");
    QTest::newRow("cut in half") << "truncated.ts" << 1.0 << 3.0;
    QTest::newRow("garbage in the middle") << "corrupt.ts" << 3.5 << 4.1;
}

void TestConversion::damagedSourcesConvertWhatIsThere()
{
    QFETCH(QString, clip);
    QFETCH(double, minLength);
    QFETCH(double, maxLength);
    const QString folder = freshFolder("damaged");
    const VideoCall call = videoCall(clip, folder);
    QCOMPARE(callVideo(m_engine, call), 0);
    const double length = media::number(media::probe(call.destPath).value("format").toObject().value("duration"));
    QVERIFY2(length >= minLength && length <= maxLength, qPrintable(QString::number(length)));
    QVERIFY(media::decodesCleanly(call.destPath));
}

void TestConversion::music_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<double>("length");
    QTest::newRow("mono AAC at 22.05 kHz") << "mono.m4a" << QByteArray("0") << QByteArray("0") << 3.0;
    QTest::newRow("sound of a video, trimmed") << "tone.mp4" << QByteArray("1") << QByteArray("2") << 2.0;
}

void TestConversion::music()
{
    QFETCH(QString, clip);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, duration);
    QFETCH(double, length);
    const QString folder = freshFolder("music");
    MusicCall call;
    call.sourcePath = source(clip).toUtf8();
    call.destPath = (folder + "/0001.mp3").toUtf8();
    call.startTime = start;
    call.duration = duration;
    call.title = "Song 0001";
    call.artist = "Tester";
    QCOMPARE(callMusic(m_engine, call), 0);

    const QJsonObject probed = media::probe(call.destPath);
    const QJsonObject format = probed.value("format").toObject();
    const QJsonObject audio = media::stream(probed, "audio");
    QCOMPARE(format.value("format_name").toString(), QString("mp3"));
    QCOMPARE(media::streamCount(probed), 1);
    QCOMPARE(audio.value("codec_name").toString(), QString("mp3"));
    QCOMPARE(audio.value("channels").toInt(), 2);
    QCOMPARE(audio.value("sample_rate").toString(), QString("44100"));
    QVERIFY(std::fabs(media::number(audio.value("bit_rate")) - 128000) < 2000);
    QVERIFY2(std::fabs(media::number(format.value("duration")) - length) < 0.1,
             qPrintable(format.value("duration").toString()));
    const QJsonObject tags = format.value("tags").toObject();
    QCOMPARE(tags.value("title").toString(), QString("Song 0001"));
    QCOMPARE(tags.value("artist").toString(), QString("Tester"));
    QCOMPARE(tags.value("album").toString(), QString("Unknown"));
    QFile file(call.destPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(16384);
    QVERIFY(head.startsWith("ID3\x03"));   // ID3v2.3
    QVERIFY(head.contains("Xing") || head.contains("Info"));
}

void TestConversion::progressRisesAndReadyIsPostedOnce()
{
    const QString folder = freshFolder("progress");
    VideoCall call = videoCall("colours.mp4", folder);
    call.frameSize = call.pictureSize = "640:480";
    RecordingWindow window;
    int32_t result = -2;
    std::thread worker([&] { result = callVideo(m_engine, call, &window.window); });

    struct Sample {
        int32_t seconds, fps, frame;
    };
    std::vector<Sample> samples;
    int32_t refused = 0;
    bool triedSecond = false;
    const QString second = freshFolder("second");
    QElapsedTimer clock;
    clock.start();
    while (result == -2 && clock.elapsed() < 120000) {
        int32_t info[3] = {};
        QCOMPARE(m_engine.getInfo()(info), 0);
        if (window.ready > 0)
            samples.push_back({info[0], info[1], info[2]});
        // Counters keep the last call's values until the next call starts; the ready
        // message says this call is under way.
        if (window.ready > 0 && !triedSecond) {
            // One conversion at a time: a second call is refused and writes nothing.
            VideoCall other = videoCall("tone.mp4", second);
            refused = callVideo(m_engine, other);
            triedSecond = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.join();
    QCOMPARE(result, 0);
    QVERIFY(triedSecond);
    QCOMPARE(refused, -1);
    QVERIFY(media::entries(second).isEmpty());

    int changes = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        QVERIFY(samples[i].seconds >= samples[i - 1].seconds);
        QVERIFY(samples[i].frame >= samples[i - 1].frame);
        changes += samples[i].frame != samples[i - 1].frame;
    }
    for (const Sample &s : samples)
        QVERIFY((s.frame > 0) == (s.fps > 0));   // 0 in either means still seeking
    QVERIFY2(changes >= 2, "the frame counter did not rise during the conversion");
    int32_t info[3] = {};
    m_engine.getInfo()(info);
    QCOMPARE(info[0], 9);
    QVERIFY(std::abs(info[2] - 250) <= 1);
    QCOMPARE(window.ready.load(), 1);
    QCOMPARE(window.other.load(), 0);
}

void TestConversion::failures_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("source missing") << 3 << "<missing>";
    QTest::newRow("source is not media") << 3 << "<notmedia>";
    QTest::newRow("source is an empty file") << 3 << "<emptyfile>";
    QTest::newRow("source is a folder") << 3 << "<folder>";
    QTest::newRow("null source") << 3 << "<null>";
    QTest::newRow("destination folder missing") << 20 << "<nofolder>";
    QTest::newRow("destination folder read-only") << 20 << "<readonly>";
    QTest::newRow("destination on a read-only file system") << 20 << "/proc/0001.mp4";
    QTest::newRow("destination is the source") << 20 << "<source>";
    QTest::newRow("destination is a folder") << 20 << "<outfolder>";
    QTest::newRow("null destination") << 20 << "<null>";
    QTest::newRow("null volume") << 21 << "<null>";
    QTest::newRow("frame size nodef") << 13 << "nodef";
    QTest::newRow("picture of width 0") << 12 << "0:240";
    QTest::newRow("negative frame") << 13 << "-320:240";
    QTest::newRow("unknown video format") << 8 << "wmv";
    QTest::newRow("unknown file format") << 9 << "avi";
    QTest::newRow("frame rate nodef") << 17 << "nodef";
    QTest::newRow("empty sample rate") << 6 << "";
    QTest::newRow("audio bit rate 0") << 11 << "0";
    QTest::newRow("negative video bit rate") << 10 << "-5";
    QTest::newRow("start past the end") << 5 << "100";
    QTest::newRow("a subtitle asked for") << 19 << "0";
    QTest::newRow("audio track that is not there") << 18 << "3";
    QTest::newRow("duration in words") << 22 << "abc";
}

void TestConversion::failures()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    if (text == "<readonly>" && geteuid() == 0)
        QSKIP("root writes into read-only folders");
    const QString folder = freshFolder("fail");
    VideoCall call = videoCall("tone.mp4", folder);
    call.duration = "1";
    const QMap<QString, QString> paths{
        {"<missing>", source("missing.mp4")},     {"<notmedia>", source("notmedia.mp4")},
        {"<emptyfile>", source("empty.mp4")},
        {"<folder>", m_dir.filePath("sources")},  {"<audioonly>", source("mono.m4a")},
        {"<nofolder>", folder + "/none/0001.mp4"}, {"<readonly>", folder + "/locked/0001.mp4"},
        {"<source>", source("tone.mp4")},         {"<outfolder>", folder}};
    if (text == "<readonly>") {
        QDir(folder).mkdir("locked");
        QFile::setPermissions(folder + "/locked", QFile::ReadOwner | QFile::ExeOwner);
    }
    QByteArray *field = position == 3 ? &call.sourcePath : position == 5 ? &call.startTime
                      : position == 6 ? &call.sampleRate : position == 8 ? &call.videoFormat
                      : position == 9 ? &call.fileFormat : position == 10 ? &call.videoBitRate
                      : position == 11 ? &call.audioBitRate : position == 12 ? &call.pictureSize
                      : position == 13 ? &call.frameSize : position == 17 ? &call.frameRate
                      : position == 18 ? &call.audioTrack : position == 19 ? &call.subtitle
                      : position == 20 ? &call.destPath : position == 21 ? &call.volume : &call.duration;
    if (text == "<null>")
        call.nullPositions.insert(position);
    else
        *field = paths.value(text, text).toUtf8();
    const QStringList sourcesBefore = media::entries(m_dir.filePath("sources"));

    QCOMPARE(callVideo(m_engine, call), -1);
    QFile::setPermissions(folder + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QStringList left = media::entries(folder);
    left.removeAll("locked");
    left.removeAll("none");
    QVERIFY2(left.isEmpty(), qPrintable(left.join(", ")));
    QCOMPARE(media::entries(m_dir.filePath("sources")), sourcesBefore);
    QVERIFY(media::entries(folder + "/locked").isEmpty());
    QVERIFY(media::entries(m_dir.path()).filter(".part").isEmpty());
}

void TestConversion::musicFailures_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("source without sound") << 3 << "<noaudio>";
    QTest::newRow("sample rate nodef") << 6 << "nodef";
    QTest::newRow("bit rate 0") << 7 << "0";
    QTest::newRow("null title") << 8 << "<null>";
    QTest::newRow("destination is the source") << 12 << "<source>";
    QTest::newRow("start past the end") << 5 << "100";
    QTest::newRow("volume nonsense") << 13 << "x";
}

void TestConversion::musicFailures()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    const QString folder = freshFolder("musicfail");
    MusicCall call;
    call.sourcePath = source("mono.m4a").toUtf8();
    call.destPath = (folder + "/0001.mp3").toUtf8();
    QByteArray *field = position == 3 ? &call.sourcePath : position == 5 ? &call.startTime
                      : position == 6 ? &call.sampleRate : position == 7 ? &call.audioBitRate
                      : position == 8 ? &call.title : position == 12 ? &call.destPath : &call.volume;
    if (text == "<null>")
        call.nullPositions.insert(position);
    else if (text == "<noaudio>")
        *field = source("noaudio.mp4").toUtf8();
    else if (text == "<source>")
        *field = source("mono.m4a").toUtf8();
    else
        *field = text.toUtf8();
    QCOMPARE(callMusic(m_engine, call), -1);
    QVERIFY(media::entries(folder).isEmpty());
}

void TestConversion::stopFromAnotherThreadKeepsAPlayableFile()
{
    makeClip("big.mp4", QStringList{"-f", "lavfi", "-i", "testsrc2=s=1920x1080:r=25:d=8", "-f", "lavfi", "-i",
                                    "sine=f=440:d=8:r=48000"}
                            + kX264 + kAac + QStringList{"-shortest"});
    const QString folder = freshFolder("stop");
    VideoCall call = videoCall("big.mp4", folder);
    call.deviceType = 3;
    call.frameSize = call.pictureSize = "1280:720";
    call.frameRate = "23.976";
    call.videoBitRate = "4500";

    std::atomic<int32_t> result{-2};
    std::atomic<int64_t> returnedAt{0};
    QElapsedTimer clock;
    clock.start();
    std::thread worker([&] {
        result = callVideo(m_engine, call);
        returnedAt = clock.nsecsElapsed();
    });
    int32_t info[3] = {};
    // Stop once a second of output is done: on a busy machine that may take longer than a second.
    while (result == -2 && (info[0] < 1 || clock.elapsed() < 1000) && clock.elapsed() < 120000) {
        m_engine.getInfo()(info);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const bool stillRunning = result == -2;
    const int64_t stoppedAt = clock.nsecsElapsed();
    m_engine.stopConvert()();
    worker.join();
    QVERIFY2(stillRunning, "the conversion ended before it could be stopped");
    QCOMPARE(result.load(), 0);
    const double seconds = static_cast<double>(returnedAt - stoppedAt) / 1e9;
    QVERIFY2(seconds < 1.0 * kSlowdown, qPrintable(QString("returned %1 s after the stop").arg(seconds)));

    QCOMPARE(media::entries(folder), QStringList{"0001.mp4"});
    const QJsonObject probed = media::probe(call.destPath);
    const double length = media::number(probed.value("format").toObject().value("duration"));
    QVERIFY2(length > 0.5 && length < 7.5, qPrintable(QString::number(length)));
    QCOMPARE(media::stream(probed, "video").value("width").toInt(), 1280);
    QString errors;
    QVERIFY2(media::decodesCleanly(call.destPath, &errors), qPrintable(errors));
}

void TestConversion::stopBeforeTheFirstFrameLeavesNoFile()
{
    // The poll starts before the call, so a stop can come first: it stops that call,
    // which has nothing to keep, and is used up by it.
    const QString folder = freshFolder("early");
    const VideoCall call = videoCall("tone.mp4", folder);
    QCOMPARE(m_engine.stopConvert()(), 0);
    QCOMPARE(callVideo(m_engine, call), 0);
    QVERIFY(media::entries(folder).isEmpty());
    QCOMPARE(callVideo(m_engine, call), 0);
    QCOMPARE(media::entries(folder), QStringList{"0001.mp4"});
}

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
