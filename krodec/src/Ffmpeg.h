// FFmpeg's C headers and owning pointers for its objects.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace krodec {

struct FormatCloser {
    void operator()(AVFormatContext *c) const { avformat_close_input(&c); }
};
struct CodecFreer {
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketFreer {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct SwsFreer {
    void operator()(SwsContext *c) const { sws_freeContext(c); }
};

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using SwsPtr = std::unique_ptr<SwsContext, SwsFreer>;

// Allocates a frame or packet; throws std::bad_alloc when FFmpeg cannot.
FramePtr makeFrame();
PacketPtr makePacket();

// FFmpeg's log goes to stderr for every damaged file; the engine keeps it quiet unless the
// environment variable KRODEC_LOG is set (to any FFmpeg level number, e.g. 32 for info).
void setUpFfmpegLog();

} // namespace krodec
