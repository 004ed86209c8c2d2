// The probe function set: one file's record, then its thumbnail at any size.
#pragma once

#include "BgrScaler.h"
#include "Ffmpeg.h"

#include "KrodecDLL.h"

#include <cstdint>
#include <vector>

namespace krodec {

class ProbeSession {
public:
    // Fills `info` for the file and keeps its thumbnail frame. -1 when the file has no stream
    // that can be decoded. Returns within a few seconds whatever the file holds.
    int32_t probe(const char *path, KrodecProbeInfo &info);

    // The thumbnail of the last probed file scaled to width x height (black when it has none, -1).
    // The pixels stay valid until the next call.
    int32_t thumbnail(int32_t width, int32_t height, unsigned char **pixels, int32_t *seconds);

    // Time in the clip the thumbnail is taken from: a few seconds in, a tenth of a short clip, the
    // start of one under a second.
    static double thumbnailTime(double clipSeconds);

private:
    FramePtr frame_;
    bool haveFrame_ = false;
    int32_t frameSeconds_ = 0;
    BgrScaler scaler_;
    std::vector<uint8_t> pixels_;
};

} // namespace krodec
