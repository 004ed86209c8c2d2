#pragma once

// Owning handles for FFmpeg objects, so every early return frees what was opened.

#include "Ffmpeg.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libswresample/swresample.h>
}

#include <memory>
#include <string>

namespace krodec::convert {

struct GraphDeleter {
    void operator()(AVFilterGraph *g) const { avfilter_graph_free(&g); }
};
struct SwrDeleter {
    void operator()(SwrContext *s) const { swr_free(&s); }
};

using InputHandle = krodec::FormatPtr;
using CodecHandle = krodec::CodecPtr;
using FrameHandle = krodec::FramePtr;
using PacketHandle = krodec::PacketPtr;
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
