#include "ConvertEngine.h"

#include <dlfcn.h>

namespace {

const char *text(const QByteArray &value, int position, const QSet<int> &nulls)
{
    return nulls.contains(position) ? nullptr : value.constData();
}

template <typename F>
F resolve(void *handle, const char *name)
{
    return reinterpret_cast<F>(dlsym(handle, name));
}

} // namespace

ConvertEngine::ConvertEngine()
{
    m_handle = dlopen(ORVO_BUNDLE_DIR "/libKrodecDLL.so", RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        m_error = QString::fromLocal8Bit(dlerror());
        return;
    }
    m_ipodVideo = resolve<decltype(m_ipodVideo)>(m_handle, "X_SetPar_D2IPOD_VIDEO");
    m_iphoneVideo = resolve<decltype(m_iphoneVideo)>(m_handle, "X_SetPar_D2IPHONE_VIDEO");
    m_appleTvVideo = resolve<decltype(m_appleTvVideo)>(m_handle, "X_SetPar_D2APPLETV_VIDEO");
    m_music = resolve<decltype(m_music)>(m_handle, "X_SetPar_D2IPOD_MP3");
    m_getInfo = resolve<decltype(m_getInfo)>(m_handle, "X_Get_Info");
    m_stop = resolve<decltype(m_stop)>(m_handle, "X_StopConvert");
    if (!isLoaded())
        m_error = QStringLiteral("a conversion function is missing from the engine");
}

ConvertEngine::~ConvertEngine()
{
    if (m_handle)
        dlclose(m_handle);
}

decltype(&X_SetPar_D2IPOD_VIDEO) ConvertEngine::videoFunction(int deviceType) const
{
    switch (deviceType) {
    case 0: return m_ipodVideo;
    case 2: return m_iphoneVideo;
    case 3: return m_appleTvVideo;
    default: return nullptr;
    }
}

int32_t callVideo(const ConvertEngine &engine, const VideoCall &c, KrodecWindow *window)
{
    const auto convert = engine.videoFunction(c.deviceType);
    const QSet<int> &n = c.nullPositions;
    return convert(window, 2, text(c.sourcePath, 3, n), text(c.sourceNumber, 4, n),
                   text(c.startTime, 5, n), text(c.sampleRate, 6, n), text(c.aspect, 7, n),
                   text(c.videoFormat, 8, n), text(c.fileFormat, 9, n), text(c.videoBitRate, 10, n),
                   text(c.audioBitRate, 11, n), text(c.pictureSize, 12, n), text(c.frameSize, 13, n),
                   text(c.title, 14, n), text(c.artist, 15, n), text(c.album, 16, n),
                   text(c.frameRate, 17, n), text(c.audioTrack, 18, n), text(c.subtitle, 19, n),
                   text(c.destPath, 20, n), text(c.volume, 21, n), text(c.duration, 22, n), 20070316);
}

int32_t callMusic(const ConvertEngine &engine, const MusicCall &c, KrodecWindow *window)
{
    const QSet<int> &n = c.nullPositions;
    return engine.musicFunction()(window, 2, text(c.sourcePath, 3, n), text(c.sourceNumber, 4, n),
                                  text(c.startTime, 5, n), text(c.sampleRate, 6, n),
                                  text(c.audioBitRate, 7, n), text(c.title, 8, n), text(c.artist, 9, n),
                                  text(c.album, 10, n), text(c.audioTrack, 11, n),
                                  text(c.destPath, 12, n), text(c.volume, 13, n),
                                  text(c.duration, 14, n), 20070316);
}

void RecordingWindow::post(KrodecWindow *self, uint32_t message, intptr_t, intptr_t)
{
    // window is the first member, so the struct starts where it does.
    auto *recorder = reinterpret_cast<RecordingWindow *>(self);
    if (message == KRODEC_MSG_READY)
        ++recorder->ready;
    else
        ++recorder->other;
}
