// The conversion functions of the engine interface.

#include "Ffmpeg.h"
#include "KrodecDLL.h"
#include "convert/ConvertProgress.h"
#include "convert/ConvertRequest.h"
#include "convert/SourceRate.h"
#include "convert/Transcoder.h"

extern "C" {
#include <libavutil/log.h>
}

#include <atomic>

namespace krodec::convert {
namespace {

// One conversion at a time: progress and stop are shared by the whole library.
std::atomic<bool> g_converting{false};

template <typename Read>
int32_t convertGuarded(KrodecWindow *window, Read read)
{
    if (g_converting.exchange(true))
        return -1;
    int32_t result = -1;
    try {
        setUpFfmpegLog();
        progress::reset();
        if (const auto request = read())
            result = runConversion(*request, window);
    } catch (...) {
        result = -1;
    }
    progress::clearStop();
    g_converting.store(false);
    return result;
}

int32_t convertVideo(Device device, KrodecWindow *window, const VideoArgs &args)
{
    return convertGuarded(window, [&] { return readVideoRequest(device, args); });
}

} // namespace
} // namespace krodec::convert

using krodec::convert::Device;
using krodec::convert::VideoArgs;

// The mode (2) and the stamp (20070316) carry nothing the engine needs.
#define KRODEC_VIDEO_FUNCTION(name, device)                                                         \
    extern "C" KRODEC_API int32_t name(                                                             \
        KrodecWindow *window, int32_t, const char *sourcePath, const char *sourceNumber,            \
        const char *startTime, const char *sampleRate, const char *aspect, const char *videoFormat, \
        const char *fileFormat, const char *videoBitRate, const char *audioBitRate,                 \
        const char *pictureSize, const char *frameSize, const char *title, const char *artist,      \
        const char *album, const char *frameRate, const char *audioTrack, const char *subtitle,     \
        const char *destPath, const char *volume, const char *duration, int32_t)                    \
    {                                                                                               \
        const VideoArgs args{sourcePath, sourceNumber, startTime,  sampleRate,   aspect,            \
                             videoFormat, fileFormat,  videoBitRate, audioBitRate, pictureSize,     \
                             frameSize,  title,        artist,     album,        frameRate,         \
                             audioTrack, subtitle,     destPath,   volume,       duration};         \
        return krodec::convert::convertVideo(device, window, args);                                 \
    }

KRODEC_VIDEO_FUNCTION(X_SetPar_D2IPOD_VIDEO, Device::IPod)
KRODEC_VIDEO_FUNCTION(X_SetPar_D2IPHONE_VIDEO, Device::IPhone)
KRODEC_VIDEO_FUNCTION(X_SetPar_D2APPLETV_VIDEO, Device::AppleTV)

extern "C" KRODEC_API int32_t X_SetPar_D2IPOD_MP3(KrodecWindow *window, int32_t,
    const char *sourcePath, const char *sourceNumber, const char *startTime, const char *sampleRate,
    const char *audioBitRate, const char *title, const char *artist, const char *album,
    const char *audioTrack, const char *destPath, const char *volume, const char *duration, int32_t)
{
    const krodec::convert::MusicArgs args{sourcePath, sourceNumber, startTime, sampleRate,
                                          audioBitRate, title, artist, album,
                                          audioTrack, destPath, volume, duration};
    return krodec::convert::convertGuarded(window, [&] { return krodec::convert::readMusicRequest(args); });
}
