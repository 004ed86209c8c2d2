// The conversion functions on sources that used to hold the engine or fail it: damaged time
// stamps, long gaps, reads that block, sources without a picture; and the MPEG-4 level.

#include "ConvertEngine.h"
#include "MediaTools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlowdown = 3.0;   // sanitizer builds run the encoders several times slower
#else
constexpr double kSlowdown = 1.0;
#endif

namespace {

const QStringList kX264 = {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
const QStringList kAac = {"-c:a", "aac", "-ac", "2"};

// A flat grey that brightens by 15 every second, as in the conversion tests.
double colourOfSecond(int second) { return 40 + 15 * second; }

// Overwrites the time stamps (PTS, and DTS when present) of one PES packet of an MPEG transport
// stream: the `fraction`-th of those starting on `pid`, set to `seconds`.
bool stampPes(QByteArray &ts, int pid, double fraction, double seconds)
{
    QList<int> starts;
    for (int at = 0; at + 188 <= ts.size(); at += 188) {
        const auto *p = reinterpret_cast<const unsigned char *>(ts.constData() + at);
        if (p[0] != 0x47 || !(p[1] & 0x40) || (((p[1] & 0x1f) << 8) | p[2]) != pid)
            continue;
        int payload = 4;
        if (p[3] & 0x20)
            payload += 1 + p[4];
        if (payload + 19 <= 188 && p[payload] == 0 && p[payload + 1] == 0 && p[payload + 2] == 1)
            starts.append(at + payload);
    }
    if (starts.isEmpty())
        return false;
    const int pes = starts[static_cast<int>(starts.size() * fraction)];
    const int flags = static_cast<unsigned char>(ts[pes + 7]) >> 6;
    const auto value = static_cast<quint64>(seconds * 90000);
    const auto write = [&](int at, int prefix) {
        ts[at] = static_cast<char>((prefix << 4) | (((value >> 30) & 7) << 1) | 1);
        ts[at + 1] = static_cast<char>((value >> 22) & 0xff);
        ts[at + 2] = static_cast<char>((((value >> 15) & 0x7f) << 1) | 1);
        ts[at + 3] = static_cast<char>((value >> 7) & 0xff);
        ts[at + 4] = static_cast<char>(((value & 0x7f) << 1) | 1);
    };
    if (flags < 2)
        return false;
    write(pes + 9, flags == 3 ? 3 : 2);
    if (flags == 3)
        write(pes + 14, 1);
    return true;
}

// Sizes in bytes of the video packets of a file, in decoding order.
QList<int> videoPacketSizes(const QString &path)
{
    QProcess process;
    process.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries", "packet=size", "-of",
                              "csv=p=0", path});
    process.waitForFinished(120000);
    QList<int> sizes;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (!line.trimmed().isEmpty())
            sizes.append(line.trimmed().toInt());
    }
    return sizes;
}

} // namespace

class TestRobustness : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void damagedTimeStampsCostNothing_data();
    void damagedTimeStampsCostNothing();
    void stopEndsALongGapWithinASecond_data();
    void stopEndsALongGapWithinASecond();
    void soundMovesProgressWhileThePictureWaits();
    void stopEndsAReadThatWaits_data();
    void stopEndsAReadThatWaits();
    void soundWithoutPictureGivesAnAacFile_data();
    void soundWithoutPictureGivesAnAacFile();
    void mpeg4StaysInsideItsLevel_data();
    void mpeg4StaysInsideItsLevel();

private:
    QString source(const QString &name) const { return m_dir.filePath("sources/" + name); }
    void makeClip(const QString &name, const QStringList &arguments);
    QString freshFolder(const QString &name);
    VideoCall videoCall(const QString &sourceName, const QString &folder) const;
    // Runs the call on a thread, stops it once X_Get_Info shows output and `after` has passed,
    // and tells how long after the stop it returned.
    struct Stopped {
        int32_t result = -2;
        bool stillRunning = false;
        bool progressMoved = false;
        int32_t info[3] = {};   // X_Get_Info just before the stop
        double secondsAfterStop = 0;
    };
    template <typename Call> Stopped stopWhileRunning(Call call, int afterMilliseconds, bool waitForOutput);

    QTemporaryDir m_dir;
    ConvertEngine m_engine;
    int m_folders = 0;
};

void TestRobustness::initTestCase()
{
    QVERIFY2(m_engine.isLoaded(), qPrintable(m_engine.error()));
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("sources"));
}

void TestRobustness::makeClip(const QString &name, const QStringList &arguments)
{
    QString errors;
    QVERIFY2(media::ffmpeg(arguments + QStringList{source(name)}, &errors), qPrintable(errors));
}

QString TestRobustness::freshFolder(const QString &name)
{
    const QString path = m_dir.filePath(QString("out%1-%2").arg(++m_folders).arg(name));
    QDir().mkpath(path);
    return path;
}

VideoCall TestRobustness::videoCall(const QString &sourceName, const QString &folder) const
{
    VideoCall call;
    call.sourcePath = source(sourceName).toUtf8();
    call.destPath = (folder + "/0001.mp4").toUtf8();
    return call;
}

template <typename Call>
TestRobustness::Stopped TestRobustness::stopWhileRunning(Call call, int afterMilliseconds, bool waitForOutput)
{
    Stopped outcome;
    std::atomic<int32_t> result{-2};
    std::atomic<int64_t> returnedAt{0};
    QElapsedTimer clock;
    clock.start();
    std::thread worker([&] {
        result = call();
        returnedAt = clock.nsecsElapsed();
    });
    int32_t info[3] = {};
    while (result == -2 && clock.elapsed() < 120000
           && ((waitForOutput && info[2] == 0) || clock.elapsed() < afterMilliseconds)) {
        m_engine.getInfo()(info);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    outcome.progressMoved = info[1] > 0 && info[2] > 0;
    std::copy(info, info + 3, outcome.info);
    outcome.stillRunning = result == -2;
    const int64_t stoppedAt = clock.nsecsElapsed();
    // A stop after the call would be kept for the next one.
    if (outcome.stillRunning)
        m_engine.stopConvert()();
    worker.join();
    outcome.result = result;
    outcome.secondsAfterStop = static_cast<double>(returnedAt - stoppedAt) / 1e9;
    return outcome;
}

void TestRobustness::damagedTimeStampsCostNothing_data()
{
    QTest::addColumn<int>("pid");
    // ffmpeg's transport streams carry the picture on PID 0x100 and the sound on 0x101.
    QTest::newRow("one sound packet dated 21 hours on") << 0x101;
    QTest::newRow("one picture dated 21 hours on") << 0x100;
}

void TestRobustness::damagedTimeStampsCostNothing()
{
    QFETCH(int, pid);
    const QString name = QString("damaged-%1.ts").arg(pid);
    makeClip(name, QStringList{"-f", "lavfi", "-i",
                               "nullsrc=s=320x240:r=25:d=8,geq=lum='40+15*floor(T+0.001)':cb=128:cr=128",
                               "-f", "lavfi", "-i", "sine=f=440:d=8:r=48000"}
                       + kX264 + kAac + QStringList{"-shortest"});
    QFile file(source(name));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray ts = file.readAll();
    QVERIFY(stampPes(ts, pid, 0.4, 77432));
    file.seek(0);
    file.write(ts);
    file.close();

    // Such a stamp used to make hours of silence or of a still picture; now the call is over in
    // seconds. Should it run on, the stop keeps the test from waiting for it.
    const QString folder = freshFolder("damaged");
    const VideoCall call = videoCall(name, folder);
    const Stopped outcome = stopWhileRunning([&] { return callVideo(m_engine, call); }, 60000 * kSlowdown, false);
    QVERIFY2(!outcome.stillRunning, "the conversion was still running after a minute");
    QCOMPARE(outcome.result, 0);

    const QJsonObject probed = media::probe(call.destPath);
    const double length = media::number(probed.value("format").toObject().value("duration"));
    QVERIFY2(std::fabs(length - 8) < 0.3, qPrintable(QString::number(length)));
    for (const char *kind : {"video", "audio"}) {
        const double streamLength = media::number(media::stream(probed, kind).value("duration"));
        QVERIFY2(std::fabs(streamLength - 8) < 0.3, qPrintable(QString("%1: %2").arg(kind).arg(streamLength)));
    }
    // Picture and sound stay where they were: second 6 shows its colour, and there is sound.
    const QSize size(32, 24);
    const double luma = media::average(media::lumaFrame(call.destPath, 6.5, size), size, 8, 6, 16, 12);
    QVERIFY2(std::fabs(luma - colourOfSecond(6)) < 8, qPrintable(QString::number(luma)));
    QVERIFY(media::loudness(call.destPath, 5, 2).mean > -30);
}

void TestRobustness::stopEndsALongGapWithinASecond_data()
{
    QTest::addColumn<bool>("music");
    QTest::newRow("two pictures 30 minutes apart") << false;
    QTest::newRow("sound with an hour of silence in it") << true;
}

void TestRobustness::stopEndsALongGapWithinASecond()
{
    QFETCH(bool, music);
    // Real gaps inside the source are filled, which takes long: a stop must still end the call.
    const QString name = music ? "gap.mka" : "slides.mkv";
    if (music)
        makeClip(name, {"-f", "lavfi", "-i", "sine=f=440:d=2:r=44100", "-af",
                        "asetpts='PTS+gte(T\\,1)*3600/TB'", "-c:a", "aac"});
    else
        makeClip(name, {"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=0.08", "-vf", "setpts=N*1800/TB",
                        "-fps_mode", "passthrough", "-c:v", "libx264", "-preset", "ultrafast"});
    const QString folder = freshFolder("gap");
    Stopped outcome;
    QByteArray dest;
    if (music) {
        MusicCall call;
        call.sourcePath = source(name).toUtf8();
        call.destPath = dest = (folder + "/0001.mp3").toUtf8();
        outcome = stopWhileRunning([&] { return callMusic(m_engine, call); }, 1000, true);
    } else {
        const VideoCall call = videoCall(name, folder);
        dest = call.destPath;
        outcome = stopWhileRunning([&] { return callVideo(m_engine, call); }, 1000, true);
    }
    QVERIFY2(outcome.stillRunning, "the conversion ended before it could be stopped");
    QVERIFY2(outcome.progressMoved, "X_Get_Info showed no progress while output was made");
    QCOMPARE(outcome.result, 0);
    QVERIFY2(outcome.secondsAfterStop < 1.0 * kSlowdown,
             qPrintable(QString("returned %1 s after the stop").arg(outcome.secondsAfterStop)));
    // The part done plays.
    const double length = media::number(media::probe(dest).value("format").toObject().value("duration"));
    QVERIFY2(length > 0.5, qPrintable(QString::number(length)));
    QString errors;
    QVERIFY2(media::decodesCleanly(dest, &errors), qPrintable(errors));
}

void TestRobustness::soundMovesProgressWhileThePictureWaits()
{
    // Two pictures, then twenty minutes of sound: the picture's last frame lasts until the end,
    // which is known only then, while the sound is converted all along.
    makeClip("still.mkv", {"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=0.08", "-f", "lavfi", "-i",
                           "sine=f=440:d=1200:r=8000", "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac",
                           "-ac", "1", "-b:a", "24k"});
    const QString folder = freshFolder("still");
    const VideoCall call = videoCall("still.mkv", folder);
    const Stopped outcome = stopWhileRunning([&] { return callVideo(m_engine, call); }, 1500, true);
    QVERIFY2(outcome.stillRunning, "the conversion ended before it could be stopped");
    QCOMPARE(outcome.result, 0);
    QVERIFY2(outcome.secondsAfterStop < 1.0 * kSlowdown,
             qPrintable(QString("returned %1 s after the stop").arg(outcome.secondsAfterStop)));
    QVERIFY2(outcome.progressMoved && outcome.info[0] >= 2 && outcome.info[2] > 2,
             qPrintable(QString("X_Get_Info stood at %1 s, frame %2").arg(outcome.info[0]).arg(outcome.info[2])));
}

void TestRobustness::stopEndsAReadThatWaits_data()
{
    QTest::addColumn<bool>("someData");
    QTest::newRow("a FIFO that nobody writes") << false;
    QTest::newRow("a FIFO that stops after half the clip") << true;
}

void TestRobustness::stopEndsAReadThatWaits()
{
    QFETCH(bool, someData);
    makeClip("fed.ts", QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=8", "-f", "lavfi", "-i",
                                   "sine=f=440:d=8:r=48000"}
                           + kX264 + kAac + QStringList{"-shortest"});
    QFile clip(source("fed.ts"));
    QVERIFY(clip.open(QIODevice::ReadOnly));
    const QByteArray half = clip.readAll().left(static_cast<int>(clip.size() / 2 / 188 * 188));

    const QString fifo = m_dir.filePath(QString("sources/fifo-%1.ts").arg(someData));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Held open for writing all along, so the reader sees a writer that sends nothing more.
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    QVERIFY(writer >= 0);
    std::atomic<bool> done{false};
    std::thread feeder([&] {
        for (qsizetype at = 0; someData && at < half.size() && !done;) {
            const ssize_t wrote = ::write(writer, half.constData() + at, static_cast<size_t>(half.size() - at));
            if (wrote > 0)
                at += wrote;
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(10));   // the pipe is full
        }
    });
    const QString folder = freshFolder("fifo");
    VideoCall call;
    call.sourcePath = fifo.toUtf8();
    call.destPath = (folder + "/0001.mp4").toUtf8();
    const Stopped outcome = stopWhileRunning([&] { return callVideo(m_engine, call); }, 1500, someData);
    done = true;   // ends the feeder if the engine stopped reading
    feeder.join();
    ::close(writer);

    QVERIFY2(outcome.stillRunning, "the conversion ended before it could be stopped");
    QCOMPARE(outcome.result, 0);
    QVERIFY2(outcome.secondsAfterStop < 1.0 * kSlowdown,
             qPrintable(QString("returned %1 s after the stop").arg(outcome.secondsAfterStop)));
    if (!someData) {
        QVERIFY(media::entries(folder).isEmpty());
        return;
    }
    QCOMPARE(media::entries(folder), QStringList{"0001.mp4"});
    QString errors;
    QVERIFY2(media::decodesCleanly(call.destPath, &errors), qPrintable(errors));
    const double length = media::number(media::probe(call.destPath).value("format").toObject().value("duration"));
    QVERIFY2(length > 1 && length < 5, qPrintable(QString::number(length)));
}

void TestRobustness::soundWithoutPictureGivesAnAacFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("make");
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<double>("length");

    const QStringList sine = {"-f", "lavfi", "-i", "sine=f=440:d=3:r=48000"};
    QTest::newRow("M4A on the iPod in H.264")
        << "song.m4a" << QStringList{"-f", "lavfi", "-i", "sine=f=440:d=3:r=22050", "-c:a", "aac", "-ac", "1"}
        << 0 << "h264" << QByteArray("0") << QByteArray("0") << 3.0;
    QTest::newRow("AC-3 5.1 in MP4 on the iPhone")
        << "ac3.mp4" << sine + QStringList{"-ac", "6", "-c:a", "ac3"} << 2 << "h264" << QByteArray("0")
        << QByteArray("0") << 3.0;
    QTest::newRow("DTS in MP4 on the Apple TV")
        << "dts.mp4" << sine + QStringList{"-ac", "2", "-c:a", "dca", "-strict", "-2"} << 3 << "mpeg4"
        << QByteArray("0") << QByteArray("0") << 3.0;
    QTest::newRow("MP3 with a cover picture on the iPod in MPEG-4, a range of it")
        << "cover.mp3"
        << QStringList{"-f", "lavfi", "-i", "sine=f=440:d=3:r=44100", "-f", "lavfi", "-i",
                       "color=c=red:s=64x64:d=1", "-frames:v", "1", "-map", "0:a", "-map", "1:v", "-c:a",
                       "libmp3lame", "-c:v", "mjpeg", "-disposition:v", "attached_pic"}
        << 0 << "mpeg4" << QByteArray("1") << QByteArray("1") << 1.0;
}

void TestRobustness::soundWithoutPictureGivesAnAacFile()
{
    QFETCH(QString, name);
    QFETCH(QStringList, make);
    QFETCH(int, device);
    QFETCH(QString, codec);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, duration);
    QFETCH(double, length);
    makeClip(name, make);

    const QString folder = freshFolder("sound");
    VideoCall call = videoCall(name, folder);
    call.deviceType = device;
    call.videoFormat = codec.toUtf8();
    call.startTime = start;
    call.duration = duration;
    call.sampleRate = "96000";    // past every device's limit of 48 kHz
    call.audioBitRate = "400";    // past every device's limit
    call.title = "Sound only";
    call.artist = "Tester";
    QCOMPARE(callVideo(m_engine, call), 0);
    QCOMPARE(media::entries(folder), QStringList{"0001.mp4"});

    const QJsonObject probed = media::probe(call.destPath);
    QCOMPARE(media::streamCount(probed), 1);
    const QJsonObject audio = media::stream(probed, "audio");
    QCOMPARE(audio.value("codec_name").toString(), QString("aac"));
    QCOMPARE(audio.value("profile").toString(), QString("LC"));
    QCOMPARE(audio.value("channels").toInt(), 2);
    QCOMPARE(audio.value("sample_rate").toString(), QString("48000"));
    const double kbps = media::number(audio.value("bit_rate")) / 1000;
    const double limit = device == 3 ? 320 : 160;
    QVERIFY2(kbps <= limit * 1.05 && kbps > limit * 0.5, qPrintable(QString::number(kbps)));

    const QJsonObject format = probed.value("format").toObject();
    QVERIFY(format.value("format_name").toString().contains("mp4"));
    const double seconds = media::number(format.value("duration"));
    QVERIFY2(std::fabs(seconds - length) < 0.15, qPrintable(QString::number(seconds)));
    const QJsonObject tags = format.value("tags").toObject();
    QCOMPARE(tags.value("title").toString(), QString("Sound only"));
    QCOMPARE(tags.value("artist").toString(), QString("Tester"));
    QCOMPARE(tags.value("album").toString(), QString("Unknown"));
    QFile out(call.destPath);
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QByteArray bytes = out.readAll();
    QVERIFY(bytes.indexOf("moov") < bytes.indexOf("mdat"));
    QVERIFY(media::loudness(call.destPath).mean > -30);
}

void TestRobustness::mpeg4StaysInsideItsLevel_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("kbps");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("levelKbps");
    QTest::addColumn<int>("bufferBits");
    // Simple Profile: level 4a takes 640x480 at 30 fps and 4 Mbit/s with a buffer of 80 x 16384
    // bits; level 5 takes 720x576 at 25 fps and 8 Mbit/s with 112 x 16384 bits.
    QTest::newRow("iPod 640x480") << 0 << QByteArray("640:480") << QByteArray("10000") << 4 << 4000 << 80 * 16384;
    // An average that level 3 would take, but the peak the device allows is level 4a's.
    QTest::newRow("iPhone 320x240 at 300 kbit/s") << 2 << QByteArray("320:240") << QByteArray("300") << 4 << 4000 << 80 * 16384;
    QTest::newRow("Apple TV 720x432") << 3 << QByteArray("720:432") << QByteArray("10000") << 5 << 8000 << 112 * 16384;
}

void TestRobustness::mpeg4StaysInsideItsLevel()
{
    QFETCH(int, device);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, kbps);
    QFETCH(int, level);
    QFETCH(int, levelKbps);
    QFETCH(int, bufferBits);
    // Fine detail everywhere, at the size of the output: the first picture is as large as a
    // buffer of a second at the peak lets it be.
    const QString size = QString::fromLatin1(frame).replace(':', 'x');
    const QString name = "detail-" + size + ".mkv";
    makeClip(name, {"-f", "lavfi", "-i", "cellauto=s=" + size + ":r=25:rule=110:full=1,format=yuv420p", "-t", "4",
                    "-c:v", "libx264", "-preset", "ultrafast", "-qp", "0"});
    const QString folder = freshFolder("mpeg4");
    VideoCall call = videoCall(name, folder);
    call.deviceType = device;
    call.videoFormat = "mpeg4";
    call.frameSize = call.pictureSize = frame;
    call.videoBitRate = kbps;
    QCOMPARE(callVideo(m_engine, call), 0);
    const QJsonObject video = media::stream(media::probe(call.destPath), "video");
    QVERIFY(video.value("profile").toString().contains("Simple Profile"));
    QCOMPARE(video.value("level").toInt(), level);

    // The decoder's buffer, filled at the level's peak rate and emptied frame by frame, must
    // never run dry.
    const QList<int> sizes = videoPacketSizes(call.destPath);
    QVERIFY(sizes.size() >= 90);
    const double perFrame = levelKbps * 1000.0 / 25;
    double fullness = bufferBits;
    for (int i = 0; i < sizes.size(); ++i) {
        fullness -= sizes[i] * 8.0;
        QVERIFY2(fullness >= 0, qPrintable(QString("buffer ran dry at frame %1").arg(i)));
        fullness = std::min<double>(bufferBits, fullness + perFrame);
    }
}

QTEST_GUILESS_MAIN(TestRobustness)
#include "tst_robustness.moc"
