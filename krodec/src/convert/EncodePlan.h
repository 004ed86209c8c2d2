#pragma once

// The settings a conversion is actually encoded with: the request bounded by what
// the device plays. Devices refuse files past their limits, so the limits win over
// whatever the arguments ask.

#include "convert/ConvertRequest.h"

#include <optional>
#include <string>

namespace krodec::convert {

struct VideoPlan {
    VideoCodec codec = VideoCodec::H264;
    Size frame;
    Size picture;
    Rational frameRate;
    int kbps = 0;
    int maxKbps = 0;          // VBV peak
    int bufferKbits = 0;      // VBV buffer
    // H.264 only.
    std::string profile;      // "baseline", "main"
    std::string level;        // "13", "30", "31": x264 reads "3.1" with atof, which is locale-bound
    std::string x264Params;
    // MPEG-4 only: the Simple Profile level written into the stream header.
    int mpeg4Level = 0;
};

struct AudioPlan {
    std::string encoder;      // "aac" or "libmp3lame"
    int sampleRate = 0;
    int kbps = 0;
};

struct EncodePlan {
    std::string muxer;        // "ipod", "mp4" or "mp3"
    std::optional<VideoPlan> video;   // absent for music
    AudioPlan audio;
};

// Empty when the request cannot be met (for example a frame too small to encode).
std::optional<EncodePlan> planConversion(const ConvertRequest &request);

} // namespace krodec::convert
