#include "Ffmpeg.h"

#include <cstdlib>
#include <mutex>
#include <new>

namespace krodec {

FramePtr makeFrame()
{
    FramePtr frame(av_frame_alloc());
    if (!frame)
        throw std::bad_alloc();
    return frame;
}

PacketPtr makePacket()
{
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        throw std::bad_alloc();
    return packet;
}

void setUpFfmpegLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const char *level = std::getenv("KRODEC_LOG");
        av_log_set_level(level && *level ? std::atoi(level) : AV_LOG_QUIET);
    });
}

} // namespace krodec
