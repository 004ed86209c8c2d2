#include "convert/ConvertProgress.h"

#include "KrodecDLL.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace krodec::convert::progress {
namespace {

std::atomic<int32_t> secondsDone{0};
std::atomic<int32_t> framesDone{0};
std::atomic<int64_t> firstFrameNanos{0};
std::atomic<bool> stopFlag{false};
double reachedSeconds = 0;   // written and read by the converting thread only

int64_t nowNanos()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void reset()
{
    secondsDone.store(0);
    framesDone.store(0);
    firstFrameNanos.store(0);
    reachedSeconds = 0;
}

namespace {

void reached(double outputSeconds, double frame)
{
    const int32_t done = framesDone.load(std::memory_order_relaxed);
    const auto number = static_cast<int32_t>(std::clamp(frame, 1.0, 2.0e9));
    if (number <= done)
        return;
    if (done == 0)
        firstFrameNanos.store(nowNanos(), std::memory_order_relaxed);
    reachedSeconds = std::max(reachedSeconds, outputSeconds);
    secondsDone.store(static_cast<int32_t>(std::max(0.0, reachedSeconds)), std::memory_order_relaxed);
    framesDone.store(number, std::memory_order_release);
}

} // namespace

void frameEncoded(double outputSeconds, int64_t frame) { reached(outputSeconds, static_cast<double>(frame)); }

void soundEncoded(double outputSeconds, double frameRate)
{
    if (outputSeconds > reachedSeconds + 1.0 && frameRate > 0)
        reached(outputSeconds, outputSeconds * frameRate);
}

void read(int32_t info[3])
{
    const int32_t frames = framesDone.load(std::memory_order_acquire);
    int32_t fps = 0;
    if (frames > 0) {
        const int64_t elapsed = nowNanos() - firstFrameNanos.load(std::memory_order_relaxed);
        const double rate = elapsed > 0 ? frames * 1.0e9 / static_cast<double>(elapsed) : frames;
        // A frame is under way, so never report the "still seeking" 0.
        fps = std::max<int32_t>(1, static_cast<int32_t>(std::min(rate, 1.0e6)));
    }
    info[0] = secondsDone.load(std::memory_order_relaxed);
    info[1] = fps;
    info[2] = frames;
}

void requestStop() { stopFlag.store(true); }
bool stopRequested() { return stopFlag.load(std::memory_order_relaxed); }
void clearStop() { stopFlag.store(false); }

} // namespace krodec::convert::progress

extern "C" KRODEC_API int32_t X_Get_Info(int32_t info[3])
{
    if (!info)
        return -1;
    krodec::convert::progress::read(info);
    return 0;
}

extern "C" KRODEC_API int32_t X_StopConvert(void)
{
    krodec::convert::progress::requestStop();
    return 0;
}
