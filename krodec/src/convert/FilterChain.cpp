#include "convert/FilterChain.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
}

#include <cmath>
#include <cstdio>

namespace krodec::convert {
namespace {

// Every number below is written as an integer or a fraction of integers: FFmpeg
// parses decimals with strtod, which follows the program's locale.
template <typename... Args>
std::string format(const char *pattern, Args... args)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

AVChannelLayout usableLayout(const AVChannelLayout &layout)
{
    AVChannelLayout result{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_copy(&result, &layout) < 0)
        av_channel_layout_default(&result, layout.nb_channels);
    return result;
}

std::string layoutName(const AVChannelLayout &layout)
{
    char name[128] = {};
    av_channel_layout_describe(&layout, name, sizeof name);
    return name;
}

} // namespace

bool FilterChain::build(const char *sourceName, const std::string &sourceArgs,
                        const std::string &description)
{
    m_graph.reset(avfilter_graph_alloc());
    if (!m_graph)
        return false;
    const bool video = std::string(sourceName) == "buffer";
    if (avfilter_graph_create_filter(&m_source, avfilter_get_by_name(sourceName), "in",
                                     sourceArgs.c_str(), nullptr, m_graph.get()) < 0
        || avfilter_graph_create_filter(&m_sink, avfilter_get_by_name(video ? "buffersink" : "abuffersink"),
                                        "out", nullptr, nullptr, m_graph.get()) < 0) {
        m_graph.reset();
        return false;
    }
    AVFilterInOut *outputs = avfilter_inout_alloc();
    AVFilterInOut *inputs = avfilter_inout_alloc();
    bool ok = outputs && inputs;
    if (ok) {
        outputs->name = av_strdup("in");
        outputs->filter_ctx = m_source;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = m_sink;
        ok = avfilter_graph_parse_ptr(m_graph.get(), description.c_str(), &inputs, &outputs, nullptr) >= 0
             && avfilter_graph_config(m_graph.get(), nullptr) >= 0;
    }
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (!ok)
        m_graph.reset();
    return ok;
}

bool FilterChain::push(AVFrame *frame)
{
    if (m_closed)
        return frame == nullptr;
    if (!frame) {
        m_closed = true;
        return !m_graph || av_buffersrc_add_frame_flags(m_source, nullptr, 0) >= 0;
    }
    if (!m_graph)
        return false;
    // A graph that has cut its output at the duration no longer takes frames; not an error.
    const int result = av_buffersrc_add_frame_flags(m_source, frame, AV_BUFFERSRC_FLAG_PUSH);
    return result >= 0 || result == AVERROR_EOF;
}

bool FilterChain::endAt(int64_t pts)
{
    if (m_closed)
        return true;
    m_closed = true;
    return !m_graph || av_buffersrc_close(m_source, pts, AV_BUFFERSRC_FLAG_PUSH) >= 0;
}

int FilterChain::pull(AVFrame *frame)
{
    if (!m_graph)
        return m_closed ? AVERROR_EOF : AVERROR(EAGAIN);
    return av_buffersink_get_frame(m_sink, frame);
}

AVRational FilterChain::outputTimeBase() const { return av_buffersink_get_time_base(m_sink); }

bool VideoChain::configure(const AVFrame &first, AVRational timeBase, const VideoPlan &plan,
                           int64_t frameCount)
{
    const AVRational sar = first.sample_aspect_ratio.num > 0 ? first.sample_aspect_ratio : AVRational{1, 1};
    const std::string sourceArgs = format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                                          first.width, first.height, first.format, timeBase.num,
                                          timeBase.den, sar.num, sar.den);
    // The rate first: frames it drops are never scaled. start_time=0 repeats the first
    // frame back to time 0 when the picture starts late.
    std::string description = format("fps=fps=%d/%d:start_time=0", plan.frameRate.num, plan.frameRate.den);
    // Interlaced pictures (DVD, camcorder, broadcast) would show combs on every movement once
    // scaled. Sources may switch between interlaced and progressive frames, so the deinterlacer
    // is always there; frames stored progressive pass through it untouched. It cannot follow a
    // change of picture size, so a broadcast that changes size is first brought back to the size
    // it started with, field by field; at that size the scaler passes frames through as they are.
    if (first.width >= 3 && first.height >= 3)
        description = format("scale=%d:%d:interl=-1,bwdif=mode=send_frame:parity=auto:deint=interlaced,",
                             first.width, first.height)
                      + description;
    if (frameCount > 0)
        description += format(",trim=end_frame=%lld", static_cast<long long>(frameCount));
    description += format(",scale=%d:%d", plan.picture.width, plan.picture.height);
    if (plan.picture.width != plan.frame.width || plan.picture.height != plan.frame.height)
        description += format(",pad=%d:%d:(ow-iw)/2:(oh-ih)/2:black", plan.frame.width, plan.frame.height);
    // Devices ignore pixel shape flags, and libx264 would pick 4:4:4 for RGB input.
    description += ",setsar=1,format=yuv420p";
    return build("buffer", sourceArgs, description);
}

bool AudioChain::configure(const AVFrame &first, const AVCodecContext &encoder, double volumeDb,
                           int64_t sampleCount)
{
    m_rate = first.sample_rate;
    m_format = static_cast<AVSampleFormat>(first.format);
    av_channel_layout_uninit(&m_layout);
    m_layout = usableLayout(first.ch_layout);
    const char *sampleFormat = av_get_sample_fmt_name(m_format);
    if (m_rate <= 0 || !sampleFormat || m_layout.nb_channels <= 0)
        return false;
    const std::string sourceArgs = format("time_base=1/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s",
                                          m_rate, m_rate, sampleFormat, layoutName(m_layout).c_str());
    // async fills gaps and drops overlaps; first_pts=0 pads a late start with silence
    // and cuts the samples decoded before the start time.
    std::string description = "aresample=async=1:first_pts=0";
    if (std::fabs(volumeDb) >= 0.005) {
        // Fixed precision clips the boosted samples instead of wrapping past full scale.
        const long long gain = std::llround(std::pow(10.0, volumeDb / 20.0) * 1000000.0);
        description += format(",volume=volume=%lld/1000000:precision=fixed", gain);
    }
    description += format(",aformat=sample_fmts=%s:sample_rates=%d:channel_layouts=stereo",
                          av_get_sample_fmt_name(encoder.sample_fmt), encoder.sample_rate);
    if (sampleCount > 0)
        description += format(",atrim=end_sample=%lld", static_cast<long long>(sampleCount));
    if (!build("abuffer", sourceArgs, description))
        return false;
    // FFmpeg's encoders take frames of the wrong size without complaint.
    if (!(encoder.codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) && encoder.frame_size > 0)
        av_buffersink_set_frame_size(m_sink, static_cast<unsigned>(encoder.frame_size));
    return true;
}

bool AudioChain::sameFormat(const AVFrame &frame) const
{
    return frame.sample_rate == m_rate && frame.format == m_format
           && (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC
                   ? frame.ch_layout.nb_channels == m_layout.nb_channels
                   : av_channel_layout_compare(&frame.ch_layout, &m_layout) == 0);
}

bool AudioChain::makeAdapter(const AVFrame &frame)
{
    SwrContext *swr = nullptr;
    AVChannelLayout inLayout = usableLayout(frame.ch_layout);
    const int made = swr_alloc_set_opts2(&swr, &m_layout, m_format, m_rate, &inLayout,
                                         static_cast<AVSampleFormat>(frame.format), frame.sample_rate,
                                         0, nullptr);
    av_channel_layout_uninit(&inLayout);
    if (made < 0 || swr_init(swr) < 0) {
        swr_free(&swr);
        return false;
    }
    m_adapter.reset(swr);
    if (!m_adapted)
        m_adapted.reset(av_frame_alloc());
    return m_adapted != nullptr;
}

bool AudioChain::pushAudio(AVFrame *frame)
{
    if (!frame)
        return push(frame);
    if (sameFormat(*frame)) {
        // The source was told the layout that an unnamed one stands for.
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_uninit(&frame->ch_layout);
            if (av_channel_layout_copy(&frame->ch_layout, &m_layout) < 0)
                return false;
        }
        return push(frame);
    }
    if (!m_adapter && !makeAdapter(*frame))
        return false;
    AVFrame *out = m_adapted.get();
    const auto convert = [&] {
        av_frame_unref(out);
        out->sample_rate = m_rate;
        out->format = m_format;
        return av_channel_layout_copy(&out->ch_layout, &m_layout) < 0
                   ? AVERROR(ENOMEM)
                   : swr_convert_frame(m_adapter.get(), out, frame);
    };
    int converted = convert();
    // A second change of format needs an adapter of its own.
    if (converted == AVERROR_INPUT_CHANGED && makeAdapter(*frame))
        converted = convert();
    const int64_t pts = frame->pts;
    av_frame_unref(frame);
    if (converted < 0)
        return false;
    out->pts = pts;
    return out->nb_samples == 0 || push(out);
}

FrameHandle AudioChain::silence(int samples) const
{
    FrameHandle frame(av_frame_alloc());
    if (!frame)
        return frame;
    frame->format = m_format;
    frame->sample_rate = m_rate;
    frame->nb_samples = samples;
    if (av_channel_layout_copy(&frame->ch_layout, &m_layout) < 0 || av_frame_get_buffer(frame.get(), 0) < 0
        || av_samples_set_silence(frame->extended_data, 0, samples, m_layout.nb_channels, m_format) < 0)
        frame.reset();
    return frame;
}

AudioChain::~AudioChain() { av_channel_layout_uninit(&m_layout); }

} // namespace krodec::convert
