// The "Source" frame rate: the engine keeps the source's rate, held to what the device
// plays at the frame size, halving rates that are twice a rate within it. The rule itself
// on the engine's plan, then whole conversions of generated clips through the shipped
// default profiles, and a hand-written profile that points at a rate stored before
// "Source" was appended.

#include "ConvertEngine.h"
#include "MediaTools.h"
#include "ProfileJobs.h"
#include "convert/ConvertRequest.h"
#include "convert/EncodePlan.h"
#include "platform/IniFile.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace krodec::convert;

namespace {

QString programFolder()
{
    return QFile::exists(ORVO_BUNDLE_DIR "/PfSetting.ini") ? QString(ORVO_BUNDLE_DIR)
                                                           : QString(ORVO_SOURCE_DIR "/data");
}

const QStringList kX264 = {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};

// The job of the device's default profile, as the program starts it on the shipped files.
VideoCall defaultProfileCall(const QString &device, int deviceType, const QString &source, const QString &output)
{
    using namespace profiles;
    const platform::IniFile settings(QDir(programFolder()).filePath(ProfileFileName));
    const platform::IniFile definition(QDir(programFolder()).filePath(DefinitionFileName));
    const ProfileList list = LoadProfileList(settings, definition, device, deviceType);
    if (list.defaultPosition < 0)
        return {};
    const QString name = list.entries.at(list.defaultPosition).name;
    for (const ProfileJob &job : shippedProfileJobs(programFolder(), source, QSize(320, 240), output)) {
        if (job.device == device && job.name == name)
            return job.video;
    }
    return {};
}

struct OutputRate {
    double average = 0;
    double nominal = 0;
    int frames = 0;
};

OutputRate rateOf(const QString &path)
{
    const QJsonObject video = media::stream(media::probe(path), "video");
    return {media::ratio(video.value("avg_frame_rate")), media::ratio(video.value("r_frame_rate")),
            static_cast<int>(media::number(video.value("nb_frames")))};
}

} // namespace

class TestSourceRate : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void planHoldsTheRate_data();
    void planHoldsTheRate();
    void readsTheSourceValue_data();
    void readsTheSourceValue();
    void defaultProfilesKeepTheSourceRate_data();
    void defaultProfilesKeepTheSourceRate();
    void appleTv720pHoldsNtscTo23976();
    void slideShowIsShownAtOneFrameASecond();
    void soundOnlySourceWithTheSourceRate_data();
    void soundOnlySourceWithTheSourceRate();
    void handWrittenProfileKeepsItsStoredRate_data();
    void handWrittenProfileKeepsItsStoredRate();

private:
    QString source(const QString &name) const { return m_dir.filePath("sources/" + name); }
    QString output(const QString &name) const { return m_dir.filePath("out/" + name); }

    QTemporaryDir m_dir;
    ConvertEngine m_engine;
};

void TestSourceRate::initTestCase()
{
    QVERIFY2(m_engine.isLoaded(), qPrintable(m_engine.error()));
    QVERIFY(QDir(m_dir.path()).mkpath("sources") && QDir(m_dir.path()).mkpath("out"));
    const struct {
        const char *name;
        const char *rate;
    } steady[] = {{"25.mp4", "25"}, {"23.976.mp4", "24000/1001"}, {"59.94.mp4", "60000/1001"}};
    QString errors;
    for (const auto &clip : steady) {
        QVERIFY2(media::ffmpeg(QStringList{"-f", "lavfi", "-i", QString("testsrc2=s=320x240:r=%1:d=2").arg(clip.rate),
                                           "-f", "lavfi", "-i", "sine=f=440:d=2:r=44100", "-shortest"}
                                   + kX264 + QStringList{"-c:a", "aac", source(clip.name)},
                               &errors),
                 qPrintable(errors));
    }
    // A phone-like clip: 30 fps frames, with every other one missing in two thirds of
    // each second, so the average (about 20) is no rate the frames are laid out on.
    QVERIFY2(media::ffmpeg(QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=30:d=3", "-vf",
                                       "select='lt(mod(n\\,30)\\,10)+not(mod(n\\,2))'", "-fps_mode", "vfr"}
                               + kX264 + QStringList{source("variable.mp4")},
                           &errors),
             qPrintable(errors));
    const OutputRate variable = rateOf(source("variable.mp4"));
    QVERIFY2(variable.average < 25 && std::fabs(variable.nominal - 30) < 0.01,
             qPrintable(QString("%1 / %2").arg(variable.average).arg(variable.nominal)));
    QVERIFY2(media::ffmpeg(QStringList{"-f", "lavfi", "-i", "testsrc2=s=1280x720:r=30000/1001:d=1"} + kX264
                               + QStringList{source("720p.mp4")},
                           &errors),
             qPrintable(errors));
}

void TestSourceRate::planHoldsTheRate_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("planned");
    const int iPhone = static_cast<int>(Device::IPhone);
    const int tv = static_cast<int>(Device::AppleTV);
    QTest::newRow("25 kept") << iPhone << QSize(480, 320) << "25" << "25/1";
    QTest::newRow("15 kept") << iPhone << QSize(480, 320) << "15" << "15/1";
    QTest::newRow("30 kept") << iPhone << QSize(480, 320) << "30" << "30/1";
    QTest::newRow("59.94 halved") << iPhone << QSize(480, 320) << "59.94" << "30000/1001";
    QTest::newRow("50 halved") << iPhone << QSize(480, 320) << "50" << "25/1";
    QTest::newRow("60 halved") << iPhone << QSize(480, 320) << "60" << "30/1";
    QTest::newRow("48 halved") << iPhone << QSize(480, 320) << "48" << "24/1";
    QTest::newRow("120 quartered") << iPhone << QSize(480, 320) << "120" << "30/1";
    QTest::newRow("100 quartered") << iPhone << QSize(480, 320) << "100" << "25/1";
    // Halving would give 20 fps: the frames are dropped unevenly instead.
    QTest::newRow("40 held to 30") << iPhone << QSize(480, 320) << "40" << "30/1";
    QTest::newRow("Apple TV 540p 50 halved") << tv << QSize(960, 540) << "50" << "25/1";
    QTest::newRow("Apple TV 720p 29.97 held to 23.976") << tv << QSize(1280, 720) << "29.97" << "24000/1001";
    QTest::newRow("Apple TV 720p 59.94 held to 23.976") << tv << QSize(1280, 720) << "59.94" << "24000/1001";
    QTest::newRow("Apple TV 720p 47.952 halved") << tv << QSize(1280, 720) << "47.952" << "24000/1001";
    QTest::newRow("Apple TV 720p 25 held to 24") << tv << QSize(1280, 720) << "25" << "24/1";
}

void TestSourceRate::planHoldsTheRate()
{
    QFETCH(int, device);
    QFETCH(QSize, frame);
    QFETCH(QString, rate);
    QFETCH(QString, planned);
    ConvertRequest request;
    request.device = static_cast<Device>(device);
    request.videoKbps = 1000;
    request.picture = request.frame = {frame.width(), frame.height()};
    const auto parsed = parseFrameRate(rate.toStdString());
    QVERIFY(parsed);
    request.frameRate = *parsed;
    const auto plan = planConversion(request);
    QVERIFY(plan && plan->video);
    QCOMPARE(QString("%1/%2").arg(plan->video->frameRate.num).arg(plan->video->frameRate.den), planned);
}

void TestSourceRate::readsTheSourceValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("fromSource");
    QTest::newRow("source") << QByteArray("source") << true << true;
    QTest::newRow("blanks and case") << QByteArray(" Source ") << true << true;
    QTest::newRow("a number") << QByteArray("25") << true << false;
    QTest::newRow("a word that is not it") << QByteArray("sourcey") << false << false;
    QTest::newRow("empty") << QByteArray("") << false << false;
}

void TestSourceRate::readsTheSourceValue()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);
    QFETCH(bool, fromSource);
    const VideoArgs args{"/v/a.mp4", "0", "0", "44100", "1:1", "h264", "mp4", "800", "128", "480:320",
                         "480:320", "T", "A", "Unknown", text.constData(), "0", "-1", "/o/0001.mp4", "0", "0"};
    const auto request = readVideoRequest(Device::IPhone, args);
    QCOMPARE(request.has_value(), accepted);
    if (request)
        QCOMPARE(request->sourceFrameRate, fromSource);
}

void TestSourceRate::defaultProfilesKeepTheSourceRate_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("sourceName");
    QTest::addColumn<double>("expected");
    for (const auto &[device, type] : {std::pair<const char *, int>{"iPod", 0}, {"iPhone", 2}}) {
        QTest::addRow("%s, 25 fps", device) << device << type << "25.mp4" << 25.0;
        QTest::addRow("%s, 23.976 fps", device) << device << type << "23.976.mp4" << 24000.0 / 1001;
        QTest::addRow("%s, 59.94 fps", device) << device << type << "59.94.mp4" << 30000.0 / 1001;
        QTest::addRow("%s, variable", device) << device << type << "variable.mp4" << 30.0;
    }
}

void TestSourceRate::defaultProfilesKeepTheSourceRate()
{
    QFETCH(QString, device);
    QFETCH(int, deviceType);
    QFETCH(QString, sourceName);
    QFETCH(double, expected);
    const QString folder = output(device + "-" + sourceName);
    QVERIFY(QDir().mkpath(folder));
    const VideoCall call = defaultProfileCall(device, deviceType, source(sourceName), folder);
    QCOMPARE(call.frameRate, QByteArray("source"));
    QCOMPARE(callVideo(m_engine, call), 0);

    const OutputRate out = rateOf(call.destPath);
    QVERIFY2(std::fabs(out.average - expected) < 0.01, qPrintable(QString::number(out.average)));
    // A constant rate: every frame lasts as long as the next.
    QVERIFY2(std::fabs(out.nominal - out.average) < 0.01, qPrintable(QString::number(out.nominal)));
    const double seconds = sourceName == "variable.mp4" ? 3 : 2;
    QVERIFY2(std::abs(out.frames - static_cast<int>(std::lround(seconds * expected))) <= 1,
             qPrintable(QString::number(out.frames)));
}

void TestSourceRate::appleTv720pHoldsNtscTo23976()
{
    const platform::IniFile definition(QDir(programFolder()).filePath(profiles::DefinitionFileName));
    // The panel with 1280x720 and "Source" picked by hand.
    VideoCall call;
    call.deviceType = 3;
    call.sourcePath = source("720p.mp4").toUtf8();
    call.pictureSize = call.frameSize =
        profiles::ReadDefinitionValue(definition, "AppleTV-h264", "VideoResolution", 0).toUtf8();
    QCOMPARE(call.frameSize, QByteArray("1280:720"));
    const int last = profiles::FillListFromDefinition(definition, "AppleTV-h264", "VideoFrameRate").items.size() - 1;
    QCOMPARE(profiles::ReadDefinitionText(definition, "AppleTV-h264", "VideoFrameRate", last), QStringLiteral("Source"));
    call.frameRate = profiles::ReadDefinitionValue(definition, "AppleTV-h264", "VideoFrameRate", last).toUtf8();
    call.videoBitRate = "4000";
    call.destPath = output("tv720.mp4").toUtf8();
    QCOMPARE(callVideo(m_engine, call), 0);
    const OutputRate out = rateOf(call.destPath);
    QVERIFY2(std::fabs(out.average - 24000.0 / 1001) < 0.01, qPrintable(QString::number(out.average)));
    QVERIFY2(std::fabs(out.nominal - out.average) < 0.01, qPrintable(QString::number(out.nominal)));
}

void TestSourceRate::soundOnlySourceWithTheSourceRate_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("deviceType");
    QTest::newRow("iPod") << "iPod" << 0;
    QTest::newRow("iPhone") << "iPhone" << 2;
    QTest::newRow("Apple TV") << "AppleTV" << 3;
}

// A song has no rate to keep: the default profiles give the sound alone.
void TestSourceRate::soundOnlySourceWithTheSourceRate()
{
    QFETCH(QString, device);
    QFETCH(int, deviceType);
    QString errors;
    const QString song = source("song.m4a");
    if (!QFileInfo::exists(song))
        QVERIFY2(media::ffmpeg({"-f", "lavfi", "-i", "sine=f=440:d=2:r=44100", "-c:a", "aac", song}, &errors),
                 qPrintable(errors));
    const QString folder = output("song-" + device);
    QVERIFY(QDir().mkpath(folder));
    const VideoCall call = defaultProfileCall(device, deviceType, song, folder);
    QCOMPARE(call.frameRate, QByteArray("source"));
    QCOMPARE(callVideo(m_engine, call), 0);
    const QJsonObject probed = media::probe(QString::fromUtf8(call.destPath));
    QCOMPARE(media::streamCount(probed), 1);
    QCOMPARE(media::stream(probed, "audio").value("codec_name").toString(), QStringLiteral("aac"));
}

void TestSourceRate::slideShowIsShownAtOneFrameASecond()
{
    QString errors;
    QVERIFY2(media::ffmpeg(QStringList{"-f", "lavfi", "-i", "testsrc2=s=320x240:r=1/2:d=6"} + kX264
                               + QStringList{source("slides.mp4")},
                           &errors),
             qPrintable(errors));
    QVERIFY(QDir().mkpath(output("slides")));
    const VideoCall call = defaultProfileCall("iPhone", 2, source("slides.mp4"), output("slides"));
    QCOMPARE(callVideo(m_engine, call), 0);
    const OutputRate out = rateOf(call.destPath);
    QVERIFY2(std::fabs(out.average - 1) < 0.01, qPrintable(QString::number(out.average)));
    QVERIFY2(std::abs(out.frames - 6) <= 1, qPrintable(QString::number(out.frames)));
}

void TestSourceRate::handWrittenProfileKeepsItsStoredRate_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("expected");
    QTest::newRow("23.97 (position 0)") << 0 << 24000.0 / 1001;
    QTest::newRow("25 (position 2)") << 2 << 25.0;
    QTest::newRow("29.97 (position 3)") << 3 << 30000.0 / 1001;
}

// A user's own PfSetting.ini, written when position 3 was the last but one rate, next to
// the shipped PfDef.dll.
void TestSourceRate::handWrittenProfileKeepsItsStoredRate()
{
    QFETCH(int, position);
    QFETCH(double, expected);
    const QString folder = m_dir.filePath(QString("hand%1").arg(position));
    QVERIFY(QDir().mkpath(folder + "/out"));
    QVERIFY(QFile::copy(QDir(programFolder()).filePath(profiles::DefinitionFileName),
                        QDir(folder).filePath(profiles::DefinitionFileName)));
    QFile settings(QDir(folder).filePath(profiles::ProfileFileName));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(QString("[iPhone-Profile]\nProfileCount=1\nProfileText0=iPhone - H.264 480x320 Mine\n"
                           "ProfileDefault=0\niPhone - H.264 480x320 Mine=0,0,0,%1,900,2,0,0,0,\n")
                       .arg(position)
                       .toUtf8());
    settings.close();

    const QVector<ProfileJob> jobs = shippedProfileJobs(folder, source("59.94.mp4"), QSize(320, 240), folder + "/out");
    QCOMPARE(jobs.size(), 1);
    const VideoCall &call = jobs.first().video;
    QVERIFY2(std::fabs(call.frameRate.toDouble() - expected) < 0.01, call.frameRate.constData());
    QCOMPARE(callVideo(m_engine, call), 0);
    const OutputRate out = rateOf(call.destPath);
    QVERIFY2(std::fabs(out.average - expected) < 0.01, qPrintable(QString::number(out.average)));
}

QTEST_GUILESS_MAIN(TestSourceRate)
#include "tst_sourcerate.moc"
