#include "BgrScaler.h"

#include <algorithm>

namespace krodec {

namespace {

// swscale's SIMD output may store a few bytes past the last pixel.
constexpr size_t kTailSlack = 64;

// The "J" formats are plain YUV with full range; swscale wants them named as plain YUV.
AVPixelFormat plainFormat(AVPixelFormat format, bool &fullRange)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P: fullRange = true; return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P: fullRange = true; return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P: fullRange = true; return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P: fullRange = true; return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P: fullRange = true; return AV_PIX_FMT_YUV411P;
    default: return format;
    }
}

int colourMatrix(const AVFrame &frame)
{
    switch (frame.colorspace) {
    case AVCOL_SPC_BT709:
    case AVCOL_SPC_FCC:
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
    case AVCOL_SPC_SMPTE240M:
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        return frame.colorspace;
    default:
        // Untagged: high definition pictures are BT.709, smaller ones BT.601.
        return frame.height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

} // namespace

bool blackPicture(int width, int height, std::vector<uint8_t> &pixels)
{
    if (width <= 0 || height <= 0 || width > BgrScaler::kMaxSide || height > BgrScaler::kMaxSide) {
        pixels.clear();
        return false;
    }
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    pixels.assign(size + kTailSlack, 0);
    return true;
}

bool BgrScaler::scale(const AVFrame &frame, int width, int height, std::vector<uint8_t> &pixels)
{
    if (!blackPicture(width, height, pixels))
        return false;
    bool fullRange = frame.color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat source = plainFormat(static_cast<AVPixelFormat>(frame.format), fullRange);
    if (frame.width <= 0 || frame.height <= 0 || !frame.data[0] || !sws_isSupportedInput(source))
        return false;

    // Downscaling by area averages every source pixel; upscaling interpolates.
    const bool shrinking = width < frame.width || height < frame.height;
    const int flags = (shrinking ? SWS_AREA : SWS_BICUBIC) | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT;
    SwsContext *context = sws_getCachedContext(context_.release(), frame.width, frame.height, source,
                                               width, height, AV_PIX_FMT_BGR24, flags,
                                               nullptr, nullptr, nullptr);
    context_.reset(context);
    if (!context)
        return false;
    const int *matrix = sws_getCoefficients(colourMatrix(frame));
    sws_setColorspaceDetails(context, matrix, fullRange ? 1 : 0, sws_getCoefficients(SWS_CS_DEFAULT), 1,
                             0, 1 << 16, 1 << 16);

    uint8_t *target[4] = {pixels.data(), nullptr, nullptr, nullptr};
    const int targetStride[4] = {width * 3, 0, 0, 0};
    const int rows = sws_scale(context, frame.data, frame.linesize, 0, frame.height, target, targetStride);
    return rows == height;
}

} // namespace krodec
