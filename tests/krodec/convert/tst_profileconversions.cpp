// Every shipped profile converts a short clip into a file its device plays: the
// arguments are read from the shipped PfSetting.ini and PfDef.dll as the conversion
// job reads them, the result is checked with ffprobe against the device's limits.

#include "ConvertEngine.h"
#include "MediaTools.h"
#include "ProfileJobs.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

Q_DECLARE_METATYPE(ProfileJob)

namespace {

// What each device plays (H.264 levels, sizes, rates and bit rates the device maker publishes).
// The video rate is a peak over a buffer: a short clip may average up to
// maxVideoKbps + bufferKbits / its length.
struct DeviceLimit {
    QSize maxFrame;
    double maxFps;
    int maxVideoKbps;
    int bufferKbits;
    int maxAudioKbps;
};

DeviceLimit limitFor(int deviceType, bool h264, QSize frame)
{
    const bool qvga = frame.width() <= 320 && frame.height() <= 240;
    switch (deviceType) {
    case 3:
        if (!h264)
            return {{720, 432}, 30, 3000, 3000, 320};
        return {{1280, 720}, frame.width() * frame.height() > 960 * 544 ? 24.0 : 30.0, 5000, 5000, 320};
    default:
        if (!h264)
            return {{640, 480}, 30, 2500, 2500, 160};
        return {{640, 480}, 30, qvga ? 768 : 1500, 2000, 160};
    }
}

QSize sizeOf(const QByteArray &text)
{
    const QList<QByteArray> parts = text.trimmed().split(':');
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where the shipped files are: the bundle, which the build fills from data/.
QString programFolder()
{
    return QFile::exists(ORVO_BUNDLE_DIR "/PfSetting.ini") ? QString(ORVO_BUNDLE_DIR)
                                                           : QString(ORVO_SOURCE_DIR "/data");
}

const QByteArray kIpodAtom = QByteArray::fromHex("6b6840f25f244fc5ba39a51bcf0323f3");

} // namespace

class TestProfileConversions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyDeviceHasProfiles();
    void convert_data();
    void convert();

private:
    void checkVideo(const ProfileJob &job, const QJsonObject &probed);
    void checkMusic(const ProfileJob &job, const QJsonObject &probed);

    QTemporaryDir m_dir;
    ConvertEngine m_engine;
    QString m_source;
    QVector<ProfileJob> m_jobs;
};

void TestProfileConversions::initTestCase()
{
    QVERIFY2(m_engine.isLoaded(), qPrintable(m_engine.error()));
    QVERIFY(QFile::exists(programFolder() + "/PfDef.dll"));
    // Noise in picture and sound, so that the encoders need the bit rates they are given.
    m_source = m_dir.filePath("source.mkv");
    QString errors;
    QVERIFY2(media::ffmpeg({"-f", "lavfi", "-i", "testsrc2=s=640x480:r=30:d=2,noise=alls=10:allf=t",
                            "-f", "lavfi", "-i", "anoisesrc=d=2:c=pink:r=48000:a=0.3", "-ac", "2",
                            "-c:v", "libx264", "-preset", "ultrafast", "-qp", "10", "-c:a", "flac", m_source},
                           &errors),
             qPrintable(errors));
    m_jobs = shippedProfileJobs(programFolder(), m_source, QSize(640, 480), m_dir.path());
}

void TestProfileConversions::everyDeviceHasProfiles()
{
    for (int type : {0, 1, 2, 3}) {
        QVERIFY2(std::any_of(m_jobs.begin(), m_jobs.end(), [&](const ProfileJob &j) { return j.deviceType == type; }),
                 qPrintable(QString("no profile for device type %1").arg(type)));
    }
}

void TestProfileConversions::convert_data()
{
    QTest::addColumn<ProfileJob>("job");
    for (const ProfileJob &job : m_jobs)
        QTest::newRow(qPrintable(job.device + ": " + job.name)) << job;
}

void TestProfileConversions::convert()
{
    QFETCH(ProfileJob, job);
    if (job.deviceType == 1) {
        QCOMPARE(callMusic(m_engine, job.music), 0);
        checkMusic(job, media::probe(job.music.destPath));
    } else {
        QCOMPARE(callVideo(m_engine, job.video), 0);
        checkVideo(job, media::probe(job.video.destPath));
    }
}

void TestProfileConversions::checkVideo(const ProfileJob &job, const QJsonObject &probed)
{
    const VideoCall &call = job.video;
    const bool h264 = call.videoFormat.toLower() == "h264";
    const QSize frame = sizeOf(call.frameSize);
    const DeviceLimit limit = limitFor(job.deviceType, h264, frame);
    const QJsonObject format = probed.value("format").toObject();
    const QJsonObject video = media::stream(probed, "video");
    const QJsonObject audio = media::stream(probed, "audio");
    QVERIFY(format.value("format_name").toString().contains("mp4"));

    // Container: the iPod's H.264 files in the iPod form with its compatibility atom.
    const bool ipodForm = job.deviceType == 0 && h264;
    const QJsonObject tags = format.value("tags").toObject();
    QCOMPARE(tags.value("major_brand").toString(), QString(ipodForm ? "M4V " : "isom"));
    QCOMPARE(fileBytes(call.destPath).contains(kIpodAtom), ipodForm);
    QVERIFY(fileBytes(call.destPath).indexOf("moov") < fileBytes(call.destPath).indexOf("mdat"));
    QCOMPARE(tags.value("title").toString(), QString::fromUtf8(call.title));
    QCOMPARE(tags.value("artist").toString(), QString::fromUtf8(call.artist));
    QCOMPARE(tags.value("album").toString(), QString("Unknown"));

    // Picture: what the profile asks, within the device's limits.
    QCOMPARE(video.value("codec_name").toString(), QString(h264 ? "h264" : "mpeg4"));
    const QString profile = video.value("profile").toString();
    QVERIFY2(profile.contains(!h264 ? "Simple Profile" : job.deviceType == 3 ? "Main" : "Baseline"),
             qPrintable(profile));
    if (h264) {
        const int level = job.deviceType == 3 ? 31 : frame.width() <= 320 && frame.height() <= 240 ? 13 : 30;
        QCOMPARE(video.value("level").toInt(), level);
    } else {
        QCOMPARE(video.value("has_b_frames").toInt(), 0);
    }
    QCOMPARE(QSize(video.value("width").toInt(), video.value("height").toInt()), frame);
    QVERIFY(frame.width() <= limit.maxFrame.width() && frame.height() <= limit.maxFrame.height());
    QCOMPARE(video.value("pix_fmt").toString(), QString("yuv420p"));
    QCOMPARE(video.value("sample_aspect_ratio").toString(), QString("1:1"));
    const double fps = media::ratio(video.value("avg_frame_rate"));
    // "source" keeps the source's 30 fps within what the device plays at this size.
    const double expectedFps = call.frameRate == "source" ? std::min(30.0, limit.maxFps) : call.frameRate.toDouble();
    QVERIFY2(std::fabs(fps - expectedFps) < 0.01, qPrintable(QString::number(fps)));
    QVERIFY(fps <= limit.maxFps + 0.001);
    const double videoKbps = media::number(video.value("bit_rate")) / 1000;
    const double asked = call.videoBitRate.toDouble();
    const double length = media::number(format.value("duration"));
    QVERIFY2(videoKbps <= limit.maxVideoKbps + limit.bufferKbits / length && videoKbps > asked * 0.6
                 && videoKbps < asked * 1.3,
             qPrintable(QString("%1 kbit/s for %2").arg(videoKbps).arg(asked)));

    // Sound: AAC-LC stereo at the profile's rate.
    QCOMPARE(audio.value("codec_name").toString(), QString("aac"));
    QCOMPARE(audio.value("profile").toString(), QString("LC"));
    QCOMPARE(audio.value("channels").toInt(), 2);
    QCOMPARE(audio.value("sample_rate").toString(), QString::fromUtf8(call.sampleRate));
    const double audioKbps = media::number(audio.value("bit_rate")) / 1000;
    QVERIFY2(audioKbps <= limit.maxAudioKbps * 1.05 && std::fabs(audioKbps - call.audioBitRate.toDouble()) < call.audioBitRate.toDouble() * 0.25,
             qPrintable(QString("%1 kbit/s for %2").arg(audioKbps).arg(QString(call.audioBitRate))));
    QVERIFY(std::fabs(length - 2.0) < 0.1);
}

void TestProfileConversions::checkMusic(const ProfileJob &job, const QJsonObject &probed)
{
    const MusicCall &call = job.music;
    const QJsonObject format = probed.value("format").toObject();
    const QJsonObject audio = media::stream(probed, "audio");
    QCOMPARE(format.value("format_name").toString(), QString("mp3"));
    QCOMPARE(audio.value("codec_name").toString(), QString("mp3"));
    QCOMPARE(audio.value("channels").toInt(), 2);
    QCOMPARE(audio.value("sample_rate").toString(), QString::fromUtf8(call.sampleRate));
    const double kbps = media::number(audio.value("bit_rate")) / 1000;
    QVERIFY2(std::fabs(kbps - call.audioBitRate.toDouble()) < 1.5, qPrintable(QString::number(kbps)));
    QVERIFY(kbps >= 32 && kbps <= 320);
    const QJsonObject tags = format.value("tags").toObject();
    QCOMPARE(tags.value("title").toString(), QString::fromUtf8(call.title));
    QCOMPARE(tags.value("album").toString(), QString("Unknown"));
    QVERIFY(fileBytes(call.destPath).startsWith("ID3\x03"));
}

QTEST_GUILESS_MAIN(TestProfileConversions)
#include "tst_profileconversions.moc"
