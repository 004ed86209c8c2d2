// Reading of the conversion texts and the device limits the engine applies.

#include "convert/ConvertRequest.h"
#include "convert/EncodePlan.h"

#include <QtTest>

#include <clocale>

using namespace krodec::convert;

namespace {

ConvertRequest videoRequest(Device device, VideoCodec codec, Size frame, Size picture, Rational rate,
                            int videoKbps)
{
    ConvertRequest r;
    r.device = device;
    r.videoCodec = codec;
    r.fileFormat = FileFormat::Mp4;
    r.frame = frame;
    r.picture = picture;
    r.frameRate = rate;
    r.videoKbps = videoKbps;
    r.audioKbps = 128;
    r.sampleRate = 44100;
    return r;
}

} // namespace

class TestConvertPlan : public QObject {
    Q_OBJECT

private slots:
    void frameRates_data();
    void frameRates();
    void sizes_data();
    void sizes();
    void sampleRates_data();
    void sampleRates();
    void formats_data();
    void formats();
    void numbersIgnoreTheLocale();
    void nullAndNonsenseTextsAreRefused_data();
    void nullAndNonsenseTextsAreRefused();
    void videoLimits_data();
    void videoLimits();
    void audioLimits_data();
    void audioLimits();
    void ipodH264AlwaysGetsTheIpodForm();
    void tooSmallFrameIsRefused();
};

void TestConvertPlan::frameRates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");   // 0: refused
    QTest::newRow("23.97 is NTSC film") << "23.97" << 24000 << 1001;
    QTest::newRow("23.976") << "23.976" << 24000 << 1001;
    QTest::newRow("29.97 is NTSC") << "29.97" << 30000 << 1001;
    QTest::newRow("24 stays whole") << "24" << 24 << 1;
    QTest::newRow("25") << " 25 " << 25 << 1;
    QTest::newRow("30") << "30" << 30 << 1;
    QTest::newRow("12.5") << "12.5" << 25 << 2;
    QTest::newRow("nodef") << "nodef" << 0 << 0;
    QTest::newRow("zero") << "0" << 0 << 0;
    QTest::newRow("negative") << "-25" << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0;
    QTest::newRow("trailing junk") << "25fps" << 0 << 0;
}

void TestConvertPlan::frameRates()
{
    QFETCH(QString, text);
    QFETCH(int, num);
    QFETCH(int, den);
    const auto rate = parseFrameRate(text.toStdString());
    QCOMPARE(rate.has_value(), den != 0);
    if (rate) {
        QCOMPARE(rate->num, num);
        QCOMPARE(rate->den, den);
    }
}

void TestConvertPlan::sizes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");   // 0: refused
    QTest::addColumn<int>("height");
    QTest::newRow("plain") << "320:240" << 320 << 240;
    QTest::newRow("trailing blank as in the definition file") << "368:208 " << 368 << 208;
    QTest::newRow("nodef") << "nodef" << 0 << 0;
    QTest::newRow("zero width") << "0:240" << 0 << 0;
    QTest::newRow("negative height") << "320:-240" << 0 << 0;
    QTest::newRow("no colon") << "320x240" << 0 << 0;
    QTest::newRow("missing height") << "320:" << 0 << 0;
    QTest::newRow("decimal") << "320.5:240" << 0 << 0;
}

void TestConvertPlan::sizes()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, height);
    const auto size = parseSize(text.toStdString());
    QCOMPARE(size.has_value(), width != 0);
    if (size) {
        QCOMPARE(size->width, width);
        QCOMPARE(size->height, height);
    }
}

void TestConvertPlan::sampleRates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("hz");   // 0: refused
    QTest::newRow("Hz") << "44100" << 44100;
    QTest::newRow("kHz") << "44.1" << 44100;
    QTest::newRow("kHz whole") << "48" << 48000;
    QTest::newRow("nodef") << "nodef" << 0;
    QTest::newRow("too low") << "1000" << 0;
    QTest::newRow("zero") << "0" << 0;
}

void TestConvertPlan::sampleRates()
{
    QFETCH(QString, text);
    QFETCH(int, hz);
    const auto rate = parseSampleRate(text.toStdString());
    QCOMPARE(rate.value_or(0), hz);
}

void TestConvertPlan::formats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("codec");   // 0 H.264, 1 MPEG-4, -1 refused
    QTest::newRow("h264") << "h264" << 0;
    QTest::newRow("upper case") << "H264" << 0;
    QTest::newRow("x264") << "x264" << 0;
    QTest::newRow("avc") << "AVC" << 0;
    QTest::newRow("mpeg4") << "mpeg4" << 1;
    QTest::newRow("xvid") << "XviD" << 1;
    QTest::newRow("wmv") << "wmv" << -1;
    QTest::newRow("nodef") << "nodef" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestConvertPlan::formats()
{
    QFETCH(QString, text);
    QFETCH(int, codec);
    const auto parsed = parseVideoCodec(text.toStdString());
    QCOMPARE(parsed ? static_cast<int>(*parsed) : -1, codec);
}

void TestConvertPlan::numbersIgnoreTheLocale()
{
    // The program runs with the user's locale; a comma locale must not turn 29.97 into 29.
    const char *old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        QSKIP("no comma locale installed");
    const auto rate = parseFrameRate("29.97");
    const auto volume = parseVolumeDb("4.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    QVERIFY(rate);
    QCOMPARE(rate->num, 30000);
    QCOMPARE(volume.value_or(0), 4.5);
}

void TestConvertPlan::nullAndNonsenseTextsAreRefused_data()
{
    QTest::addColumn<int>("position");   // 3..22 of the video call
    QTest::addColumn<QString>("text");   // "<null>" passes a null pointer
    QTest::newRow("null source") << 3 << "<null>";
    QTest::newRow("empty source") << 3 << "";
    QTest::newRow("null start") << 5 << "<null>";
    QTest::newRow("start nodef") << 5 << "nodef";
    QTest::newRow("negative start") << 5 << "-1";
    QTest::newRow("aspect nonsense") << 7 << "wide";
    QTest::newRow("file format avi") << 9 << "avi";
    QTest::newRow("video bit rate zero") << 10 << "0";
    QTest::newRow("audio bit rate nodef") << 11 << "nodef";
    QTest::newRow("picture nodef") << 12 << "nodef";
    QTest::newRow("frame zero") << 13 << "0:0";
    QTest::newRow("null title") << 14 << "<null>";
    QTest::newRow("audio track negative") << 18 << "-1";
    QTest::newRow("subtitle asked for") << 19 << "0";
    QTest::newRow("empty destination") << 20 << "";
    QTest::newRow("volume words") << 21 << "loud";
    QTest::newRow("volume out of range") << 21 << "100";
    QTest::newRow("negative duration") << 22 << "-3";
}

void TestConvertPlan::nullAndNonsenseTextsAreRefused()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    std::string texts[20] = {"in.mp4", "0", "0", "44100", "1:1", "h264", "mp4", "500", "128",
                             "320:240", "320:240", "Title", "Artist", "Unknown", "25", "0", "-1",
                             "out.mp4", "0", "0"};
    const char *p[20];
    for (int i = 0; i < 20; ++i)
        p[i] = texts[i].c_str();
    const VideoArgs good{p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9],
                         p[10], p[11], p[12], p[13], p[14], p[15], p[16], p[17], p[18], p[19]};
    QVERIFY(readVideoRequest(Device::IPhone, good));

    const std::string replacement = text.toStdString();
    p[position - 3] = text == "<null>" ? nullptr : replacement.c_str();
    const VideoArgs bad{p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9],
                        p[10], p[11], p[12], p[13], p[14], p[15], p[16], p[17], p[18], p[19]};
    QVERIFY(!readVideoRequest(Device::IPhone, bad));
}

void TestConvertPlan::videoLimits_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("codec");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("kbps");
    QTest::addColumn<QSize>("outFrame");
    QTest::addColumn<QSize>("outPicture");
    QTest::addColumn<QString>("outRate");
    QTest::addColumn<int>("outKbps");
    QTest::addColumn<QString>("level");   // H.264 level or MPEG-4 level

    const int iPod = static_cast<int>(Device::IPod), iPhone = static_cast<int>(Device::IPhone),
              tv = static_cast<int>(Device::AppleTV), h264 = 0, mpeg4 = 1;
    QTest::newRow("iPod 320x240 is level 1.3, 768 kbit/s")
        << iPod << h264 << QSize(320, 240) << QSize(320, 240) << "29.97" << 1000
        << QSize(320, 240) << QSize(320, 240) << "30000/1001" << 768 << "13";
    QTest::newRow("iPod one step past 320 wide is level 3.0")
        << iPod << h264 << QSize(322, 240) << QSize(322, 240) << "25" << 1000
        << QSize(322, 240) << QSize(322, 240) << "25/1" << 1000 << "30";
    QTest::newRow("iPod 640x480 at 3000 is held to 1500")
        << iPod << h264 << QSize(640, 480) << QSize(640, 480) << "30" << 3000
        << QSize(640, 480) << QSize(640, 480) << "30/1" << 1500 << "30";
    QTest::newRow("iPhone 1280x720 shrinks keeping shape, 60 fps to 30")
        << iPhone << h264 << QSize(1280, 720) << QSize(1280, 540) << "60" << 1000
        << QSize(640, 360) << QSize(640, 270) << "30/1" << 1000 << "30";
    QTest::newRow("odd sizes become even")
        << iPhone << h264 << QSize(481, 321) << QSize(479, 319) << "25" << 800
        << QSize(480, 320) << QSize(478, 318) << "25/1" << 800 << "30";
    QTest::newRow("picture larger than frame is held to it")
        << iPhone << h264 << QSize(320, 240) << QSize(400, 300) << "25" << 600
        << QSize(320, 240) << QSize(320, 240) << "25/1" << 600 << "13";
    QTest::newRow("Apple TV 720p at 29.97 is held to 23.976")
        << tv << h264 << QSize(1280, 720) << QSize(1280, 720) << "29.97" << 4000
        << QSize(1280, 720) << QSize(1280, 720) << "24000/1001" << 4000 << "31";
    QTest::newRow("Apple TV 1080p becomes 720p at 24, 5000 kbit/s")
        << tv << h264 << QSize(1920, 1080) << QSize(1920, 1080) << "30" << 8000
        << QSize(1280, 720) << QSize(1280, 720) << "24/1" << 5000 << "31";
    QTest::newRow("Apple TV 960x540 keeps 30 fps")
        << tv << h264 << QSize(960, 540) << QSize(960, 540) << "30" << 3000
        << QSize(960, 540) << QSize(960, 540) << "30/1" << 3000 << "31";
    QTest::newRow("Apple TV one macroblock row past 960x540: 24 fps")
        << tv << h264 << QSize(976, 544) << QSize(976, 544) << "30" << 3000
        << QSize(976, 544) << QSize(976, 544) << "24/1" << 3000 << "31";
    QTest::newRow("Apple TV MPEG-4 at most 720x432, 3000")
        << tv << mpeg4 << QSize(1280, 720) << QSize(1280, 720) << "25" << 4000
        << QSize(720, 404) << QSize(720, 404) << "25/1" << 3000 << "4";
    QTest::newRow("Apple TV MPEG-4 720x432 is Simple level 5")
        << tv << mpeg4 << QSize(720, 432) << QSize(720, 432) << "25" << 3000
        << QSize(720, 432) << QSize(720, 432) << "25/1" << 3000 << "5";
    QTest::newRow("iPod MPEG-4 320x240 at 384 is level 4a: the peak is 2.5 Mbit/s")
        << iPod << mpeg4 << QSize(320, 240) << QSize(320, 240) << "25" << 384
        << QSize(320, 240) << QSize(320, 240) << "25/1" << 384 << "4";
    QTest::newRow("iPod MPEG-4 640x480 at 3000 is held to 2500, level 4a")
        << iPod << mpeg4 << QSize(640, 480) << QSize(640, 480) << "25" << 3000
        << QSize(640, 480) << QSize(640, 480) << "25/1" << 2500 << "4";
}

void TestConvertPlan::videoLimits()
{
    QFETCH(int, device);
    QFETCH(int, codec);
    QFETCH(QSize, frame);
    QFETCH(QSize, picture);
    QFETCH(QString, rate);
    QFETCH(int, kbps);
    QFETCH(QSize, outFrame);
    QFETCH(QSize, outPicture);
    QFETCH(QString, outRate);
    QFETCH(int, outKbps);
    QFETCH(QString, level);

    const auto request = videoRequest(static_cast<Device>(device), static_cast<VideoCodec>(codec),
                                      {frame.width(), frame.height()}, {picture.width(), picture.height()},
                                      *parseFrameRate(rate.toStdString()), kbps);
    const auto plan = planConversion(request);
    QVERIFY(plan && plan->video);
    const VideoPlan &v = *plan->video;
    QCOMPARE(QSize(v.frame.width, v.frame.height), outFrame);
    QCOMPARE(QSize(v.picture.width, v.picture.height), outPicture);
    QCOMPARE(QString("%1/%2").arg(v.frameRate.num).arg(v.frameRate.den), outRate);
    QCOMPARE(v.kbps, outKbps);
    QCOMPARE(codec == 0 ? QString::fromStdString(v.level) : QString::number(v.mpeg4Level), level);
    if (codec == 1) {
        // Simple Profile levels 4a and 5: peak rate in kbit/s and VBV buffer in units of 16384 bits.
        const int levelKbps = v.mpeg4Level == 4 ? 4000 : 8000;
        const int levelBuffer = (v.mpeg4Level == 4 ? 80 : 112) * 16384;
        QVERIFY(v.maxKbps >= v.kbps && v.maxKbps <= levelKbps);
        QVERIFY2(v.bufferKbits > 0 && v.bufferKbits * 1000 <= levelBuffer, qPrintable(QString::number(v.bufferKbits)));
    }
    if (codec == 0) {
        QVERIFY(v.maxKbps >= v.kbps);
        QVERIFY(v.bufferKbits > 0);
        const QString params = QString::fromStdString(v.x264Params);
        QVERIFY(params.contains("cabac=0"));
        QVERIFY(params.contains("weightp=0"));
        QVERIFY(params.contains(device == static_cast<int>(Device::AppleTV) ? "b-pyramid=none" : "bframes=0"));
    }
}

void TestConvertPlan::audioLimits_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("kbps");
    QTest::addColumn<int>("outRate");
    QTest::addColumn<int>("outKbps");
    QTest::addColumn<QString>("encoder");
    const int iPod = static_cast<int>(Device::IPod), tv = static_cast<int>(Device::AppleTV),
              music = static_cast<int>(Device::IPodMusic);
    QTest::newRow("iPod AAC at most 160") << iPod << 44100 << 320 << 44100 << 160 << "aac";
    QTest::newRow("Apple TV AAC up to 320") << tv << 48000 << 320 << 48000 << 320 << "aac";
    QTest::newRow("96 kHz held to 48") << tv << 96000 << 128 << 48000 << 128 << "aac";
    QTest::newRow("MP3 odd bit rate to a Layer III rate") << music << 44100 << 130 << 44100 << 128 << "libmp3lame";
    QTest::newRow("MP3 22.05 kHz to an MPEG-1 rate") << music << 22050 << 128 << 32000 << 128 << "libmp3lame";
    QTest::newRow("MP3 above 320") << music << 48000 << 500 << 48000 << 320 << "libmp3lame";
}

void TestConvertPlan::audioLimits()
{
    QFETCH(int, device);
    QFETCH(int, rate);
    QFETCH(int, kbps);
    QFETCH(int, outRate);
    QFETCH(int, outKbps);
    QFETCH(QString, encoder);
    auto request = videoRequest(static_cast<Device>(device), VideoCodec::H264, {320, 240}, {320, 240},
                                {25, 1}, 500);
    request.sampleRate = rate;
    request.audioKbps = kbps;
    const auto plan = planConversion(request);
    QVERIFY(plan);
    QCOMPARE(plan->audio.sampleRate, outRate);
    QCOMPARE(plan->audio.kbps, outKbps);
    QCOMPARE(QString::fromStdString(plan->audio.encoder), encoder);
    QCOMPARE(plan->video.has_value(), device != static_cast<int>(Device::IPodMusic));
}

void TestConvertPlan::ipodH264AlwaysGetsTheIpodForm()
{
    auto request = videoRequest(Device::IPod, VideoCodec::H264, {320, 240}, {320, 240}, {25, 1}, 500);
    request.fileFormat = FileFormat::Mp4;
    QCOMPARE(QString::fromStdString(planConversion(request)->muxer), QString("ipod"));
    request.videoCodec = VideoCodec::Mpeg4;
    QCOMPARE(QString::fromStdString(planConversion(request)->muxer), QString("mp4"));
    request.device = Device::IPhone;
    request.fileFormat = FileFormat::IPod;
    QCOMPARE(QString::fromStdString(planConversion(request)->muxer), QString("ipod"));
}

void TestConvertPlan::tooSmallFrameIsRefused()
{
    QVERIFY(!planConversion(videoRequest(Device::IPod, VideoCodec::H264, {14, 240}, {14, 240}, {25, 1}, 500)));
    QVERIFY(planConversion(videoRequest(Device::IPod, VideoCodec::H264, {16, 16}, {16, 16}, {25, 1}, 500)));
}

QTEST_APPLESS_MAIN(TestConvertPlan)
#include "tst_convertplan.moc"
