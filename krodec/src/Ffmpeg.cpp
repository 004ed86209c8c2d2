#include "Ffmpeg.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

namespace krodec {
namespace {

// Marks the loaded library that holds `function` as never to be unloaded.
void keepResident(std::uintptr_t function)
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(function), &info) && info.dli_fname)
        dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

// The program loads and frees the engine for every file it adds. The engine leaves the process
// when freed, so no state of one load reaches the next; FFmpeg's libraries and the codecs they
// pull in stay, as they would for any program that links them: loading them again costs about
// a tenth of a second each time. They hold no pointer into the engine (the log keeps FFmpeg's
// own callback).
__attribute__((constructor)) void keepFfmpegResident()
{
    for (const std::uintptr_t function :
         {reinterpret_cast<std::uintptr_t>(&avformat_version), reinterpret_cast<std::uintptr_t>(&avcodec_version),
          reinterpret_cast<std::uintptr_t>(&avfilter_version), reinterpret_cast<std::uintptr_t>(&avutil_version),
          reinterpret_cast<std::uintptr_t>(&swscale_version), reinterpret_cast<std::uintptr_t>(&swresample_version)})
        keepResident(function);
}

} // namespace

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
