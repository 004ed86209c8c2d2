#pragma once

#include "KrodecDLL.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// A scripted stand-in for the conversion engine. The stand-in library (built by
// orvo_scripted_engine() into a folder the test makes the program folder) keeps no state of
// its own: every call goes to the script that the test executable holds, so the script
// outlives the library's loads and unloads and counts them.
//
// A test executable that uses it defines the script with ORVO_DEFINE_ENGINE_SCRIPT() and
// links with ENABLE_EXPORTS so the library finds it.
struct ScriptedEngineScript {
    std::mutex mutex;
    std::vector<std::string> calls; // function name, then its text arguments, joined by '|'
    std::atomic<int> loads{0};
    std::atomic<int> unloads{0};

    // Each hook answers for its function; a missing hook makes the function return -1.
    std::function<int(const char *path, KrodecProbeInfo *info)> probe;
    std::function<int(int width, int height, const char *fileName, unsigned char **pixels, int *seconds)> getFrame;
    std::function<int(KrodecWindow *window, const char *path, const char *startSeconds)> frameInit;
    std::function<int(int seconds)> setNextFrameTime;
    std::function<int()> frameUnInit;
    // name is "X_SetPar_D2IPOD_VIDEO" and so on; texts are the text arguments in order.
    std::function<int(const std::string &name, KrodecWindow *window, const std::vector<std::string> &texts)> convert;
    std::function<int(int32_t info[3])> getInfo;
    std::function<int()> stopConvert;

    void record(const std::string &call)
    {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back(call);
    }
    std::vector<std::string> takeCalls()
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }
};

extern "C" ScriptedEngineScript *orvo_scripted_engine_script();

#define ORVO_DEFINE_ENGINE_SCRIPT()                                                                                    \
    extern "C" __attribute__((visibility("default"))) ScriptedEngineScript *orvo_scripted_engine_script()            \
    {                                                                                                                  \
        static ScriptedEngineScript script;                                                                            \
        return &script;                                                                                                \
    }
