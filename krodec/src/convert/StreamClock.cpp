#include "convert/StreamClock.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <cstdlib>

namespace krodec::convert {

static_assert(AV_NOPTS_VALUE == INT64_MIN, "an unknown time is FFmpeg's AV_NOPTS_VALUE");

void StreamClock::reset()
{
    m_offset = 0;
    m_next = AV_NOPTS_VALUE;
    m_reached = AV_NOPTS_VALUE;
}

int64_t StreamClock::toMicros(int64_t pts) const { return av_rescale_q(pts, m_timeBase, AV_TIME_BASE_Q); }

// Inside the source as far as its length tells, with the same margin as a jump.
bool StreamClock::plausible(int64_t micros, int64_t sourceEnd) const
{
    return sourceEnd == AV_NOPTS_VALUE || micros <= sourceEnd + kMaxJumpMicros;
}

int64_t StreamClock::place(int64_t pts, int64_t length, const StreamClock *other, int64_t sourceEnd)
{
    int64_t placed = pts + m_offset;
    const int64_t at = toMicros(placed);
    const int64_t there = other ? other->m_reached : AV_NOPTS_VALUE;
    const bool besideOther = there != AV_NOPTS_VALUE && std::llabs(at - there) <= kMaxJumpMicros;
    if (m_next == AV_NOPTS_VALUE) {
        // The first frame: only a time past the end of the source is wrong for certain.
        if (!plausible(at, sourceEnd) && there != AV_NOPTS_VALUE) {
            m_offset += av_rescale_q(there, AV_TIME_BASE_Q, m_timeBase) - placed;
            placed = pts + m_offset;
        }
    } else {
        const int64_t jump = at - toMicros(m_next);
        const bool large = jump > kMaxJumpMicros || jump < -kMaxJumpMicros;
        const bool alone = there == AV_NOPTS_VALUE;
        const bool confirmed = alone ? jump > 0 && plausible(at, sourceEnd) : besideOther;
        if (large && !confirmed) {
            m_offset += m_next - placed;
            placed = m_next;
        }
    }
    // A damaged duration must not open a gap of its own.
    const int64_t longest = av_rescale_q(kMaxJumpMicros, AV_TIME_BASE_Q, m_timeBase);
    m_next = placed + std::clamp<int64_t>(length, 0, longest);
    m_reached = toMicros(m_next);
    return placed;
}

} // namespace krodec::convert
