#include "convert/SourceRate.h"


extern "C" {
#include <libavformat/avformat.h>
}

#include <cmath>

namespace krodec::convert {
namespace {

bool known(AVRational rate) { return rate.num > 0 && rate.den > 0; }

} // namespace

std::optional<Rational> streamFrameRate(AVRational average, AVRational guessed)
{
    if (known(average) && known(guessed)) {
        const double ratio = av_q2d(average) / av_q2d(guessed);
        return tidyFrameRate(av_q2d(std::fabs(ratio - 1) < 0.01 ? average : guessed));
    }
    if (known(guessed))
        return tidyFrameRate(av_q2d(guessed));
    if (known(average))
        return tidyFrameRate(av_q2d(average));
    return std::nullopt;
}

Rational sourceFrameRate(AVFormatContext *format, AVStream *stream)
{
    const auto rate = streamFrameRate(stream->avg_frame_rate, av_guess_frame_rate(format, stream, nullptr));
    if (!rate)
        return {30000, 1001};
    // Slide shows slower than a frame a second are shown at one: every picture still
    // gets its time, and the encoders keep a sane time base.
    return rate->num >= rate->den ? *rate : Rational{1, 1};
}

} // namespace krodec::convert
