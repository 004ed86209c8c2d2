#pragma once

// The engine loaded from the bundle with dlopen, as the program loads it, with the probe and
// preview function sets; and a window that records the messages the engine posts to it.

#include "KrodecDLL.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace enginetest {

QString bundleLibraryPath();

class EngineLibrary {
public:
    explicit EngineLibrary(const QString &path = bundleLibraryPath());
    ~EngineLibrary();
    EngineLibrary(const EngineLibrary &) = delete;
    EngineLibrary &operator=(const EngineLibrary &) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    QString error() const { return error_; }
    void unload();

    // The probe call as the program makes it: a writable copy of the path with 10 bytes to spare.
    int32_t probe(const QString &path, KrodecProbeInfo &info, double *milliseconds = nullptr) const;

    decltype(&X_GetFileinfo_GetPic) getFileInfo = nullptr;
    decltype(&X_Get_Frame) getFrame = nullptr;
    decltype(&X_GetFrame_Init) frameInit = nullptr;
    decltype(&X_Set_NextFrame_Time) setNextFrameTime = nullptr;
    decltype(&X_GetFrame_UnInit) frameUnInit = nullptr;

private:
    void *handle_ = nullptr;
    QString error_;
};

struct Message {
    uint32_t id;
    intptr_t word;
};

// post() may be called from any thread.
class RecordingWindow : public KrodecWindow {
public:
    RecordingWindow();
    std::vector<Message> messages() const;
    // Waits until `count` messages have arrived in all; false on timeout.
    bool waitForCount(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // Waits for the next message after the first `seen`; returns it, or id 0 on timeout.
    Message next(size_t seen, std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

    // Records a message for a window whose own post() does more first.
    static void forward(KrodecWindow *self, uint32_t message, intptr_t wparam, intptr_t lparam)
    {
        receive(self, message, wparam, lparam);
    }

private:
    static void receive(KrodecWindow *self, uint32_t message, intptr_t wparam, intptr_t lparam);
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<Message> messages_;
};

// Number of threads of this process.
int threadCount();

} // namespace enginetest
