#include "convert/SourceRate.h"

#include "convert/SourceReader.h"

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

std::optional<ConvertRequest> withSourceFrameRate(std::optional<ConvertRequest> request)
{
    if (!request || !request->sourceFrameRate)
        return request;
    request->frameRate = {30000, 1001};
    SourceReader reader;
    if (reader.open(request->sourcePath, true, request->audioTrack) != SourceReader::Open::Ok)
        return request;   // the conversion itself reports the source
    AVStream *stream = reader.videoStream();
    const auto rate = streamFrameRate(stream->avg_frame_rate, av_guess_frame_rate(reader.format(), stream, nullptr));
    // Slide shows slower than a frame a second are shown at one: every picture still
    // gets its time, and the encoders keep a sane time base.
    if (rate)
        request->frameRate = rate->num >= rate->den ? *rate : Rational{1, 1};
    return request;
}

} // namespace krodec::convert
