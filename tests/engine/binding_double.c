/* A stand-in engine for the binding test: every function of the interface, except the ones
 * the build leaves out with OMIT_GET_FRAME or OMIT_CONVERSION. */
#include "KrodecDLL.h"

#define EXPORT __attribute__((visibility("default")))

EXPORT int32_t X_GetFileinfo_GetPic(char *path, int32_t reserved, void *info)
{
    (void)path; (void)reserved; (void)info;
    return 7;
}

#ifndef OMIT_GET_FRAME
EXPORT int32_t X_Get_Frame(int32_t w, int32_t h, const char *name, unsigned char **pixels, int32_t *seconds)
{
    (void)w; (void)h; (void)name; (void)pixels; (void)seconds;
    return 0;
}
#endif

EXPORT int32_t X_GetFrame_Init(KrodecWindow *window, int32_t mode, const char *path, const char *unused, const char *start)
{
    (void)window; (void)mode; (void)path; (void)unused; (void)start;
    return 0;
}
EXPORT int32_t X_Set_NextFrame_Time(int32_t seconds) { (void)seconds; return 0; }
EXPORT int32_t X_GetFrame_UnInit(void) { return 0; }

#ifndef OMIT_CONVERSION
EXPORT int32_t X_Get_Info(int32_t info[3]) { info[0] = info[1] = info[2] = 0; return 0; }
EXPORT int32_t X_StopConvert(void) { return 0; }
#define VIDEO_ARGS KrodecWindow *w, int32_t m, const char *a1, const char *a2, const char *a3, const char *a4, \
    const char *a5, const char *a6, const char *a7, const char *a8, const char *a9, const char *a10, \
    const char *a11, const char *a12, const char *a13, const char *a14, const char *a15, const char *a16, \
    const char *a17, const char *a18, const char *a19, const char *a20, int32_t stamp
#define UNUSED_VIDEO (void)w; (void)m; (void)a1; (void)a2; (void)a3; (void)a4; (void)a5; (void)a6; (void)a7; \
    (void)a8; (void)a9; (void)a10; (void)a11; (void)a12; (void)a13; (void)a14; (void)a15; (void)a16; (void)a17; \
    (void)a18; (void)a19; (void)a20; (void)stamp
EXPORT int32_t X_SetPar_D2IPOD_VIDEO(VIDEO_ARGS) { UNUSED_VIDEO; return 0; }
EXPORT int32_t X_SetPar_D2IPHONE_VIDEO(VIDEO_ARGS) { UNUSED_VIDEO; return 0; }
#ifndef OMIT_APPLETV
EXPORT int32_t X_SetPar_D2APPLETV_VIDEO(VIDEO_ARGS) { UNUSED_VIDEO; return 0; }
#endif
EXPORT int32_t X_SetPar_D2IPOD_MP3(KrodecWindow *w, int32_t m, const char *a1, const char *a2, const char *a3,
    const char *a4, const char *a5, const char *a6, const char *a7, const char *a8, const char *a9,
    const char *a10, const char *a11, const char *a12, int32_t stamp)
{
    (void)w; (void)m; (void)a1; (void)a2; (void)a3; (void)a4; (void)a5; (void)a6; (void)a7; (void)a8;
    (void)a9; (void)a10; (void)a11; (void)a12; (void)stamp;
    return 0;
}
#endif
