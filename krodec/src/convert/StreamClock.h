#pragma once

// Keeps the time stamps of one stream believable. A damaged stamp (one audio packet of a
// recording dated 21 hours on) or a jump of the source's clock would otherwise make the filters
// fill the distance with silence or repeated pictures: hours of output, written while the user
// waits. A jump of more than kMaxJump is taken when the other stream is already there (a long
// pause of the picture in a slide show, say) or, for a stream alone, when it moves forward and
// stays inside the source; any other jump is closed up, so the stream goes on where it was.

#include <cstdint>

extern "C" {
#include <libavutil/rational.h>
}

namespace krodec::convert {

class StreamClock {
public:
    static constexpr int64_t kMaxJumpMicros = 10'000'000;

    explicit StreamClock(AVRational timeBase = {1, 1}) : m_timeBase(timeBase) {}

    // Forgets what was seen, after a seek.
    void reset();
    // The time stamp to use for a frame of the stream stamped `pts`, lasting `length` (both in
    // the stream's time base). `other` is the other stream of the conversion (null when there is
    // none); `sourceEnd` the end of the source in microseconds (AV_NOPTS_VALUE when unknown).
    int64_t place(int64_t pts, int64_t length, const StreamClock *other, int64_t sourceEnd);
    // Where the last frame placed ends, in microseconds; AV_NOPTS_VALUE before the first.
    int64_t reachedMicros() const { return m_reached; }

private:
    bool plausible(int64_t micros, int64_t sourceEnd) const;
    int64_t toMicros(int64_t pts) const;

    AVRational m_timeBase;
    int64_t m_offset = 0;          // added to the stream's stamps, in its time base
    int64_t m_next = INT64_MIN;    // where the next frame should start, in its time base
    int64_t m_reached = INT64_MIN;
};

} // namespace krodec::convert
