// The preview's frame source: a file opened on an engine thread that seeks to whole seconds on
// request and keeps the frame on show. Answers go to the window as messages: 2312 once the file
// is open (or found unusable), 2412 after each seek (word 1: a frame is on show, 0: none).
#pragma once

#include "BgrScaler.h"
#include "Ffmpeg.h"

#include "KrodecDLL.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace krodec {

class MediaFile;

class FrameSource {
public:
    FrameSource(KrodecWindow *window, std::string path);
    FrameSource(const FrameSource &) = delete;
    FrameSource &operator=(const FrameSource &) = delete;
    // Stops the engine thread and waits for it; posts nothing.
    ~FrameSource();

    void start();
    // Queues a seek; when several wait, only the newest is carried out and the older are
    // answered with word 0.
    void seek(int32_t seconds);
    // Stops the thread, cancelling any read or decode under way, and waits until it has ended.
    void stop();
    // Scales the frame on show. False, with black pixels and seconds -1, when there is none.
    bool grab(int32_t width, int32_t height, std::vector<uint8_t> &pixels, int32_t &seconds);

    KrodecWindow *window() const { return window_; }

private:
    void run();
    void serve(MediaFile *file);
    void post(uint32_t message, intptr_t word);

    KrodecWindow *const window_;
    const std::string path_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};

    std::mutex requestMutex_;
    std::condition_variable wake_;
    std::deque<int32_t> requests_;
    bool stopping_ = false;

    std::mutex shownMutex_;
    FramePtr shown_;
    int32_t shownSeconds_ = -1;
    BgrScaler scaler_;
};

} // namespace krodec
