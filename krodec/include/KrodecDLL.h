/* Conversion engine interface: plain C, UTF-8 texts, 32-bit numbers.
 * No C++ exception and no abort ever leaves a function declared here. */
#ifndef KRODEC_DLL_H
#define KRODEC_DLL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KRODEC_BUILDING)
#define KRODEC_API __attribute__((visibility("default")))
#else
#define KRODEC_API
#endif

/* Window messages the engine posts to the window it was handed. */
enum {
    KRODEC_MSG_READY = 2312,        /* frame source open, or conversion under way */
    KRODEC_MSG_FRAME = 2412,        /* wparam 1: a preview frame is ready; 0: none */
    KRODEC_MSG_CLOSED = 2512        /* frame source closed; no engine thread runs any more */
};

/* The "window handle": the engine calls post() from any of its threads. */
typedef struct KrodecWindow KrodecWindow;
struct KrodecWindow {
    void (*post)(KrodecWindow *self, uint32_t message, intptr_t wparam, intptr_t lparam);
};

/* Probe record, 40 bytes, little-endian. */
typedef struct KrodecProbeInfo {
    int32_t seconds;          /* length in whole seconds, truncated */
    float frameRate;          /* frames per second */
    float videoBitRate;       /* kbit/s */
    int32_t width;            /* stored picture width; 0 for audio only */
    int32_t height;           /* stored picture height; 0 for audio only */
    int32_t aspectCode;       /* 1 square pixels, 2 4:3, 3 16:9, 4 2.21:1, 0 other */
    int32_t sampleRate;       /* Hz */
    int32_t unused;
    float audioBitRate;       /* kbit/s */
    int32_t displayAspectFlag;/* 0: aspectCode gives the display shape */
} KrodecProbeInfo;

/* Probe set. */
KRODEC_API int32_t X_GetFileinfo_GetPic(char *path, int32_t reserved /* 10 */, void *probeInfo /* 40 bytes */);
KRODEC_API int32_t X_Get_Frame(int32_t width, int32_t height, const char *fileName /* "2.bmp" or NULL */,
                               unsigned char **pixels, int32_t *frameSeconds);

/* Preview set (frame source). */
KRODEC_API int32_t X_GetFrame_Init(KrodecWindow *window, int32_t mode /* 2 */, const char *path,
                                   const char *unused /* "" */, const char *startSeconds);
KRODEC_API int32_t X_Set_NextFrame_Time(int32_t seconds);
KRODEC_API int32_t X_GetFrame_UnInit(void);

/* Conversion set: window, 2, then the 20 texts in the documented order, then 20070316. */
KRODEC_API int32_t X_SetPar_D2IPOD_VIDEO(KrodecWindow *window, int32_t mode,
    const char *sourcePath, const char *sourceNumber, const char *startTime, const char *sampleRate,
    const char *aspect, const char *videoFormat, const char *fileFormat, const char *videoBitRate,
    const char *audioBitRate, const char *pictureSize, const char *frameSize, const char *title,
    const char *artist, const char *album, const char *frameRate, const char *audioTrack,
    const char *subtitle, const char *destPath, const char *volume, const char *duration,
    int32_t stamp /* 20070316 */);
KRODEC_API int32_t X_SetPar_D2IPHONE_VIDEO(KrodecWindow *window, int32_t mode,
    const char *sourcePath, const char *sourceNumber, const char *startTime, const char *sampleRate,
    const char *aspect, const char *videoFormat, const char *fileFormat, const char *videoBitRate,
    const char *audioBitRate, const char *pictureSize, const char *frameSize, const char *title,
    const char *artist, const char *album, const char *frameRate, const char *audioTrack,
    const char *subtitle, const char *destPath, const char *volume, const char *duration,
    int32_t stamp);
KRODEC_API int32_t X_SetPar_D2APPLETV_VIDEO(KrodecWindow *window, int32_t mode,
    const char *sourcePath, const char *sourceNumber, const char *startTime, const char *sampleRate,
    const char *aspect, const char *videoFormat, const char *fileFormat, const char *videoBitRate,
    const char *audioBitRate, const char *pictureSize, const char *frameSize, const char *title,
    const char *artist, const char *album, const char *frameRate, const char *audioTrack,
    const char *subtitle, const char *destPath, const char *volume, const char *duration,
    int32_t stamp);
/* window, 2, then the 12 texts in the documented order, then 20070316. */
KRODEC_API int32_t X_SetPar_D2IPOD_MP3(KrodecWindow *window, int32_t mode,
    const char *sourcePath, const char *sourceNumber, const char *startTime, const char *sampleRate,
    const char *audioBitRate, const char *title, const char *artist, const char *album,
    const char *audioTrack, const char *destPath, const char *volume, const char *duration,
    int32_t stamp);
KRODEC_API int32_t X_Get_Info(int32_t info[3]);  /* seconds done, frames per second, current frame */
KRODEC_API int32_t X_StopConvert(void);

#ifdef __cplusplus
}
#endif

#endif
