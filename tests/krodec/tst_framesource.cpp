// The preview's frame source: messages 2312, 2412 and 2512 in order, accurate seeks, the frame on
// show, and unloading the library right after 2512.

#include "EngineLibrary.h"
#include "TestMedia.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>

using namespace enginetest;

class TestFrameSource : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void accurateSeeks_data();
    void accurateSeeks();
    void seekPastTheEnd();
    void unloadRightAfterClose();
    void unusableFileStillAnswers();
    void queuedSeeksAreAllAnswered();
    void probeWhilePreviewRuns();
    void noFrameBeforeTheFirstSeek();
    void closeWithoutOpen();
    void windowThatCallsBack();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

namespace {

// Opens the frame source and waits for 2312.
bool open(EngineLibrary &engine, RecordingWindow &window, const QString &file)
{
    const QByteArray utf8 = file.toUtf8();
    if (engine.frameInit(&window, 2, utf8.constData(), "", "0") != 0)
        return false;
    const Message ready = window.next(0);
    return ready.id == KRODEC_MSG_READY && window.messages().size() == 1;
}

// Seeks and waits for the answer; returns its word, or -1 when none or another message came.
int seek(EngineLibrary &engine, RecordingWindow &window, int seconds)
{
    const size_t seen = window.messages().size();
    engine.setNextFrameTime(seconds);
    const Message answer = window.next(seen);
    return answer.id == KRODEC_MSG_FRAME ? static_cast<int>(answer.word) : -1;
}

// Closes and waits for 2512, which must be the last message.
bool close(EngineLibrary &engine, RecordingWindow &window)
{
    const size_t seen = window.messages().size();
    if (engine.frameUnInit() != 0)
        return false;
    const Message closed = window.next(seen);
    return closed.id == KRODEC_MSG_CLOSED;
}

} // namespace

void TestFrameSource::initTestCase()
{
    QVERIFY(dir_.isValid());
    struct Clip {
        const char *name;
        QStringList arguments;
    };
    // Grey clips whose level tells the second; one key frame only, so every seek must decode
    // from the start of the clip up to the asked second.
    const QString grey = greyClipSource(160, 120, 12);
    const QList<Clip> clips = {
        {"grey.mp4", {"-f", "lavfi", "-i", grey, "-c:v", "libx264", "-g", "300", "-bf", "3"}},
        {"grey.mpg", {"-f", "lavfi", "-i", grey, "-c:v", "mpeg2video", "-g", "12", "-bf", "2", "-f", "vob"}},
        {"grey.webm", {"-f", "lavfi", "-i", grey, "-f", "lavfi", "-i", "sine=d=12", "-c:v", "libvpx-vp9",
                       "-deadline", "realtime", "-cpu-used", "8", "-g", "300", "-c:a", "libopus"}},
        {"grey.avi", {"-f", "lavfi", "-i", grey, "-c:v", "mpeg4", "-g", "300", "-q:v", "3"}},
    };
    for (const Clip &clip : clips) {
        QString errors;
        QVERIFY2(makeMedia(clip.arguments, path(clip.name), &errors), qPrintable(clip.name + (": " + errors)));
    }
    QString errors;
    QVERIFY2(makeBroadcastClips(dir_.path(), &errors), qPrintable(errors));
}

void TestFrameSource::accurateSeeks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<int>>("seconds");
    // Forward, backward, one second on, the last second, and back to the start.
    const QList<int> twelve = {7, 3, 4, 5, 11, 1, 0, 10};
    QTest::newRow("H.264 in MP4") << "grey.mp4" << twelve;
    QTest::newRow("MPEG-2 program stream") << "grey.mpg" << twelve;
    QTest::newRow("VP9 in WebM") << "grey.webm" << twelve;
    QTest::newRow("MPEG-4 Part 2 in AVI") << "grey.avi" << twelve;
    // Transport and program streams are searched by time stamp, not by key frame.
    QTest::newRow("H.264 in MPEG-TS, key frames 10 s apart") << "gop10s.ts" << QList<int>{5, 3, 9, 11, 10, 2, 0, 6};
    QTest::newRow("MPEG-TS of 4 s, one key frame") << "onekey.ts" << QList<int>{2, 3, 1, 0, 3, 2};
    QTest::newRow("MPEG-TS from 36000 s") << "offset.ts" << twelve;
    QTest::newRow("MPEG-2 program stream, one key frame in 12 s") << "gop12s.mpg" << QList<int>{10, 4, 11, 7, 1};
    QTest::newRow("Matroska, first frame at 10 s") << "start10.mkv" << QList<int>{5, 0, 11, 3, 10};
    QTest::newRow("two MPEG-TS recordings joined") << "joined.ts" << QList<int>{6, 2, 5, 7, 1, 0, 4};
    QTest::newRow("MPEG-TS with a jump of 600 s") << "jump600.ts" << QList<int>{6, 2, 5, 7, 0, 4};
}

void TestFrameSource::accurateSeeks()
{
    QFETCH(QString, file);
    QFETCH(QList<int>, seconds);
    EngineLibrary engine;
    QVERIFY2(engine.isLoaded(), qPrintable(engine.error()));
    RecordingWindow window;
    QVERIFY(open(engine, window, path(file)));

    for (int second : seconds) {
        QCOMPARE(seek(engine, window, second), 1);
        unsigned char *pixels = nullptr;
        int32_t shown = -1;
        QCOMPARE(engine.getFrame(80, 60, nullptr, &pixels, &shown), 0);
        QVERIFY(pixels);
        QCOMPARE(shown, second);
        const double level = meanLevel(pixels, 80, 60);
        QVERIFY2(std::fabs(level - greyOfSecond(second)) < 8,
                 qPrintable(QStringLiteral("second %1: level %2, expected %3")
                                .arg(second).arg(level).arg(greyOfSecond(second))));
    }
    QVERIFY(close(engine, window));
    const std::vector<Message> all = window.messages();
    QCOMPARE(all.front().id, uint32_t(KRODEC_MSG_READY));
    QCOMPARE(all.back().id, uint32_t(KRODEC_MSG_CLOSED));
    QCOMPARE(all.size(), size_t(seconds.size() + 2));
}

void TestFrameSource::seekPastTheEnd()
{
    EngineLibrary engine;
    QVERIFY(engine.isLoaded());
    RecordingWindow window;
    QVERIFY(open(engine, window, path("grey.mp4")));
    QCOMPARE(seek(engine, window, 6), 1);
    QCOMPARE(seek(engine, window, 60), 0);
    QCOMPARE(seek(engine, window, 12), 0);
    QCOMPARE(seek(engine, window, -5), 0);
    // The frame on show is still the last one found.
    unsigned char *pixels = nullptr;
    int32_t shown = -1;
    QCOMPARE(engine.getFrame(16, 12, nullptr, &pixels, &shown), 0);
    QCOMPARE(shown, 6);
    // And the source recovers for frames that exist.
    QCOMPARE(seek(engine, window, 2), 1);
    QCOMPARE(engine.getFrame(16, 12, nullptr, &pixels, &shown), 0);
    QCOMPARE(shown, 2);
    QVERIFY(close(engine, window));
}

void TestFrameSource::unloadRightAfterClose()
{
    const int threadsBefore = threadCount();
    auto engine = std::make_unique<EngineLibrary>();
    QVERIFY(engine->isLoaded());
    RecordingWindow window;
    QVERIFY(open(*engine, window, path("grey.mp4")));
    // Close while a seek is under way: the close waits for no answer, and 2512 comes last.
    engine->setNextFrameTime(9);
    QCOMPARE(engine->frameUnInit(), 0);
    QVERIFY(window.waitForCount(2));
    std::vector<Message> all;
    QTRY_VERIFY((all = window.messages()).back().id == KRODEC_MSG_CLOSED);
    // When 2512 has been posted no engine thread is left: unloading at once is safe.
    QCOMPARE(threadCount(), threadsBefore);
    engine.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    QCOMPARE(window.messages().size(), all.size());
    QCOMPARE(threadCount(), threadsBefore);

    // A fresh load works as the first one did.
    EngineLibrary again;
    QVERIFY(again.isLoaded());
    RecordingWindow second;
    QVERIFY(open(again, second, path("grey.mp4")));
    QCOMPARE(seek(again, second, 3), 1);
    QVERIFY(close(again, second));
}

void TestFrameSource::unusableFileStillAnswers()
{
    // The caller waits for 2312 and 2512 without limit: they come even for a file that is not media.
    const QString text = path("notes.avi");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a video at all\n");
    file.close();
    for (const QString &name : {text, path("missing.mp4"), dir_.path()}) {
        EngineLibrary engine;
        RecordingWindow window;
        QVERIFY(open(engine, window, name));
        QCOMPARE(seek(engine, window, 1), 0);
        unsigned char *pixels = nullptr;
        int32_t shown = 5;
        QCOMPARE(engine.getFrame(8, 8, nullptr, &pixels, &shown), -1);
        QVERIFY(pixels);
        QCOMPARE(shown, -1);
        QVERIFY(close(engine, window));
    }
}

void TestFrameSource::queuedSeeksAreAllAnswered()
{
    EngineLibrary engine;
    RecordingWindow window;
    QVERIFY(open(engine, window, path("grey.mp4")));
    for (int second : {2, 9, 4, 8})
        engine.setNextFrameTime(second);
    QVERIFY(window.waitForCount(5));
    const std::vector<Message> all = window.messages();
    for (size_t i = 1; i < all.size(); ++i)
        QCOMPARE(all[i].id, uint32_t(KRODEC_MSG_FRAME));
    QCOMPARE(all.back().word, intptr_t(1));
    unsigned char *pixels = nullptr;
    int32_t shown = -1;
    QCOMPARE(engine.getFrame(16, 12, nullptr, &pixels, &shown), 0);
    QCOMPARE(shown, 8);
    QVERIFY(close(engine, window));
}

void TestFrameSource::probeWhilePreviewRuns()
{
    // The probe and the preview load the library each on their own; the dynamic loader hands both
    // the same instance, and either may let go first.
    auto preview = std::make_unique<EngineLibrary>();
    RecordingWindow window;
    QVERIFY(open(*preview, window, path("grey.mp4")));
    {
        EngineLibrary probe;
        KrodecProbeInfo info{};
        QCOMPARE(probe.probe(path("grey.avi"), info), 0);
        unsigned char *thumbnail = nullptr;
        int32_t seconds = 0;
        QCOMPARE(probe.getFrame(40, 30, "2.bmp", &thumbnail, &seconds), 0);
        QCOMPARE(seek(*preview, window, 5), 1);
        unsigned char *frame = nullptr;
        int32_t shown = -1;
        QCOMPARE(probe.getFrame(40, 30, nullptr, &frame, &shown), 0);
        QCOMPARE(shown, 5);
        QVERIFY(frame != thumbnail);
    }
    QCOMPARE(seek(*preview, window, 6), 1);
    QVERIFY(close(*preview, window));
    // The other order: the preview goes first while the probe still holds the library.
    EngineLibrary probe;
    preview.reset();
    KrodecProbeInfo info{};
    QCOMPARE(probe.probe(path("grey.mp4"), info), 0);
    QCOMPARE(info.seconds, 12);
}

void TestFrameSource::noFrameBeforeTheFirstSeek()
{
    EngineLibrary engine;
    RecordingWindow window;
    QVERIFY(open(engine, window, path("grey.mp4")));
    unsigned char *pixels = nullptr;
    int32_t shown = 0;
    QCOMPARE(engine.getFrame(16, 12, nullptr, &pixels, &shown), -1);
    QVERIFY(pixels);
    QCOMPARE(shown, -1);
    QVERIFY(close(engine, window));
}

void TestFrameSource::closeWithoutOpen()
{
    EngineLibrary engine;
    QCOMPARE(engine.frameUnInit(), -1);
    QCOMPARE(engine.setNextFrameTime(3), -1);
    QCOMPARE(engine.frameInit(nullptr, 2, "x", "", "0"), -1);
}

namespace {

// A window whose post() fetches the frame at once, on the engine's thread.
struct EagerWindow : RecordingWindow {
    EngineLibrary *engine = nullptr;
    std::atomic<int> fetched{0};
};

void eagerPost(KrodecWindow *self, uint32_t message, intptr_t wparam, intptr_t lparam)
{
    auto *window = static_cast<EagerWindow *>(self);
    if (message == KRODEC_MSG_FRAME) {
        unsigned char *pixels = nullptr;
        int32_t shown = 0;
        window->engine->getFrame(32, 24, nullptr, &pixels, &shown);
        ++window->fetched;
    }
    RecordingWindow::forward(self, message, wparam, lparam);
}

} // namespace

void TestFrameSource::windowThatCallsBack()
{
    EngineLibrary engine;
    EagerWindow window;
    window.engine = &engine;
    window.post = &eagerPost;
    QVERIFY(open(engine, window, path("grey.mp4")));
    QCOMPARE(seek(engine, window, 4), 1);
    QCOMPARE(window.fetched.load(), 1);
    // Closing while the engine thread may be inside post(): no deadlock, 2512 still comes last.
    engine.setNextFrameTime(9);
    QVERIFY(close(engine, window));
    QCOMPARE(window.messages().back().id, uint32_t(KRODEC_MSG_CLOSED));
}

QTEST_GUILESS_MAIN(TestFrameSource)
#include "tst_framesource.moc"
