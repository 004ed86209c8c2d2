// The program loads the engine for each clip and frees it afterwards: freeing it must take it out
// of the process, so nothing of one load (a stop request, say) is there at the next.

#include "ConvertEngine.h"
#include "EngineLibrary.h"
#include "MediaTools.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

#include <cmath>

class TestUnload : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void engineLeavesTheProcessWhenFreed();
    void stopAfterACallDoesNotReachTheNextLoad();

private:
    VideoCall call(const QString &folderName) const;

    QTemporaryDir m_dir;
    QString m_clip;
};

namespace {

bool engineMapped()
{
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libKrodecDLL.so");
}

// FFmpeg's libraries stay: loading them anew for every file added would cost a tenth of a
// second each time.
bool ffmpegMapped()
{
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libavformat.so");
}

bool engineLoaded()
{
    void *handle = dlopen(ORVO_BUNDLE_DIR "/libKrodecDLL.so", RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);   // the reference RTLD_NOLOAD took
    return handle != nullptr;
}

} // namespace

void TestUnload::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_clip = m_dir.filePath("tone.mp4");
    QString errors;
    QVERIFY2(media::ffmpeg({"-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=2", "-f", "lavfi", "-i",
                            "sine=f=440:d=2:r=44100", "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
                            "yuv420p", "-c:a", "aac", "-shortest", m_clip},
                           &errors),
             qPrintable(errors));
    QVERIFY(!engineLoaded());
    QVERIFY(!ffmpegMapped());
}

VideoCall TestUnload::call(const QString &folderName) const
{
    QDir(m_dir.path()).mkpath(folderName);
    VideoCall c;
    c.sourcePath = m_clip.toUtf8();
    c.destPath = (m_dir.filePath(folderName) + "/0001.mp4").toUtf8();
    return c;
}

void TestUnload::engineLeavesTheProcessWhenFreed()
{
    {
        // Every function set at work once: probe and thumbnail, frame source, conversion.
        enginetest::EngineLibrary preview;
        QVERIFY2(preview.isLoaded(), qPrintable(preview.error()));
        KrodecProbeInfo info{};
        QCOMPARE(preview.probe(m_clip, info), 0);
        unsigned char *pixels = nullptr;
        int32_t seconds = -1;
        QCOMPARE(preview.getFrame(64, 48, "2.bmp", &pixels, &seconds), 0);
        enginetest::RecordingWindow window;
        QCOMPARE(preview.frameInit(&window, 2, m_clip.toUtf8().constData(), "", "0"), 0);
        QVERIFY(window.waitForCount(1));
        QCOMPARE(preview.setNextFrameTime(1), 0);
        QVERIFY(window.waitForCount(2));
        QCOMPARE(preview.frameUnInit(), 0);

        ConvertEngine engine;
        QVERIFY2(engine.isLoaded(), qPrintable(engine.error()));
        QCOMPARE(callVideo(engine, call("first")), 0);
        int32_t progress[3] = {};
        QCOMPARE(engine.getInfo()(progress), 0);
        QVERIFY(engineLoaded());
    }
    QVERIFY2(!engineMapped() && !engineLoaded(), "the engine stayed in the process after it was freed");
    QVERIFY2(ffmpegMapped(), "FFmpeg's libraries left with the engine");
}

void TestUnload::stopAfterACallDoesNotReachTheNextLoad()
{
    {
        ConvertEngine engine;
        QVERIFY2(engine.isLoaded(), qPrintable(engine.error()));
        QCOMPARE(callVideo(engine, call("before")), 0);
        // The user stops just as the clip ends; the program frees the engine.
        QCOMPARE(engine.stopConvert()(), 0);
    }
    ConvertEngine engine;
    QVERIFY2(engine.isLoaded(), qPrintable(engine.error()));
    const VideoCall next = call("after");
    QCOMPARE(callVideo(engine, next), 0);
    QVERIFY2(QFile::exists(next.destPath), "the next load's conversion was stopped");
    const double length = media::number(media::probe(next.destPath).value("format").toObject().value("duration"));
    QVERIFY2(std::fabs(length - 2) < 0.1, qPrintable(QString::number(length)));
}

QTEST_GUILESS_MAIN(TestUnload)
#include "tst_unload.moc"
