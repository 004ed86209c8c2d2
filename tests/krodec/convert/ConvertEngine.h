#pragma once

// The engine loaded from the bundle as the program loads it (dlopen and dlsym), and
// the conversion calls with their arguments in the program's order.

#include "KrodecDLL.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <atomic>

class ConvertEngine {
public:
    ConvertEngine();
    ~ConvertEngine();
    ConvertEngine(const ConvertEngine &) = delete;
    ConvertEngine &operator=(const ConvertEngine &) = delete;

    bool isLoaded() const { return m_handle && m_ipodVideo && m_iphoneVideo && m_appleTvVideo && m_music
                                   && m_getInfo && m_stop; }
    QString error() const { return m_error; }

    decltype(&X_SetPar_D2IPOD_VIDEO) videoFunction(int deviceType) const;
    decltype(&X_SetPar_D2IPOD_MP3) musicFunction() const { return m_music; }
    decltype(&X_Get_Info) getInfo() const { return m_getInfo; }
    decltype(&X_StopConvert) stopConvert() const { return m_stop; }

private:
    void *m_handle = nullptr;
    QString m_error;
    decltype(&X_SetPar_D2IPOD_VIDEO) m_ipodVideo = nullptr;
    decltype(&X_SetPar_D2IPHONE_VIDEO) m_iphoneVideo = nullptr;
    decltype(&X_SetPar_D2APPLETV_VIDEO) m_appleTvVideo = nullptr;
    decltype(&X_SetPar_D2IPOD_MP3) m_music = nullptr;
    decltype(&X_Get_Info) m_getInfo = nullptr;
    decltype(&X_StopConvert) m_stop = nullptr;
};

// The texts of one video call (positions 3 to 22), named after what the program passes.
// The defaults make a small valid job; a test changes what it is about.
struct VideoCall {
    int deviceType = 2;   // 0 iPod video, 2 iPhone, 3 Apple TV
    QByteArray sourcePath;
    QByteArray sourceNumber = "0";
    QByteArray startTime = "0";
    QByteArray sampleRate = "44100";
    QByteArray aspect = "1:1";
    QByteArray videoFormat = "h264";
    QByteArray fileFormat = "mp4";
    QByteArray videoBitRate = "600";
    QByteArray audioBitRate = "128";
    QByteArray pictureSize = "320:240";
    QByteArray frameSize = "320:240";
    QByteArray title = "Clip 0001";
    QByteArray artist = "Tester";
    QByteArray album = "Unknown";
    QByteArray frameRate = "25";
    QByteArray audioTrack = "0";
    QByteArray subtitle = "-1";
    QByteArray destPath;
    QByteArray volume = "0";
    QByteArray duration = "0";
    QSet<int> nullPositions;   // argument positions passed as null pointers
};

// The texts of one music call (positions 3 to 14).
struct MusicCall {
    QByteArray sourcePath;
    QByteArray sourceNumber = "0";
    QByteArray startTime = "0";
    QByteArray sampleRate = "44100";
    QByteArray audioBitRate = "128";
    QByteArray title = "Song 0001";
    QByteArray artist = "Tester";
    QByteArray album = "Unknown";
    QByteArray audioTrack = "0";
    QByteArray destPath;
    QByteArray volume = "0";
    QByteArray duration = "0";
    QSet<int> nullPositions;
};

int32_t callVideo(const ConvertEngine &engine, const VideoCall &call, KrodecWindow *window = nullptr);
int32_t callMusic(const ConvertEngine &engine, const MusicCall &call, KrodecWindow *window = nullptr);

// A window that counts what the engine posts to it, from any thread.
struct RecordingWindow {
    KrodecWindow window{&RecordingWindow::post};
    std::atomic<int> ready{0};
    std::atomic<int> other{0};

    static void post(KrodecWindow *self, uint32_t message, intptr_t, intptr_t);
};
