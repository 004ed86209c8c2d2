// The scripted stand-in engine: the full interface, every call handed to the test's script.
#include "ScriptedEngine.h"

#include <cstdio>
#include <dlfcn.h>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

ScriptedEngineScript *script()
{
    using Finder = ScriptedEngineScript *(*)();
    static Finder finder = reinterpret_cast<Finder>(dlsym(RTLD_DEFAULT, "orvo_scripted_engine_script"));
    return finder ? finder() : nullptr;
}

std::string text(const char *s)
{
    return s ? std::string(s) : std::string("(null)");
}

// Not std::to_string: its digit table is a unique symbol, which would keep the library
// from ever being unloaded, and the tests count unloads.
std::string number(long value)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%ld", value);
    return buffer;
}

std::string joined(const std::string &name, const std::vector<std::string> &texts)
{
    std::string call = name;
    for (const std::string &t : texts)
        call += "|" + t;
    return call;
}

__attribute__((constructor)) void loaded()
{
    if (ScriptedEngineScript *s = script())
        ++s->loads;
}

__attribute__((destructor)) void unloaded()
{
    if (ScriptedEngineScript *s = script())
        ++s->unloads;
}

int convert(const char *name, KrodecWindow *window, std::vector<std::string> texts)
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    s->record(joined(name, texts));
    return s->convert ? s->convert(name, window, texts) : -1;
}

} // namespace

EXPORT int32_t X_GetFileinfo_GetPic(char *path, int32_t reserved, void *info)
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    s->record(joined("X_GetFileinfo_GetPic", {text(path), number(reserved)}));
    return s->probe ? s->probe(path, static_cast<KrodecProbeInfo *>(info)) : -1;
}

EXPORT int32_t X_Get_Frame(int32_t width, int32_t height, const char *fileName, unsigned char **pixels,
                           int32_t *seconds)
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    s->record(joined("X_Get_Frame", {number(width), number(height), text(fileName)}));
    return s->getFrame ? s->getFrame(width, height, fileName, pixels, seconds) : -1;
}

EXPORT int32_t X_GetFrame_Init(KrodecWindow *window, int32_t mode, const char *path, const char *unused,
                               const char *startSeconds)
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    s->record(joined("X_GetFrame_Init", {number(mode), text(path), text(unused), text(startSeconds)}));
    return s->frameInit ? s->frameInit(window, path, startSeconds) : -1;
}

EXPORT int32_t X_Set_NextFrame_Time(int32_t seconds)
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    s->record(joined("X_Set_NextFrame_Time", {number(seconds)}));
    return s->setNextFrameTime ? s->setNextFrameTime(seconds) : -1;
}

EXPORT int32_t X_GetFrame_UnInit(void)
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    s->record("X_GetFrame_UnInit");
    return s->frameUnInit ? s->frameUnInit() : -1;
}

#define VIDEO_PARAMS                                                                                                   \
    KrodecWindow *window, int32_t mode, const char *a1, const char *a2, const char *a3, const char *a4,              \
        const char *a5, const char *a6, const char *a7, const char *a8, const char *a9, const char *a10,               \
        const char *a11, const char *a12, const char *a13, const char *a14, const char *a15, const char *a16,          \
        const char *a17, const char *a18, const char *a19, const char *a20, int32_t stamp
#define VIDEO_TEXTS                                                                                                    \
    {number(mode), text(a1), text(a2), text(a3), text(a4), text(a5), text(a6), text(a7), text(a8),           \
     text(a9), text(a10), text(a11), text(a12), text(a13), text(a14), text(a15), text(a16), text(a17), text(a18),   \
     text(a19), text(a20), number(stamp)}

EXPORT int32_t X_SetPar_D2IPOD_VIDEO(VIDEO_PARAMS)
{
    return convert("X_SetPar_D2IPOD_VIDEO", window, VIDEO_TEXTS);
}
EXPORT int32_t X_SetPar_D2IPHONE_VIDEO(VIDEO_PARAMS)
{
    return convert("X_SetPar_D2IPHONE_VIDEO", window, VIDEO_TEXTS);
}
EXPORT int32_t X_SetPar_D2APPLETV_VIDEO(VIDEO_PARAMS)
{
    return convert("X_SetPar_D2APPLETV_VIDEO", window, VIDEO_TEXTS);
}
EXPORT int32_t X_SetPar_D2IPOD_MP3(KrodecWindow *window, int32_t mode, const char *a1, const char *a2,
                                   const char *a3, const char *a4, const char *a5, const char *a6, const char *a7,
                                   const char *a8, const char *a9, const char *a10, const char *a11,
                                   const char *a12, int32_t stamp)
{
    return convert("X_SetPar_D2IPOD_MP3", window,
                   {number(mode), text(a1), text(a2), text(a3), text(a4), text(a5), text(a6), text(a7),
                    text(a8), text(a9), text(a10), text(a11), text(a12), number(stamp)});
}

EXPORT int32_t X_Get_Info(int32_t info[3])
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    return s->getInfo ? s->getInfo(info) : -1;
}

EXPORT int32_t X_StopConvert(void)
{
    ScriptedEngineScript *s = script();
    if (!s)
        return -1;
    s->record("X_StopConvert");
    return s->stopConvert ? s->stopConvert() : -1;
}
