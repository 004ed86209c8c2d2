// Runs one conversion through the engine library of a bundle, as the program calls it.
//   convert_driver <bundle>/libKrodecDLL.so ipod|iphone|appletv <20 texts in the call's order>
//   convert_driver <bundle>/libKrodecDLL.so music <12 texts in the call's order>
// Prints the engine's result; the exit code is 0 when the result is 0.

#include "KrodecDLL.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s library device texts...\n", argv[0]);
        return 2;
    }
    void *engine = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!engine) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    const char *device = argv[2];
    char **t = argv + 3;
    const int texts = argc - 3;
    int result = -1;
    if (std::strcmp(device, "music") == 0) {
        auto convert = reinterpret_cast<decltype(&X_SetPar_D2IPOD_MP3)>(dlsym(engine, "X_SetPar_D2IPOD_MP3"));
        if (texts != 12 || !convert) {
            std::fprintf(stderr, "music takes 12 texts\n");
            return 2;
        }
        result = convert(nullptr, 2, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11],
                         20070316);
    } else {
        const char *name = std::strcmp(device, "ipod") == 0      ? "X_SetPar_D2IPOD_VIDEO"
                           : std::strcmp(device, "iphone") == 0  ? "X_SetPar_D2IPHONE_VIDEO"
                           : std::strcmp(device, "appletv") == 0 ? "X_SetPar_D2APPLETV_VIDEO"
                                                                 : nullptr;
        auto convert = name ? reinterpret_cast<decltype(&X_SetPar_D2IPOD_VIDEO)>(dlsym(engine, name)) : nullptr;
        if (texts != 20 || !convert) {
            std::fprintf(stderr, "ipod, iphone and appletv take 20 texts\n");
            return 2;
        }
        result = convert(nullptr, 2, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11],
                         t[12], t[13], t[14], t[15], t[16], t[17], t[18], t[19], 20070316);
    }
    std::printf("%d\n", result);
    dlclose(engine);
    return result == 0 ? 0 : 1;
}
