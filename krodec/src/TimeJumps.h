// Time stamps of streams that may jump (MPEG transport and program streams): recordings joined
// end to end start their clock again, and broadcasts carry jumps where the encoder restarted. A
// jump of more than ten seconds either way, or any step back within one stream, is taken out, so
// that what follows plays on at once.
#pragma once

#include "Ffmpeg.h"

#include <vector>

namespace krodec {

class TimeJumps {
public:
    // Active only for formats whose time stamps may jump (AVFMT_TS_DISCONT).
    explicit TimeJumps(const AVFormatContext *format = nullptr);
    void setFormat(const AVFormatContext *format);

    bool active() const { return active_; }
    // Forgets the last time stamp and the shift: after a seek the stream is taken as it comes.
    void reset();
    // Shifts the packet's time stamps by the jumps seen so far, this packet's own included.
    void apply(AVPacket *packet, AVRational timeBase);
    // Microseconds added to the time stamps read after the last jump.
    int64_t shift() const { return shift_; }
    int jumps() const { return jumps_; }

private:
    bool active_ = false;
    int64_t shift_ = 0;
    int64_t last_ = AV_NOPTS_VALUE;     // microseconds, already shifted
    int64_t lastDuration_ = 0;
    std::vector<int64_t> streamLast_;   // per stream, microseconds, already shifted
    int jumps_ = 0;
};

} // namespace krodec
