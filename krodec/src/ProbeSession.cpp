#include "ProbeSession.h"

#include "MediaFile.h"
#include "ProbeRecord.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace krodec {

namespace {

constexpr std::chrono::milliseconds kProbeBudget{4500};
constexpr double kSampleSeconds = 3.0;
// A file must give a picture or a sound within its first seconds, else no conversion can use it.
constexpr double kFirstSeconds = 5.0;

double streamRate(const AVStream *stream)
{
    return stream && stream->codecpar->bit_rate > 0 ? static_cast<double>(stream->codecpar->bit_rate) : 0;
}

} // namespace

double ProbeSession::thumbnailTime(double clipSeconds)
{
    if (clipSeconds >= 30)
        return 3.0;
    // A clip under a second, or a single picture, is shown from its first frame: no seek.
    return clipSeconds >= 1 ? clipSeconds / 10 : 0.0;
}

int32_t ProbeSession::probe(const char *path, KrodecProbeInfo &info)
{
    std::memset(&info, 0, sizeof info);
    frame_.reset();
    haveFrame_ = false;
    frameSeconds_ = 0;

    MediaFile file;
    file.interrupt().arm(kProbeBudget);
    if (!file.open(path))
        return -1;
    file.measureLength();
    const AVStream *video = file.video();
    const AVStream *audio = file.audio();
    const double length = file.durationSeconds();

    BitRateInput rates;
    rates.hasVideo = video != nullptr;
    rates.hasAudio = audio != nullptr;
    rates.container = file.format()->bit_rate > 0 ? static_cast<double>(file.format()->bit_rate) : 0;
    rates.videoStream = streamRate(video);
    rates.audioStream = streamRate(audio);

    AVRational sar{0, 1};
    if (!video && !file.audioDecodes(kFirstSeconds))
        return -1;  // encrypted sound, or a header without samples
    if (video) {
        FramePtr frame = makeFrame();
        const double when = thumbnailTime(length);
        const double slack = std::min(10.0, std::max(0.0, length * 0.4 - when));
        if (file.openVideoDecoder(false) && file.frameNear(when, slack, frame.get())) {
            frameSeconds_ = wholeSeconds(file.frameTime(frame.get()) + 0.001);
            frame_ = std::move(frame);
            haveFrame_ = true;
        }
        // A picture stream that gives no picture (encrypted, declared without packets) and no
        // sound that decodes: nothing to convert.
        if (!haveFrame_ && !(audio && file.audioDecodes(kFirstSeconds)))
            return -1;
        sar = av_guess_sample_aspect_ratio(file.format(), const_cast<AVStream *>(video),
                                           haveFrame_ ? frame_.get() : nullptr);
    }

    // Sampled after the thumbnail: some demuxers cannot go back to the start once they have read on.
    if ((rates.hasVideo && rates.videoStream <= 0) || (rates.hasAudio && rates.audioStream <= 0))
        file.sampleBitRates(kSampleSeconds, rates.videoSampled, rates.audioSampled);
    double videoRate = 0;
    double audioRate = 0;
    chooseBitRates(rates, videoRate, audioRate);

    info.seconds = wholeSeconds(length);
    info.frameRate = static_cast<float>(file.frameRate());
    info.videoBitRate = static_cast<float>(videoRate / 1000);
    info.audioBitRate = static_cast<float>(audioRate / 1000);
    if (video) {
        info.width = video->codecpar->width;
        info.height = video->codecpar->height;
        aspectFields(info.width, info.height, sar.num, sar.den, info.aspectCode, info.displayAspectFlag);
    } else {
        info.aspectCode = 1;
        info.displayAspectFlag = 1;
    }
    info.sampleRate = audio ? audio->codecpar->sample_rate : 0;
    return 0;
}

int32_t ProbeSession::thumbnail(int32_t width, int32_t height, unsigned char **pixels, int32_t *seconds)
{
    *pixels = nullptr;
    const bool scaled = haveFrame_ ? scaler_.scale(*frame_, width, height, pixels_)
                                   : blackPicture(width, height, pixels_);
    if (pixels_.empty())
        return -1;
    *pixels = pixels_.data();
    if (seconds)
        *seconds = haveFrame_ ? frameSeconds_ : 0;
    return haveFrame_ && scaled ? 0 : -1;
}

} // namespace krodec
