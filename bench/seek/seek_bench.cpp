// Preview seek time through the engine library: X_GetFrame_Init, then X_Set_NextFrame_Time to
// whole seconds in a fixed pseudo-random order, timing each until message 2412, and fetching the
// frame at the preview's size as the program does.
// Usage: seek_bench LIBRARY FILE SECONDS [SEEKS]   (SECONDS: the clip's length)
#include "KrodecDLL.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <mutex>
#include <random>
#include <vector>

namespace {

struct Message {
    uint32_t id;
    intptr_t word;
};

struct TestWindow : KrodecWindow {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Message> messages;

    static void receive(KrodecWindow *self, uint32_t id, intptr_t word, intptr_t)
    {
        auto *window = static_cast<TestWindow *>(self);
        {
            std::lock_guard<std::mutex> lock(window->mutex);
            window->messages.push_back({id, word});
        }
        window->arrived.notify_all();
    }
    TestWindow() { post = &TestWindow::receive; }

    bool wait(uint32_t id, intptr_t &word)
    {
        std::unique_lock<std::mutex> lock(mutex);
        const bool got = arrived.wait_for(lock, std::chrono::seconds(30), [&] {
            return !messages.empty();
        });
        if (!got)
            return false;
        const Message message = messages.front();
        messages.pop_front();
        word = message.word;
        return message.id == id;
    }
};

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1.0e6;
}

template <typename T> T symbol(void *library, const char *name)
{
    return reinterpret_cast<T>(dlsym(library, name));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s LIBRARY FILE SECONDS [SEEKS]\n", argv[0]);
        return 2;
    }
    const int length = std::atoi(argv[3]);
    const int seeks = argc > 4 ? std::atoi(argv[4]) : 30;
    void *library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    auto init = symbol<int32_t (*)(KrodecWindow *, int32_t, const char *, const char *, const char *)>(library, "X_GetFrame_Init");
    auto seek = symbol<int32_t (*)(int32_t)>(library, "X_Set_NextFrame_Time");
    auto grab = symbol<int32_t (*)(int32_t, int32_t, const char *, unsigned char **, int32_t *)>(library, "X_Get_Frame");
    auto close = symbol<int32_t (*)(void)>(library, "X_GetFrame_UnInit");

    TestWindow window;
    intptr_t word = 0;
    auto start = std::chrono::steady_clock::now();
    init(&window, 2, argv[2], "", "0");
    if (!window.wait(KRODEC_MSG_READY, word)) {
        std::fprintf(stderr, "no ready message\n");
        return 1;
    }
    const double openMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    std::mt19937 random(20070316);
    std::uniform_int_distribution<int> pick(1, std::max(1, length - 1));
    std::vector<double> times;
    std::vector<double> cpu;
    int misses = 0;
    for (int i = 0; i < seeks; ++i) {
        const int second = pick(random);
        start = std::chrono::steady_clock::now();
        const double cpuStart = cpuMs();
        seek(second);
        if (!window.wait(KRODEC_MSG_FRAME, word)) {
            std::fprintf(stderr, "no frame message\n");
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(cpuMs() - cpuStart);
        unsigned char *pixels = nullptr;
        int32_t shown = -1;
        grab(240, 136, nullptr, &pixels, &shown);
        if (word != 1 || shown != second)
            ++misses;
    }
    close();
    window.wait(KRODEC_MSG_CLOSED, word);
    dlclose(library);

    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::sort(cpu.begin(), cpu.end());
    const char *slash = std::strrchr(argv[2], '/');
    std::printf("%s: open %.1f ms; seek to 2412 median %.1f ms, min %.1f, max %.1f over %d seeks; "
                "processor time (all threads) median %.1f ms; frames not at the asked second: %d\n",
                slash ? slash + 1 : argv[2], openMs, sorted[sorted.size() / 2], sorted.front(), sorted.back(), seeks, cpu[cpu.size() / 2], misses);
    return 0;
}
