#include "convert/EncodePlan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <numeric>

namespace krodec::convert {
namespace {

// Largest frame, fastest frame rate and highest bit rate a device decodes.
struct VideoLimit {
    Size maxFrame;
    int maxFps;
    int maxKbps;
};

VideoLimit videoLimit(Device device, VideoCodec codec)
{
    const bool h264 = codec == VideoCodec::H264;
    if (device == Device::AppleTV)
        return h264 ? VideoLimit{{1280, 720}, 30, 5000} : VideoLimit{{720, 432}, 30, 3000};
    return h264 ? VideoLimit{{640, 480}, 30, 1500} : VideoLimit{{640, 480}, 30, 2500};
}

int macroblocks(Size size) { return ((size.width + 15) / 16) * ((size.height + 15) / 16); }

int evenDown(double value) { return static_cast<int>(value) & ~1; }

bool faster(Rational rate, int fps) { return static_cast<long long>(rate.num) > static_cast<long long>(fps) * rate.den; }

// A rate above the limit is divided by the smallest whole number that brings it within,
// when that lands on a film or TV rate (59.94 -> 29.97, 50 -> 25, 48 -> 24): every n-th
// frame is kept, so motion stays even. Otherwise it becomes the limit, keeping NTSC
// rates on the NTSC grid.
Rational clampRate(Rational rate, int maxFps)
{
    if (!faster(rate, maxFps) || rate.num <= 0 || rate.den <= 0)
        return rate;
    const long long num = rate.num;
    const long long den = rate.den;
    const long long divisor = (num + maxFps * den - 1) / (maxFps * den);
    // 24000/1001 is the slowest rate a division may give.
    if (num * 1001 >= 24000 * den * divisor && den * divisor <= 1000000) {
        const long long common = std::gcd(num, den * divisor);
        return Rational{static_cast<int>(num / common), static_cast<int>(den * divisor / common)};
    }
    return rate.den == 1001 ? Rational{maxFps * 1000, 1001} : Rational{maxFps, 1};
}

int nearest(int value, std::initializer_list<int> choices)
{
    int best = *choices.begin();
    for (int choice : choices) {
        if (std::abs(choice - value) < std::abs(best - value))
            best = choice;
    }
    return best;
}

// Fits the frame inside the device's largest frame keeping its shape, and the picture
// with it; both even, as the encoders need for 4:2:0.
bool fitSizes(VideoPlan &plan, const ConvertRequest &request, Size maxFrame)
{
    const Size frame = request.frame;
    const double scale = std::min({1.0, static_cast<double>(maxFrame.width) / frame.width,
                                   static_cast<double>(maxFrame.height) / frame.height});
    plan.frame = {evenDown(frame.width * scale), evenDown(frame.height * scale)};
    const int pictureWidth = std::min(request.picture.width, frame.width);
    const int pictureHeight = std::min(request.picture.height, frame.height);
    plan.picture = {std::min(evenDown(pictureWidth * scale), plan.frame.width),
                    std::min(evenDown(pictureHeight * scale), plan.frame.height)};
    return plan.frame.width >= 16 && plan.frame.height >= 16 && plan.picture.width >= 2
           && plan.picture.height >= 2;
}

void planH264(VideoPlan &plan, Device device)
{
    if (device == Device::AppleTV) {
        // Main without CABAC and without B-pyramid; 8x8 transforms are High profile.
        plan.profile = "main";
        plan.level = "31";
        plan.maxKbps = 5000;
        plan.bufferKbits = 5000;
        // A shorter look-ahead than x264's 40 frames keeps 720p within about 250 MB.
        plan.x264Params = "cabac=0:ref=2:bframes=3:b-pyramid=none:weightp=0:8x8dct=0:rc-lookahead=20";
        // The decoder manages 960x540 at 30 frames a second but 1280x720 only at 24.
        if (macroblocks(plan.frame) > macroblocks({960, 540}))
            plan.frameRate = clampRate(plan.frameRate, 24);
    } else {
        plan.profile = "baseline";
        const bool small = plan.frame.width <= 320 && plan.frame.height <= 240;
        plan.level = small ? "13" : "30";
        plan.maxKbps = small ? 768 : 1500;
        plan.bufferKbits = 2000;
        plan.x264Params = "cabac=0:ref=1:bframes=0:8x8dct=0:weightp=0";
    }
    plan.kbps = std::min(plan.kbps, plan.maxKbps);
}

// The Simple Profile levels of MPEG-4 Part 2 (ISO/IEC 14496-2 Annex N, with levels 4a, 5 and 6 of
// its amendments): frame size and rate in macroblocks, peak rate, and the decoder's VBV buffer.
struct Mpeg4Level {
    int level;              // as written in the stream header (4 stands for 4a)
    int maxBlocks;          // per frame
    int maxBlocksPerSecond;
    int maxKbps;
    int vbvBits;
};

constexpr int kVbvUnit = 16384;
constexpr Mpeg4Level kMpeg4Levels[] = {
    {1, 99, 1485, 64, 10 * kVbvUnit},
    {2, 396, 5940, 128, 40 * kVbvUnit},
    {3, 396, 11880, 384, 40 * kVbvUnit},
    {4, 1200, 36000, 4000, 80 * kVbvUnit},
    {5, 1620, 40500, 8000, 112 * kVbvUnit},
    {6, 3600, 108000, 12000, 248 * kVbvUnit},
};

// The level follows what the decoder must cope with at worst: the peak rate the rate control
// may reach and the macroblocks of every frame, not the average rate.
void planMpeg4(VideoPlan &plan, int maxKbps)
{
    plan.kbps = std::min(plan.kbps, maxKbps);
    plan.maxKbps = maxKbps;
    const int blocks = macroblocks(plan.frame);
    const double blocksPerSecond = static_cast<double>(blocks) * plan.frameRate.num / plan.frameRate.den;
    const Mpeg4Level *chosen = &kMpeg4Levels[std::size(kMpeg4Levels) - 1];
    for (const Mpeg4Level &level : kMpeg4Levels) {
        if (blocks <= level.maxBlocks && blocksPerSecond <= level.maxBlocksPerSecond
            && plan.maxKbps <= level.maxKbps) {
            chosen = &level;
            break;
        }
    }
    plan.mpeg4Level = chosen->level;
    // One second at the peak rate, but never more than the level's buffer.
    plan.bufferKbits = std::min(plan.maxKbps, chosen->vbvBits / 1000);
}

std::optional<VideoPlan> planVideo(const ConvertRequest &request)
{
    const VideoLimit limit = videoLimit(request.device, request.videoCodec);
    VideoPlan plan;
    plan.codec = request.videoCodec;
    if (!fitSizes(plan, request, limit.maxFrame))
        return std::nullopt;
    plan.frameRate = clampRate(request.frameRate, limit.maxFps);
    plan.kbps = std::max(request.videoKbps, 32);
    if (plan.codec == VideoCodec::H264)
        planH264(plan, request.device);
    else
        planMpeg4(plan, limit.maxKbps);
    return plan;
}

AudioPlan planAudio(const ConvertRequest &request)
{
    AudioPlan plan;
    if (request.device == Device::IPodMusic) {
        // MPEG-1 Layer III: its own rates and bit rates only.
        plan.encoder = "libmp3lame";
        plan.sampleRate = nearest(request.sampleRate, {32000, 44100, 48000});
        plan.kbps = nearest(request.audioKbps,
                            {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320});
        return plan;
    }
    plan.encoder = "aac";
    plan.sampleRate = nearest(request.sampleRate,
                              {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000});
    const int maxKbps = request.device == Device::AppleTV ? 320 : 160;
    plan.kbps = std::clamp(request.audioKbps, 16, maxKbps);
    return plan;
}

} // namespace

std::optional<EncodePlan> planConversion(const ConvertRequest &request)
{
    EncodePlan plan;
    plan.audio = planAudio(request);
    if (request.device == Device::IPodMusic) {
        plan.muxer = "mp3";
        return plan;
    }
    plan.video = planVideo(request);
    if (!plan.video)
        return std::nullopt;
    // The iPod plays H.264 only from files carrying its compatibility atom.
    const bool ipodForm = request.fileFormat == FileFormat::IPod
                          || (request.device == Device::IPod && plan.video->codec == VideoCodec::H264);
    plan.muxer = ipodForm ? "ipod" : "mp4";
    return plan;
}

} // namespace krodec::convert
