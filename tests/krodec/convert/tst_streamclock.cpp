// The time stamps a stream keeps: jumps the other stream confirms stay, damaged ones close up.

#include "convert/StreamClock.h"

#include <QtTest>

using krodec::convert::StreamClock;

namespace {

constexpr int64_t kNone = INT64_MIN;   // AV_NOPTS_VALUE
constexpr int64_t kSecond = 90000;     // a transport stream's time base, 1/90000
constexpr int64_t kFrame = kSecond / 25;

// Feeds `count` frames of 1/25 s from `from` on and returns the stamp the last one kept.
int64_t run(StreamClock &clock, int64_t from, int count, const StreamClock *other, int64_t end = kNone)
{
    int64_t placed = 0;
    for (int i = 0; i < count; ++i)
        placed = clock.place(from + i * kFrame, kFrame, other, end);
    return placed;
}

} // namespace

class TestStreamClock : public QObject {
    Q_OBJECT

private slots:
    void oneDamagedStampClosesUpAndTheStreamGoesOn();
    void bothStreamsJumpingStayTogether();
    void aLongPauseTheOtherStreamConfirmsStays();
    void aStreamAloneKeepsForwardJumpsInsideTheSource();
    void aStreamAloneClosesUpBackwardJumps();
};

void TestStreamClock::oneDamagedStampClosesUpAndTheStreamGoesOn()
{
    StreamClock video({1, 90000}), audio({1, 90000});
    run(video, 0, 100, &audio);
    run(audio, 0, 100, &video);
    // One sound frame dated 77432 s on: it follows its predecessor instead.
    QCOMPARE(audio.place(100 * kFrame + 77432 * kSecond, kFrame, &video, kNone), 100 * kFrame);
    // The next ones are back on time and stay there.
    QCOMPARE(audio.place(101 * kFrame, kFrame, &video, kNone), 101 * kFrame);
    QCOMPARE(run(audio, 102 * kFrame, 10, &video), 111 * kFrame);
}

void TestStreamClock::bothStreamsJumpingStayTogether()
{
    StreamClock video({1, 90000}), audio({1, 90000});
    run(video, 0, 50, &audio);
    run(audio, 0, 50, &video);
    // The source's clock jumps 600 s on: the first stream to get there closes the gap, and the
    // other, judged against it, too.
    const int64_t jumped = 50 * kFrame + 600 * kSecond;
    QCOMPARE(video.place(jumped, kFrame, &audio, kNone), 50 * kFrame);
    QCOMPARE(audio.place(jumped, kFrame, &video, kNone), 50 * kFrame);
    QCOMPARE(run(video, jumped + kFrame, 5, &audio), 55 * kFrame);
    QCOMPARE(run(audio, jumped + kFrame, 5, &video), 55 * kFrame);
}

void TestStreamClock::aLongPauseTheOtherStreamConfirmsStays()
{
    // A still picture for 30 s while the sound goes on: the picture's next frame is where the
    // sound already is.
    StreamClock video({1, 90000}), audio({1, 90000});
    video.place(0, kFrame, &audio, kNone);
    run(audio, 0, 25 * 30, &video);
    QCOMPARE(video.place(30 * kSecond, kFrame, &audio, kNone), 30 * kSecond);
}

void TestStreamClock::aStreamAloneKeepsForwardJumpsInsideTheSource()
{
    StreamClock slides({1, 1000});
    slides.place(0, 40, nullptr, 1'800'040'000);
    QCOMPARE(slides.place(1'800'000, 40, nullptr, 1'800'040'000), 1'800'000);
    // Past the end of the source it is a damaged stamp.
    StreamClock damaged({1, 1000});
    damaged.place(0, 40, nullptr, 8'000'000);
    QCOMPARE(damaged.place(77'432'000, 40, nullptr, 8'000'000), 40);
}

void TestStreamClock::aStreamAloneClosesUpBackwardJumps()
{
    // Two recordings joined, the second starting its clock again.
    StreamClock sound({1, 90000});
    run(sound, 3600 * kSecond, 50, nullptr);
    QCOMPARE(sound.place(0, kFrame, nullptr, kNone), 3600 * kSecond + 50 * kFrame);
}

QTEST_APPLESS_MAIN(TestStreamClock)
#include "tst_streamclock.moc"
