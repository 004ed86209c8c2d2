// Probe plus thumbnail time per file through the engine library, loaded as the program loads it:
// dlopen, X_GetFileinfo_GetPic, X_Get_Frame with "2.bmp", dlclose, for every run.
// Usage: probe_bench LIBRARY RUNS FILE...   Prints the median and the record of each file, once
// with the library loaded afresh for every probe (no other user holds it, so its FFmpeg libraries
// load each time) and once while another handle holds it (as when the preview has it open).
#include "KrodecDLL.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

// Processor time of the whole process (every thread), in ms: on a busy machine it tells the work
// done, where the wall clock also counts the waits for a processor.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1.0e6;
}

using ProbeFn = int32_t (*)(char *, int32_t, void *);
using FrameFn = int32_t (*)(int32_t, int32_t, const char *, unsigned char **, int32_t *);

// Thumbnail box 240 x 180 with the clip's shape, as the program fits it (simplified).
void fit(const KrodecProbeInfo &info, int &tw, int &th)
{
    double w = info.width;
    const double h = info.height > 0 ? info.height : 1;
    if (info.displayAspectFlag == 0) {
        const double shapes[] = {w / h, 1.0, 4.0 / 3, 16.0 / 9, 2.21};
        w = h * shapes[info.aspectCode >= 1 && info.aspectCode <= 4 ? info.aspectCode : 0];
    }
    const double r = w > 0 ? w / h : 4.0 / 3;
    if (r < 4.0 / 3) {
        th = 180;
        tw = std::min(240, (static_cast<int>(180 * r) + 3) / 4 * 4);
    } else {
        tw = 240;
        th = std::min(180, (static_cast<int>(240 / r) + 3) / 4 * 4);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s LIBRARY RUNS FILE...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[2]));
    for (int held = 0; held < 2; ++held) {
        void *holder = held ? dlopen(argv[1], RTLD_NOW | RTLD_LOCAL) : nullptr;
        for (int f = 3; f < argc; ++f) {
            std::vector<double> times;
            std::vector<double> cpu;
            KrodecProbeInfo info{};
            int result = -1;
            for (int run = 0; run < runs; ++run) {
                const auto start = std::chrono::steady_clock::now();
                const double cpuStart = cpuMs();
                void *library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
                if (!library) {
                    std::fprintf(stderr, "%s\n", dlerror());
                    return 1;
                }
                auto probe = reinterpret_cast<ProbeFn>(dlsym(library, "X_GetFileinfo_GetPic"));
                auto frame = reinterpret_cast<FrameFn>(dlsym(library, "X_Get_Frame"));
                std::string path = argv[f];
                std::vector<char> buffer(path.size() + 10, 0);
                std::memcpy(buffer.data(), path.data(), path.size());
                result = probe(buffer.data(), 10, &info);
                if (result != -1) {
                    int tw = 0, th = 0;
                    fit(info, tw, th);
                    unsigned char *pixels = nullptr;
                    int32_t seconds = 0;
                    frame(tw, th, "2.bmp", &pixels, &seconds);
                }
                dlclose(library);
                times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
                cpu.push_back(cpuMs() - cpuStart);
            }
            std::sort(times.begin(), times.end());
            std::sort(cpu.begin(), cpu.end());
            const char *slash = std::strrchr(argv[f], '/');
            std::printf("%-28s engine, library %s: probe+thumbnail median %7.1f ms (min %.1f, %d runs), "
                        "processor time median %.1f ms\n",
                        slash ? slash + 1 : argv[f], held ? "held   " : "loaded ", times[times.size() / 2], times.front(),
                        runs, cpu[cpu.size() / 2]);
            if (held)
                std::printf("%-28s   record %d: %d s, %.2f fps, %.0f kbit/s video, %dx%d, aspect %d flag %d, %d Hz, "
                            "%.0f kbit/s audio\n", "", result, info.seconds, info.frameRate, info.videoBitRate,
                            info.width, info.height, info.aspectCode, info.displayAspectFlag, info.sampleRate,
                            info.audioBitRate);
        }
        if (holder)
            dlclose(holder);
    }
    return 0;
}
