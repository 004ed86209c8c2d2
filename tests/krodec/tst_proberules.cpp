// The rules that turn stream data into probe record fields, without any media.

#include "ProbeRecord.h"

#include <QTest>

#include <limits>

using namespace krodec;

class TestProbeRules : public QObject {
    Q_OBJECT

private slots:
    void aspect_data();
    void aspect();
    void bitRates_data();
    void bitRates();
    void seconds_data();
    void seconds();
};

void TestProbeRules::aspect_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("sarNum");
    QTest::addColumn<int>("sarDen");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("flag");

    QTest::newRow("square pixels") << 640 << 480 << 1 << 1 << 1 << 1;
    QTest::newRow("unknown sample aspect") << 720 << 576 << 0 << 1 << 1 << 1;
    QTest::newRow("negative sample aspect") << 720 << 576 << -3 << 2 << 1 << 1;
    QTest::newRow("equal but not one") << 352 << 288 << 12 << 12 << 1 << 1;
    QTest::newRow("PAL 16:9") << 720 << 576 << 64 << 45 << 3 << 0;
    QTest::newRow("PAL 4:3") << 720 << 576 << 16 << 15 << 2 << 0;
    QTest::newRow("NTSC 4:3 (ITU)") << 720 << 480 << 10 << 11 << 0 << 1;  // 1.364: 2.3 % off 4:3
    QTest::newRow("NTSC 4:3 (MPEG-2)") << 720 << 480 << 8 << 9 << 2 << 0;
    QTest::newRow("NTSC 16:9") << 720 << 480 << 32 << 27 << 3 << 0;
    QTest::newRow("2.21:1") << 720 << 480 << 221 << 150 << 4 << 0;
    QTest::newRow("within 1 % of 16:9") << 1000 << 1000 << 1762 << 1000 << 3 << 0;   // 1.762
    QTest::newRow("just past 1 % of 16:9") << 1000 << 1000 << 1755 << 1000 << 0 << 1; // 1.755
    QTest::newRow("2:1 other shape") << 320 << 240 << 3 << 2 << 0 << 1;
    QTest::newRow("no height") << 320 << 0 << 3 << 2 << 1 << 1;
}

void TestProbeRules::aspect()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, sarNum);
    QFETCH(int, sarDen);
    QFETCH(int, code);
    QFETCH(int, flag);
    int32_t gotCode = -9;
    int32_t gotFlag = -9;
    aspectFields(width, height, sarNum, sarDen, gotCode, gotFlag);
    QCOMPARE(gotCode, code);
    QCOMPARE(gotFlag, flag);
}

void TestProbeRules::bitRates_data()
{
    QTest::addColumn<bool>("hasVideo");
    QTest::addColumn<bool>("hasAudio");
    QTest::addColumn<double>("container");
    QTest::addColumn<double>("videoStream");
    QTest::addColumn<double>("audioStream");
    QTest::addColumn<double>("videoSampled");
    QTest::addColumn<double>("audioSampled");
    QTest::addColumn<double>("video");
    QTest::addColumn<double>("audio");

    QTest::newRow("both known") << true << true << 9e6 << 5e6 << 1e5 << 1.0 << 1.0 << 5e6 << 1e5;
    QTest::newRow("video from the rest") << true << true << 5.2e6 << 0.0 << 2e5 << 0.0 << 0.0 << 5e6 << 2e5;
    QTest::newRow("audio from the sample") << true << true << 5.2e6 << 5e6 << 0.0 << 4e6 << 1.28e5 << 5e6 << 1.28e5;
    QTest::newRow("audio from the rest") << true << true << 5.2e6 << 5e6 << 0.0 << 0.0 << 0.0 << 5e6 << 2e5;
    QTest::newRow("both split by the sample") << true << true << 1e6 << 0.0 << 0.0 << 3e5 << 1e5 << 7.5e5 << 2.5e5;
    QTest::newRow("both sampled, no total") << true << true << 0.0 << 0.0 << 0.0 << 3e5 << 1e5 << 3e5 << 1e5;
    QTest::newRow("rest would be negative") << true << true << 1e5 << 0.0 << 2e5 << 9e4 << 0.0 << 9e4 << 2e5;
    QTest::newRow("audio only, total") << false << true << 1.3e5 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.3e5;
    QTest::newRow("video only, total") << true << false << 8e5 << 0.0 << 0.0 << 0.0 << 0.0 << 8e5 << 0.0;
    QTest::newRow("nothing known") << true << true << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("garbage ignored") << true << false << std::numeric_limits<double>::infinity()
                                     << -5.0 << 0.0 << std::numeric_limits<double>::quiet_NaN() << 0.0 << 0.0 << 0.0;
    QTest::newRow("audio rate of a file without audio") << true << false << 8e5 << 7e5 << 5e4 << 0.0 << 0.0 << 7e5 << 0.0;
}

void TestProbeRules::bitRates()
{
    BitRateInput in;
    QFETCH(bool, hasVideo);
    QFETCH(bool, hasAudio);
    QFETCH(double, container);
    QFETCH(double, videoStream);
    QFETCH(double, audioStream);
    QFETCH(double, videoSampled);
    QFETCH(double, audioSampled);
    QFETCH(double, video);
    QFETCH(double, audio);
    in.hasVideo = hasVideo;
    in.hasAudio = hasAudio;
    in.container = container;
    in.videoStream = videoStream;
    in.audioStream = audioStream;
    in.videoSampled = videoSampled;
    in.audioSampled = audioSampled;
    double gotVideo = -1;
    double gotAudio = -1;
    chooseBitRates(in, gotVideo, gotAudio);
    QCOMPARE(gotVideo, video);
    QCOMPARE(gotAudio, audio);
}

void TestProbeRules::seconds_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("seconds");
    QTest::newRow("truncated") << 12.999 << 12;
    QTest::newRow("under a second") << 0.4 << 0;
    QTest::newRow("negative") << -3.0 << 0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
    QTest::newRow("huge") << 1e30 << std::numeric_limits<int32_t>::max();
}

void TestProbeRules::seconds()
{
    QFETCH(double, length);
    QFETCH(int, seconds);
    QCOMPARE(wholeSeconds(length), seconds);
}

QTEST_GUILESS_MAIN(TestProbeRules)
#include "tst_proberules.moc"
