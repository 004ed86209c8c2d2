#include "ProbeRecord.h"

#include <cmath>
#include <limits>

namespace krodec {

namespace {

double sane(double rate)
{
    return std::isfinite(rate) && rate > 0 && rate < 1.0e10 ? rate : 0;
}

} // namespace

void aspectFields(int width, int height, int sarNum, int sarDen, int32_t &code, int32_t &flag)
{
    code = 1;
    flag = 1;
    if (sarNum <= 0 || sarDen <= 0 || sarNum == sarDen || width <= 0 || height <= 0)
        return;
    const double display = static_cast<double>(width) * sarNum / (static_cast<double>(height) * sarDen);
    struct Shape {
        double ratio;
        int32_t code;
    };
    static constexpr Shape shapes[] = {{4.0 / 3.0, 2}, {16.0 / 9.0, 3}, {2.21, 4}};
    for (const Shape &shape : shapes) {
        if (std::fabs(display / shape.ratio - 1.0) <= 0.01) {
            code = shape.code;
            flag = 0;
            return;
        }
    }
    code = 0;
    flag = 1;
}

void chooseBitRates(const BitRateInput &in, double &video, double &audio)
{
    const double total = sane(in.container);
    const double sampledVideo = sane(in.videoSampled);
    const double sampledAudio = sane(in.audioSampled);
    video = in.hasVideo ? sane(in.videoStream) : 0;
    audio = in.hasAudio ? sane(in.audioStream) : 0;
    const bool needVideo = in.hasVideo && video <= 0;
    const bool needAudio = in.hasAudio && audio <= 0;

    if (needVideo && needAudio) {
        // Split the overall rate in the proportion the sample shows.
        const double sampled = sampledVideo + sampledAudio;
        if (total > 0 && sampled > 0) {
            video = total * sampledVideo / sampled;
            audio = total - video;
        } else {
            video = sampledVideo;
            audio = sampledAudio;
        }
    } else if (needVideo) {
        video = total > audio ? total - audio : sampledVideo;
    } else if (needAudio) {
        // Audio is close to constant, so a sample tells its rate better than a difference.
        if (sampledAudio > 0)
            audio = sampledAudio;
        else if (!in.hasVideo)
            audio = total;
        else
            audio = total > video ? total - video : 0;
    }
    video = sane(video);
    audio = sane(audio);
}

int32_t wholeSeconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    if (seconds >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(seconds);
}

} // namespace krodec
