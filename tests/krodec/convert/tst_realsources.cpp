// Conversions of the files users bring from television and disc: transport and program streams
// with key frames seconds apart, time stamps that start late, jump or begin anew, and Matroska
// whose first frame is not at 0. Every clip shows a grey level per second, so each check reads
// which second of the source a frame of the output comes from.

#include "ConvertEngine.h"
#include "EngineLibrary.h"
#include "MediaTools.h"
#include "TestMedia.h"

#include <QDir>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

class TestRealSources : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void range_data();
    void range();
    void wholeRecording_data();
    void wholeRecording();

private:
    QString clip(const QString &name) const { return m_dir.filePath("clips/" + name); }
    VideoCall call(const QString &name, const QByteArray &start, const QByteArray &duration);

    QTemporaryDir m_dir;
    ConvertEngine m_engine;
    int m_outputs = 0;
};

namespace {

const QSize kLumaSize(32, 24);

double lumaAt(const QString &path, double seconds)
{
    return media::average(media::lumaFrame(path, seconds, kLumaSize), kLumaSize, 0, 0, 32, 24);
}

double lastLuma(const QString &path)
{
    return media::average(media::lastLumaFrame(path, kLumaSize), kLumaSize, 0, 0, 32, 24);
}

QString levels(double seen, int second)
{
    return QStringLiteral("level %1, second %2 has %3").arg(seen).arg(second).arg(enginetest::greyOfSecond(second));
}

} // namespace

void TestRealSources::initTestCase()
{
    QVERIFY2(m_engine.isLoaded(), qPrintable(m_engine.error()));
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("clips"));
    QString errors;
    QVERIFY2(enginetest::makeBroadcastClips(m_dir.filePath("clips"), &errors), qPrintable(errors));
}

VideoCall TestRealSources::call(const QString &name, const QByteArray &start, const QByteArray &duration)
{
    const QString folder = m_dir.filePath(QStringLiteral("out%1").arg(++m_outputs));
    QDir().mkpath(folder);
    VideoCall c;
    c.sourcePath = clip(name).toUtf8();
    c.destPath = (folder + "/0001.mp4").toUtf8();
    c.pictureSize = "160:120";
    c.frameSize = "160:120";
    c.startTime = start;
    c.duration = duration;
    return c;
}

void TestRealSources::range_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("duration");
    // Starts between key frames 10 s apart: the seek by time lands after the key frame.
    QTest::newRow("MPEG-TS, start 3") << "gop10s.ts" << 3 << 2;
    QTest::newRow("MPEG-TS, start 5") << "gop10s.ts" << 5 << 2;
    QTest::newRow("MPEG-TS, start 10 on the second key frame") << "gop10s.ts" << 10 << 2;
    QTest::newRow("MPEG-TS of 4 s, one key frame") << "onekey.ts" << 2 << 1;
    QTest::newRow("MPEG-TS from 36000 s") << "offset.ts" << 4 << 2;
    QTest::newRow("MPEG-2 program stream, one key frame in 12 s") << "gop12s.mpg" << 5 << 2;
    // Second 5 counts from the first frame (10 s), as the preview and the probe count.
    QTest::newRow("Matroska, first frame at 10 s") << "start10.mkv" << 5 << 2;
    // A time after a jump is a time of the joined whole.
    QTest::newRow("two MPEG-TS recordings joined, start in the second") << "joined.ts" << 5 << 2;
    QTest::newRow("MPEG-TS with a jump of 600 s, start after it") << "jump600.ts" << 5 << 2;
}

void TestRealSources::range()
{
    QFETCH(QString, file);
    QFETCH(int, start);
    QFETCH(int, duration);
    const VideoCall c = call(file, QByteArray::number(start), QByteArray::number(duration));
    QCOMPARE(callVideo(m_engine, c), 0);

    const QJsonObject video = media::stream(media::probe(c.destPath), "video");
    QVERIFY(!video.isEmpty());
    const double length = media::number(video.value("duration"));
    QVERIFY2(std::fabs(length - duration) < 0.1, qPrintable(QString::number(length)));
    // The first frame is the asked second, the last the one before the end, nothing later.
    const double first = lumaAt(c.destPath, 0);
    const double last = lastLuma(c.destPath);
    QVERIFY2(std::fabs(first - enginetest::greyOfSecond(start)) < 8, qPrintable(levels(first, start)));
    const int lastSecond = start + duration - 1;
    QVERIFY2(std::fabs(last - enginetest::greyOfSecond(lastSecond)) < 8, qPrintable(levels(last, lastSecond)));
}

void TestRealSources::wholeRecording_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("two MPEG-TS recordings joined") << "joined.ts";
    QTest::newRow("MPEG-TS with a jump of 600 s") << "jump600.ts";
    QTest::newRow("MPEG-TS from 36000 s") << "offset.ts";
}

void TestRealSources::wholeRecording()
{
    QFETCH(QString, file);
    enginetest::EngineLibrary probe;
    QVERIFY2(probe.isLoaded(), qPrintable(probe.error()));
    KrodecProbeInfo info{};
    QCOMPARE(probe.probe(clip(file), info), 0);

    const VideoCall c = call(file, "0", "0");
    QCOMPARE(callVideo(m_engine, c), 0);
    const QJsonObject probed = media::probe(c.destPath);
    const QJsonObject video = media::stream(probed, "video");
    const QJsonObject audio = media::stream(probed, "audio");
    QVERIFY(!video.isEmpty() && !audio.isEmpty());
    // Both parts one after the other, nothing in between: the length the probe told.
    const double length = media::number(video.value("duration"));
    QVERIFY2(length >= info.seconds && length < info.seconds + 1,
             qPrintable(QStringLiteral("%1 s, probe %2 s").arg(length).arg(info.seconds)));
    QVERIFY2(std::fabs(media::number(audio.value("duration")) - length) < 0.5,
             qPrintable(audio.value("duration").toString()));
    for (int second = 0; second < info.seconds; second += 3) {
        const double level = lumaAt(c.destPath, second + 0.5);
        QVERIFY2(std::fabs(level - enginetest::greyOfSecond(second)) < 8, qPrintable(levels(level, second)));
    }
    const double last = lastLuma(c.destPath);
    QVERIFY2(std::fabs(last - enginetest::greyOfSecond(info.seconds - 1)) < 8,
             qPrintable(levels(last, info.seconds - 1)));
}

QTEST_GUILESS_MAIN(TestRealSources)
#include "tst_realsources.moc"
