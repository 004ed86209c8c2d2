#pragma once

// Owning handles for FFmpeg objects, so every early return frees what was opened.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <memory>
#include <string>

namespace krodec::convert {

struct InputDeleter {
    void operator()(AVFormatContext *c) const { avformat_close_input(&c); }
};
struct CodecDeleter {
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct GraphDeleter {
    void operator()(AVFilterGraph *g) const { avfilter_graph_free(&g); }
};
struct SwrDeleter {
    void operator()(SwrContext *s) const { swr_free(&s); }
};

using InputHandle = std::unique_ptr<AVFormatContext, InputDeleter>;
using CodecHandle = std::unique_ptr<AVCodecContext, CodecDeleter>;
using FrameHandle = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketHandle = std::unique_ptr<AVPacket, PacketDeleter>;
using GraphHandle = std::unique_ptr<AVFilterGraph, GraphDeleter>;
using SwrHandle = std::unique_ptr<SwrContext, SwrDeleter>;

// Text of an FFmpeg error code (av_err2str is a C compound literal).
inline std::string errorText(int code)
{
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buffer, sizeof buffer);
    return buffer;
}

} // namespace krodec::convert
