#include "convert/OutputWriter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <cmath>

namespace krodec::convert {
namespace {

AVSampleFormat preferredFormat(const AVCodec *codec)
{
    if (!codec->sample_fmts)
        return AV_SAMPLE_FMT_FLTP;
    for (const AVSampleFormat *f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == AV_SAMPLE_FMT_FLTP)
            return *f;
    }
    return codec->sample_fmts[0];
}

} // namespace

OutputWriter::~OutputWriter()
{
    if (!m_format)
        return;
    if (!(m_format->oformat->flags & AVFMT_NOFILE))
        avio_closep(&m_format->pb);
    avformat_free_context(m_format);
}

bool OutputWriter::open(const EncodePlan &plan, bool withAudio, const std::string &path, const Tags &tags)
{
    const std::string url = "file:" + path;
    if (avformat_alloc_output_context2(&m_format, nullptr, plan.muxer.c_str(), url.c_str()) < 0 || !m_format)
        return false;
    m_packet.reset(av_packet_alloc());
    if (!m_packet)
        return false;
    if (plan.video && (!openVideo(*plan.video) || !addStream(m_video.get())))
        return false;
    if (withAudio && (!openAudio(plan.audio) || !addStream(m_audio.get())))
        return false;
    av_dict_set(&m_format->metadata, "title", tags.title.c_str(), 0);
    av_dict_set(&m_format->metadata, "artist", tags.artist.c_str(), 0);
    av_dict_set(&m_format->metadata, "album", tags.album.c_str(), 0);
    if (avio_open(&m_format->pb, url.c_str(), AVIO_FLAG_WRITE) < 0)
        return false;

    AVDictionary *options = nullptr;
    if (plan.muxer == "mp3") {
        // ID3v2.4 is poorly supported by players; the Xing header gives the length.
        av_dict_set(&options, "id3v2_version", "3", 0);
        av_dict_set(&options, "write_xing", "1", 0);
    } else {
        // The index goes to the front, as devices and streaming players want it.
        av_dict_set(&options, "movflags", "+faststart", 0);
    }
    const int written = avformat_write_header(m_format, &options);
    av_dict_free(&options);
    m_headerWritten = written >= 0;
    return m_headerWritten;
}

bool OutputWriter::openVideo(const VideoPlan &plan)
{
    const bool h264 = plan.codec == VideoCodec::H264;
    const AVCodec *codec = avcodec_find_encoder_by_name(h264 ? "libx264" : "mpeg4");
    if (!codec)
        return false;
    m_video.reset(avcodec_alloc_context3(codec));
    AVCodecContext *c = m_video.get();
    if (!c)
        return false;
    c->width = plan.frame.width;
    c->height = plan.frame.height;
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->sample_aspect_ratio = {1, 1};
    c->framerate = {plan.frameRate.num, plan.frameRate.den};
    c->time_base = {plan.frameRate.den, plan.frameRate.num};
    c->bit_rate = plan.kbps * 1000LL;
    c->rc_max_rate = plan.maxKbps * 1000LL;
    c->rc_buffer_size = plan.bufferKbits * 1000;
    c->thread_count = 0;
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary *options = nullptr;
    if (h264) {
        av_dict_set(&options, "profile", plan.profile.c_str(), 0);
        av_dict_set(&options, "level", plan.level.c_str(), 0);
        av_dict_set(&options, "x264-params", plan.x264Params.c_str(), 0);
    } else {
        // Simple Profile: no B-frames, no quarter-pel, no global motion compensation.
        c->max_b_frames = 0;
        c->flags &= ~AV_CODEC_FLAG_QPEL;
        c->profile = FF_PROFILE_MPEG4_SIMPLE;
        c->level = plan.mpeg4Level;
        c->gop_size = 10 * static_cast<int>(std::lround(static_cast<double>(plan.frameRate.num) / plan.frameRate.den));
    }
    const int opened = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    return opened >= 0;
}

bool OutputWriter::openAudio(const AudioPlan &plan)
{
    const AVCodec *codec = avcodec_find_encoder_by_name(plan.encoder.c_str());
    if (!codec)
        return false;
    m_audio.reset(avcodec_alloc_context3(codec));
    AVCodecContext *c = m_audio.get();
    if (!c)
        return false;
    c->sample_fmt = preferredFormat(codec);
    c->sample_rate = plan.sampleRate;
    av_channel_layout_default(&c->ch_layout, 2);
    c->bit_rate = plan.kbps * 1000LL;
    c->time_base = {1, plan.sampleRate};
    if (plan.encoder == "aac")
        c->profile = FF_PROFILE_AAC_LOW;
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return avcodec_open2(c, codec, nullptr) >= 0;
}

bool OutputWriter::addStream(AVCodecContext *encoder)
{
    AVStream *stream = avformat_new_stream(m_format, nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, encoder) < 0)
        return false;
    (encoder == m_video.get() ? m_videoIndex : m_audioIndex) = stream->index;
    stream->time_base = encoder->time_base;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        stream->avg_frame_rate = encoder->framerate;
        stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
    }
    return true;
}

int OutputWriter::writeOnePacket(AVCodecContext *encoder)
{
    const int received = avcodec_receive_packet(encoder, m_packet.get());
    if (received < 0)
        return received;
    const int index = encoder == m_video.get() ? m_videoIndex : m_audioIndex;
    m_packet->stream_index = index;
    av_packet_rescale_ts(m_packet.get(), encoder->time_base, m_format->streams[index]->time_base);
    const int written = av_interleaved_write_frame(m_format, m_packet.get());
    return written < 0 ? written : 0;
}

bool OutputWriter::encode(AVCodecContext *encoder, AVFrame *frame)
{
    if (!encoder || avcodec_send_frame(encoder, frame) < 0)
        return false;
    int result = 0;
    while ((result = writeOnePacket(encoder)) == 0) {
    }
    return result == AVERROR(EAGAIN) || result == AVERROR_EOF;
}

bool OutputWriter::flush(AVCodecContext *encoder, std::chrono::steady_clock::time_point deadline)
{
    if (!encoder)
        return true;
    if (avcodec_send_frame(encoder, nullptr) < 0)
        return false;
    while (std::chrono::steady_clock::now() < deadline) {
        const int result = writeOnePacket(encoder);
        if (result == AVERROR_EOF)
            return true;
        if (result < 0)
            return false;
    }
    return true;
}

bool OutputWriter::finish()
{
    if (!m_headerWritten || m_finished)
        return false;
    m_finished = true;
    const bool trailer = av_write_trailer(m_format) >= 0;
    const bool closed = avio_closep(&m_format->pb) >= 0;
    return trailer && closed;
}

} // namespace krodec::convert
