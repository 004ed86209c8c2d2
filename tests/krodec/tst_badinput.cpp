// Files that are not what they claim, damaged, unreadable or extreme: the probe answers -1 or a
// sound record within a bounded time, the thumbnail and the frame source never fault or hang.

#include "EngineLibrary.h"
#include "TestMedia.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <cmath>
#include <memory>
#include <random>

using namespace enginetest;

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void probe_data();
    void probe();
    void frameSource_data();
    void frameSource();
    void nullArguments();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    void addRows();
    QTemporaryDir dir_;
    std::unique_ptr<EngineLibrary> engine_;
};

namespace {

enum Expect { Refused, Accepted, Either };

constexpr double kBoundMs = 5000;
const QString kUnicodeName = QStringLiteral("clip with blanks \u00e9t\u00e9 \u65e5\u672c.mp4");

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Overwrites `chunks` runs of 64 random bytes at random places after the first `keep` bytes.
QByteArray damaged(QByteArray bytes, int chunks, int keep, unsigned seed)
{
    std::mt19937 random(seed);
    for (int i = 0; i < chunks && bytes.size() > keep + 64; ++i) {
        std::uniform_int_distribution<int> where(keep, static_cast<int>(bytes.size()) - 64);
        const int at = where(random);
        for (int j = 0; j < 64; ++j)
            bytes[at + j] = static_cast<char>(random() & 0xff);
    }
    return bytes;
}

// The boxes of an MP4 up to the end of its "moov": the header without any sample.
QByteArray headerOnly(const QByteArray &mp4)
{
    qsizetype at = 0;
    while (at + 8 <= mp4.size()) {
        const auto byte = [&](qsizetype i) { return static_cast<quint32>(static_cast<unsigned char>(mp4[at + i])); };
        const quint32 size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        if (size < 8)
            break;
        if (mp4.mid(at + 4, 4) == "moov")
            return mp4.left(at + size);
        at += size;
    }
    return QByteArray();
}

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = static_cast<char>(random() & 0xff);
    return bytes;
}

// Every field within what a real clip can have.
QString recordProblem(const KrodecProbeInfo &info)
{
    auto rate = [](float v) { return std::isfinite(v) && v >= 0 && v < 1.0e7f; };
    if (info.seconds < 0)
        return QStringLiteral("seconds %1").arg(info.seconds);
    if (!std::isfinite(info.frameRate) || info.frameRate < 0 || info.frameRate > 1000)
        return QStringLiteral("frame rate %1").arg(info.frameRate);
    if (!rate(info.videoBitRate) || !rate(info.audioBitRate))
        return QStringLiteral("bit rates %1 %2").arg(info.videoBitRate).arg(info.audioBitRate);
    if (info.width < 0 || info.height < 0 || info.width > 16384 || info.height > 16384
        || (info.width == 0) != (info.height == 0))
        return QStringLiteral("size %1x%2").arg(info.width).arg(info.height);
    if (info.aspectCode < 0 || info.aspectCode > 4 || (info.displayAspectFlag != 0 && info.displayAspectFlag != 1))
        return QStringLiteral("aspect %1 flag %2").arg(info.aspectCode).arg(info.displayAspectFlag);
    if (info.sampleRate < 0 || info.sampleRate > 768000)
        return QStringLiteral("sample rate %1").arg(info.sampleRate);
    if (info.width == 0 && info.sampleRate == 0)
        return QStringLiteral("neither picture nor sound");
    return QString();
}

} // namespace

void TestBadInput::initTestCase()
{
    QVERIFY(dir_.isValid());
    engine_ = std::make_unique<EngineLibrary>();
    QVERIFY2(engine_->isLoaded(), qPrintable(engine_->error()));

    const QStringList pattern = {"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=4",
                                 "-f", "lavfi", "-i", "anoisesrc=d=4:a=0.2"};
    struct Clip {
        QString name;
        QStringList arguments;
    };
    const QList<Clip> clips = {
        {"good.mp4", pattern + QStringList{"-c:v", "libx264", "-c:a", "aac", "-shortest"}},
        {"faststart.mp4", pattern + QStringList{"-c:v", "libx264", "-c:a", "aac", "-shortest", "-movflags", "+faststart"}},
        {"good.mpg", pattern + QStringList{"-c:v", "mpeg2video", "-c:a", "mp2", "-shortest", "-f", "vob"}},
        {"good.avi", pattern + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame", "-shortest"}},
        {"good.webm", pattern + QStringList{"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8",
                                            "-c:a", "libopus", "-shortest"}},
        {kUnicodeName, pattern + QStringList{"-c:v", "libx264", "-c:a", "aac", "-shortest"}},
        {"one_pixel.png", {"-f", "lavfi", "-i", "color=c=red:s=16x16", "-vf", "scale=1:1", "-frames:v", "1"}},
        {"large.jpg", {"-f", "lavfi", "-i", "testsrc2=s=4000x3000", "-frames:v", "1"}},
        {"large.mp4", {"-f", "lavfi", "-i", "testsrc2=s=4000x3000:r=5:d=1", "-c:v", "libx264", "-preset", "ultrafast"}},
        {"tiny.mkv", {"-f", "lavfi", "-i", "testsrc2=s=2x2:r=25:d=2", "-c:v", "ffv1"}},
        {"raw.h264", {"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=3", "-c:v", "libx264", "-f", "h264"}},
    };
    for (const Clip &clip : clips) {
        QString errors;
        QVERIFY2(makeMedia(clip.arguments, path(clip.name), &errors), qPrintable(clip.name + ": " + errors));
    }
    // Time stamps that jump back, and ones that wrap around the 33-bit limit of MPEG.
    QString errors;
    QVERIFY2(makeMedia({"-i", path("good.mp4"), "-c", "copy", "-bsf:v", "setts=ts=if(gte(N\\,30)\\,TS-90000\\,TS)"},
                       path("jump.ts"), &errors), qPrintable(errors));
    QVERIFY2(makeMedia({"-i", path("good.mp4"), "-c", "copy", "-output_ts_offset", "95441"}, path("wrap.ts"), &errors),
             qPrintable(errors));

    // What no conversion can use: encrypted tracks, a fragmented MP4 cut after its header, streams
    // declared without a single packet.
    const QStringList encrypt = {"-encryption_scheme", "cenc-aes-ctr", "-encryption_key", "76a6c65c5ea762046bd749a2e632ccbb",
                                 "-encryption_kid", "a7e61c373e219033c21091fa607bf3b8"};
    QVERIFY2(makeMedia(pattern + QStringList{"-c:v", "libx264", "-c:a", "aac", "-shortest"} + encrypt,
                       path("encrypted.mp4"), &errors), qPrintable(errors));
    QVERIFY2(makeMedia(QStringList{"-f", "lavfi", "-i", "anoisesrc=d=4:a=0.2", "-c:a", "aac"} + encrypt,
                       path("encrypted.m4a"), &errors), qPrintable(errors));
    QVERIFY2(makeMedia(pattern + QStringList{"-c:v", "libx264", "-c:a", "aac", "-shortest", "-movflags",
                                             "frag_keyframe+empty_moov"}, path("fragmented.mp4"), &errors),
             qPrintable(errors));
    QVERIFY(writeFile(path("header_only.mp4"), headerOnly(readFile(path("fragmented.mp4")))));
    QVERIFY2(makeMedia(pattern + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame", "-shortest", "-bsf:v",
                                             "noise=drop=1", "-bsf:a", "noise=drop=1"}, path("no_packets.avi"), &errors),
             qPrintable(errors));

    QVERIFY(writeFile(path("empty.mp4"), QByteArray()));
    QVERIFY(writeFile(path("text.avi"), QByteArray("This is a text file, not a film.\n").repeated(200)));
    QVERIFY(writeFile(path("random.mp4"), randomBytes(300000, 1)));
    const QByteArray good = readFile(path("good.mp4"));
    QVERIFY(writeFile(path("cut.mp4"), good.left(good.size() / 2)));
    const QByteArray fast = readFile(path("faststart.mp4"));
    QVERIFY(writeFile(path("cut_faststart.mp4"), fast.left(fast.size() / 2)));
    for (const char *name : {"faststart.mp4", "good.mpg", "good.avi", "good.webm"}) {
        const QByteArray bytes = readFile(path(name));
        QVERIFY(!bytes.isEmpty());
        for (unsigned seed = 1; seed <= 3; ++seed) {
            QVERIFY(writeFile(path(QStringLiteral("damaged%1_").arg(seed) + name), damaged(bytes, 40, 0, seed)));
            QVERIFY(writeFile(path(QStringLiteral("body%1_").arg(seed) + name), damaged(bytes, 200, 4096, seed)));
        }
    }
    QVERIFY(writeFile(path("locked.mp4"), good));
    QVERIFY(QFile::setPermissions(path("locked.mp4"), QFileDevice::Permissions()));
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.mp4")));
}

void TestBadInput::addRows()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("expect");
    // root reads every file whatever its permissions say
    const int locked = geteuid() == 0 ? Accepted : Refused;
    QTest::newRow("zero bytes") << path("empty.mp4") << int(Refused);
    QTest::newRow("text named .avi") << path("text.avi") << int(Refused);
    QTest::newRow("random bytes") << path("random.mp4") << int(Refused);
    QTest::newRow("MP4 cut in half, index at the end") << path("cut.mp4") << int(Refused);
    QTest::newRow("MP4 cut in half, index in front") << path("cut_faststart.mp4") << int(Either);
    QTest::newRow("no read permission") << path("locked.mp4") << locked;
    QTest::newRow("folder") << path("folder.mp4") << int(Refused);
    QTest::newRow("missing") << path("missing.mp4") << int(Refused);
    QTest::newRow("empty path") << QString() << int(Refused);
    QTest::newRow("blanks and non-ASCII letters") << path(kUnicodeName) << int(Accepted);
    QTest::newRow("1x1 picture") << path("one_pixel.png") << int(Accepted);
    QTest::newRow("4000x3000 picture") << path("large.jpg") << int(Accepted);
    QTest::newRow("4000x3000 video") << path("large.mp4") << int(Accepted);
    QTest::newRow("2x2 video") << path("tiny.mkv") << int(Accepted);
    QTest::newRow("no time stamps") << path("raw.h264") << int(Accepted);
    QTest::newRow("time stamps jumping back") << path("jump.ts") << int(Either);
    QTest::newRow("time stamps wrapping") << path("wrap.ts") << int(Accepted);
    QTest::newRow("encrypted video and sound") << path("encrypted.mp4") << int(Refused);
    QTest::newRow("encrypted sound") << path("encrypted.m4a") << int(Refused);
    QTest::newRow("fragmented MP4 cut after its header") << path("header_only.mp4") << int(Refused);
    QTest::newRow("streams declared without packets") << path("no_packets.avi") << int(Refused);
    for (const char *name : {"faststart.mp4", "good.mpg", "good.avi", "good.webm"}) {
        for (int seed = 1; seed <= 3; ++seed) {
            const QString damagedName = QStringLiteral("damaged%1_").arg(seed) + name;
            const QString bodyName = QStringLiteral("body%1_").arg(seed) + name;
            QTest::newRow(qPrintable(damagedName)) << path(damagedName) << int(Either);
            QTest::newRow(qPrintable(bodyName)) << path(bodyName) << int(Either);
        }
    }
}

void TestBadInput::probe_data()
{
    addRows();
}

void TestBadInput::probe()
{
    QFETCH(QString, file);
    QFETCH(int, expect);
    KrodecProbeInfo info{};
    double ms = 0;
    const int32_t result = engine_->probe(file, info, &ms);
    QVERIFY2(ms < kBoundMs, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    qInfo("%s: %d in %.0f ms (%d s, %dx%d)", qPrintable(QFileInfo(file).fileName()), result, ms, info.seconds,
          info.width, info.height);
    QVERIFY(result == 0 || result == -1);
    if (expect == Refused)
        QCOMPARE(result, -1);
    if (expect == Accepted)
        QCOMPARE(result, 0);
    if (result == 0) {
        const QString problem = recordProblem(info);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    // The thumbnail call comes after every accepted probe; it must hand out a whole picture.
    QElapsedTimer timer;
    timer.start();
    for (const QSize &size : {QSize(240, 180), QSize(1, 1), QSize(97, 13)}) {
        unsigned char *pixels = nullptr;
        int32_t seconds = 0;
        engine_->getFrame(size.width(), size.height(), "2.bmp", &pixels, &seconds);
        QVERIFY(pixels);
        meanLevel(pixels, size.width(), size.height());  // reads every byte
    }
    QVERIFY(timer.elapsed() < kBoundMs);
}

void TestBadInput::frameSource_data()
{
    addRows();
}

void TestBadInput::frameSource()
{
    QFETCH(QString, file);
    QElapsedTimer timer;
    timer.start();
    EngineLibrary engine;
    RecordingWindow window;
    const QByteArray utf8 = file.toUtf8();
    QCOMPARE(engine.frameInit(&window, 2, utf8.constData(), "", "0"), 0);
    QCOMPARE(window.next(0, std::chrono::milliseconds(6000)).id, uint32_t(KRODEC_MSG_READY));
    for (int second : {1, 3, 0, 100}) {
        const size_t seen = window.messages().size();
        engine.setNextFrameTime(second);
        const Message answer = window.next(seen, std::chrono::milliseconds(6000));
        QCOMPARE(answer.id, uint32_t(KRODEC_MSG_FRAME));
        unsigned char *pixels = nullptr;
        int32_t shown = 0;
        engine.getFrame(64, 48, nullptr, &pixels, &shown);
        QVERIFY(pixels);
        meanLevel(pixels, 64, 48);
    }
    const size_t seen = window.messages().size();
    QCOMPARE(engine.frameUnInit(), 0);
    QCOMPARE(window.next(seen).id, uint32_t(KRODEC_MSG_CLOSED));
    QVERIFY2(timer.elapsed() < 4 * kBoundMs, qPrintable(QString::number(timer.elapsed())));
}

void TestBadInput::nullArguments()
{
    KrodecProbeInfo info{};
    QCOMPARE(engine_->getFileInfo(nullptr, 10, &info), -1);
    char name[] = "x.mp4";
    QCOMPARE(engine_->getFileInfo(name, 10, nullptr), -1);
    int32_t seconds = 0;
    QCOMPARE(engine_->getFrame(10, 10, "2.bmp", nullptr, &seconds), -1);
    unsigned char *pixels = nullptr;
    QCOMPARE(engine_->getFrame(100000, 10, "2.bmp", &pixels, &seconds), -1);
    QVERIFY(!pixels);
    QCOMPARE(engine_->getFrame(100000, 10, nullptr, &pixels, nullptr), -1);
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
