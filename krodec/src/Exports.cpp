// The exported probe and preview functions. No exception leaves them: every one answers -1 then.
//
// State is kept per function set (probe, preview) in plain pointers, so that unloading the
// library runs no static destructor; the unload hook below ends a frame source that the caller
// did not close and frees what the probe kept.
#include "KrodecDLL.h"

#include "Ffmpeg.h"
#include "FrameSource.h"
#include "ProbeSession.h"

#include <cstddef>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

using krodec::FrameSource;
using krodec::ProbeSession;

static_assert(sizeof(KrodecProbeInfo) == 40, "the probe record is 40 bytes");
static_assert(offsetof(KrodecProbeInfo, frameRate) == 4 && offsetof(KrodecProbeInfo, videoBitRate) == 8
                  && offsetof(KrodecProbeInfo, width) == 12 && offsetof(KrodecProbeInfo, height) == 16
                  && offsetof(KrodecProbeInfo, aspectCode) == 20 && offsetof(KrodecProbeInfo, sampleRate) == 24
                  && offsetof(KrodecProbeInfo, audioBitRate) == 32
                  && offsetof(KrodecProbeInfo, displayAspectFlag) == 36,
              "probe record offsets");

namespace {

std::mutex g_probeMutex;               // trivially destructible
ProbeSession *g_probe = nullptr;
std::mutex g_previewMutex;
FrameSource *g_source = nullptr;
std::vector<uint8_t> *g_previewPixels = nullptr;

int32_t previewFrame(int32_t width, int32_t height, unsigned char **pixels, int32_t *frameSeconds)
{
    std::lock_guard<std::mutex> lock(g_previewMutex);
    if (!g_previewPixels)
        g_previewPixels = new std::vector<uint8_t>();
    int32_t seconds = -1;
    bool ok = false;
    if (g_source)
        ok = g_source->grab(width, height, *g_previewPixels, seconds);
    else
        krodec::blackPicture(width, height, *g_previewPixels);
    if (frameSeconds)
        *frameSeconds = seconds;
    if (g_previewPixels->empty())
        return -1;
    *pixels = g_previewPixels->data();
    return ok ? 0 : -1;
}

// Takes the frame source out of the shared state; it is then stopped outside the lock, so that a
// window whose post() calls back into the engine cannot deadlock against the join.
FrameSource *takeSource()
{
    std::lock_guard<std::mutex> lock(g_previewMutex);
    FrameSource *source = g_source;
    g_source = nullptr;
    return source;
}

__attribute__((destructor)) void releaseEngineState()
{
    try {
        delete takeSource();  // stops and joins its thread
        delete g_previewPixels;
        g_previewPixels = nullptr;
        delete g_probe;
        g_probe = nullptr;
    } catch (...) {
    }
}

} // namespace

extern "C" {

KRODEC_API int32_t X_GetFileinfo_GetPic(char *path, int32_t reserved, void *probeInfo)
{
    (void)reserved;
    try {
        if (!path || !probeInfo)
            return -1;
        krodec::setUpFfmpegLog();
        std::lock_guard<std::mutex> lock(g_probeMutex);
        if (!g_probe)
            g_probe = new ProbeSession();
        KrodecProbeInfo info{};
        const int32_t result = g_probe->probe(path, info);
        std::memcpy(probeInfo, &info, sizeof info);
        return result;
    } catch (...) {
        return -1;
    }
}

KRODEC_API int32_t X_Get_Frame(int32_t width, int32_t height, const char *fileName, unsigned char **pixels,
                               int32_t *frameSeconds)
{
    try {
        if (!pixels)
            return -1;
        *pixels = nullptr;
        if (!fileName)
            return previewFrame(width, height, pixels, frameSeconds);
        std::lock_guard<std::mutex> lock(g_probeMutex);
        if (!g_probe)
            g_probe = new ProbeSession();
        return g_probe->thumbnail(width, height, pixels, frameSeconds);
    } catch (...) {
        return -1;
    }
}

KRODEC_API int32_t X_GetFrame_Init(KrodecWindow *window, int32_t mode, const char *path, const char *unused,
                                   const char *startSeconds)
{
    (void)mode;
    (void)unused;
    (void)startSeconds;  // the caller seeks once the source is ready
    try {
        if (!window || !window->post || !path)
            return -1;
        krodec::setUpFfmpegLog();
        delete takeSource();  // a source left open is replaced, without a message
        auto *source = new FrameSource(window, path);
        try {
            source->start();
        } catch (...) {
            delete source;
            return -1;
        }
        std::lock_guard<std::mutex> lock(g_previewMutex);
        g_source = source;
        return 0;
    } catch (...) {
        return -1;
    }
}

KRODEC_API int32_t X_Set_NextFrame_Time(int32_t seconds)
{
    try {
        std::lock_guard<std::mutex> lock(g_previewMutex);
        if (!g_source)
            return -1;
        g_source->seek(seconds);
        return 0;
    } catch (...) {
        return -1;
    }
}

KRODEC_API int32_t X_GetFrame_UnInit(void)
{
    try {
        FrameSource *source = takeSource();
        if (!source)
            return -1;
        KrodecWindow *window = source->window();
        delete source;  // joins the engine thread and the decoder's threads
        // Posted only once every engine thread has ended, so the caller may unload at once.
        window->post(window, KRODEC_MSG_CLOSED, 0, 0);
        return 0;
    } catch (...) {
        return -1;
    }
}

} // extern "C"
