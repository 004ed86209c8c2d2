#include "TimeJumps.h"

namespace krodec {

namespace {

// The ffmpeg program takes the same ten seconds for these formats.
constexpr int64_t kLargestStep = 10 * AV_TIME_BASE;
// The step put in place of a jump when the packet before it had no duration.
constexpr int64_t kDefaultStep = AV_TIME_BASE / 25;
// Within one stream time stamps only go forward; a step back by more than this is a jump.
constexpr int64_t kLargestStepBack = AV_TIME_BASE / 10;

} // namespace

TimeJumps::TimeJumps(const AVFormatContext *format)
{
    setFormat(format);
}

void TimeJumps::setFormat(const AVFormatContext *format)
{
    active_ = format && format->iformat && (format->iformat->flags & AVFMT_TS_DISCONT);
    shift_ = 0;
    jumps_ = 0;
    reset();
}

void TimeJumps::reset()
{
    shift_ = 0;
    last_ = AV_NOPTS_VALUE;
    lastDuration_ = 0;
    streamLast_.clear();
}

void TimeJumps::apply(AVPacket *packet, AVRational timeBase)
{
    if (!active_ || timeBase.num <= 0 || timeBase.den <= 0)
        return;
    const int64_t ts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (ts != AV_NOPTS_VALUE) {
        const int64_t micros = av_rescale_q(ts, timeBase, AV_TIME_BASE_Q) + shift_;
        const size_t index = packet->stream_index >= 0 ? static_cast<size_t>(packet->stream_index) : 0;
        if (index >= streamLast_.size())
            streamLast_.resize(index + 1, AV_NOPTS_VALUE);
        if (last_ != AV_NOPTS_VALUE) {
            const int64_t step = micros - last_;
            // Only decoding times are in order; presentation times of reordered frames go back.
            const bool back = packet->dts != AV_NOPTS_VALUE && streamLast_[index] != AV_NOPTS_VALUE
                              && micros + kLargestStepBack < streamLast_[index];
            if (step > kLargestStep || step < -kLargestStep || back) {
                // The packet follows the one before as if the clock had run on.
                shift_ -= step - (lastDuration_ > 0 ? lastDuration_ : kDefaultStep);
                ++jumps_;
            }
        }
        last_ = av_rescale_q(ts, timeBase, AV_TIME_BASE_Q) + shift_;
        if (packet->dts != AV_NOPTS_VALUE)
            streamLast_[index] = last_;
        lastDuration_ = packet->duration > 0 ? av_rescale_q(packet->duration, timeBase, AV_TIME_BASE_Q) : 0;
    }
    if (shift_ == 0)
        return;
    const int64_t offset = av_rescale_q(shift_, AV_TIME_BASE_Q, timeBase);
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts += offset;
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts += offset;
}

} // namespace krodec
