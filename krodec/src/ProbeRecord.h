// The rules that turn what the demuxer knows into the fields of the probe record.
#pragma once

#include <cstdint>

namespace krodec {

// Aspect code and display-aspect flag from the stored size and the sample (pixel) aspect ratio:
// square pixels give code 1 with flag 1; a display shape within 1 % of 4:3, 16:9 or 2.21:1 gives
// code 2, 3 or 4 with flag 0; any other non-square shape gives code 0 with flag 1.
// A sample aspect of 0 (num or den not positive) counts as square.
void aspectFields(int width, int height, int sarNum, int sarDen, int32_t &code, int32_t &flag);

// Bit rates in bit/s. A stream's own rate is kept when known (above 0); unknown ones are estimated
// from the container's overall rate and the rates seen in a sample of packets.
struct BitRateInput {
    bool hasVideo = false;
    bool hasAudio = false;
    double container = 0;     // overall rate of the file
    double videoStream = 0;   // declared by the stream
    double audioStream = 0;
    double videoSampled = 0;  // measured over a sample of packets
    double audioSampled = 0;
};
void chooseBitRates(const BitRateInput &in, double &video, double &audio);

// Whole seconds of a length, truncated and kept within 0 .. INT32_MAX.
int32_t wholeSeconds(double seconds);

} // namespace krodec
