#include "FrameSource.h"

#include "MediaFile.h"

#include <chrono>
#include <cmath>
#include <utility>

namespace krodec {

namespace {

constexpr std::chrono::milliseconds kOpenBudget{5000};
constexpr std::chrono::milliseconds kSeekBudget{5000};

} // namespace

FrameSource::FrameSource(KrodecWindow *window, std::string path)
    : window_(window), path_(std::move(path))
{
}

FrameSource::~FrameSource()
{
    stop();
}

void FrameSource::start()
{
    thread_ = std::thread(&FrameSource::run, this);
}

void FrameSource::seek(int32_t seconds)
{
    {
        std::lock_guard<std::mutex> lock(requestMutex_);
        requests_.push_back(seconds);
    }
    wake_.notify_one();
}

void FrameSource::stop()
{
    cancel_.store(true);
    {
        std::lock_guard<std::mutex> lock(requestMutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

bool FrameSource::grab(int32_t width, int32_t height, std::vector<uint8_t> &pixels, int32_t &seconds)
{
    std::lock_guard<std::mutex> lock(shownMutex_);
    if (!shown_) {
        blackPicture(width, height, pixels);
        seconds = -1;
        return false;
    }
    seconds = shownSeconds_;
    return scaler_.scale(*shown_, width, height, pixels);
}

void FrameSource::post(uint32_t message, intptr_t word)
{
    if (!cancel_.load())
        window_->post(window_, message, word, 0);
}

void FrameSource::run()
{
    // No exception may leave the thread; a failure makes every seek answer "no frame".
    MediaFile *usable = nullptr;
    MediaFile file;
    try {
        file.interrupt().setCancelFlag(&cancel_);
        file.interrupt().arm(kOpenBudget);
        if (file.open(path_) && file.video()) {
            if (file.audio())
                file.audio()->discard = AVDISCARD_ALL;
            file.measureLength();
            if (file.openVideoDecoder(true))
                usable = &file;
        }
    } catch (...) {
        usable = nullptr;
    }
    post(KRODEC_MSG_READY, 0);
    serve(usable);
}

void FrameSource::serve(MediaFile *file)
{
    FramePtr frame;
    for (;;) {
        int32_t seconds = 0;
        int32_t skipped = 0;
        {
            std::unique_lock<std::mutex> lock(requestMutex_);
            wake_.wait(lock, [this] { return stopping_ || !requests_.empty(); });
            if (stopping_)
                return;
            skipped = static_cast<int32_t>(requests_.size()) - 1;
            seconds = requests_.back();
            requests_.clear();
        }
        for (int32_t i = 0; i < skipped; ++i)
            post(KRODEC_MSG_FRAME, 0);

        bool found = false;
        try {
            if (file) {
                if (!frame)
                    frame = makeFrame();
                file->interrupt().arm(kSeekBudget);
                found = seconds >= 0 && file->frameAt(seconds, frame.get());
                if (found) {
                    const double time = file->frameTime(frame.get());
                    std::lock_guard<std::mutex> lock(shownMutex_);
                    shownSeconds_ = time <= seconds + 0.001 ? seconds
                                                           : static_cast<int32_t>(std::floor(time + 0.001));
                    shown_ = std::move(frame);
                }
            }
        } catch (...) {
            found = false;
        }
        if (cancel_.load())
            return;
        post(KRODEC_MSG_FRAME, found ? 1 : 0);
    }
}

} // namespace krodec
