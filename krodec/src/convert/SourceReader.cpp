#include "convert/SourceReader.h"

#include "convert/ConvertProgress.h"
#include "JumpLength.h"
#include "MediaFile.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <chrono>
#include <cmath>
#include <thread>

namespace krodec::convert {
namespace {

// The main picture: the best video stream that is not a cover picture and that FFmpeg decodes.
int findVideo(AVFormatContext *format)
{
    const auto usable = [](const AVStream *stream) {
        return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
               && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
               && avcodec_find_decoder(stream->codecpar->codec_id) != nullptr;
    };
    const int best = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (best >= 0 && usable(format->streams[best]))
        return best;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (usable(format->streams[i]))
            return static_cast<int>(i);
    }
    return -1;
}

// Audio tracks count in file order, as a player lists them.
int findAudio(AVFormatContext *format, int track)
{
    int seen = 0;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (format->streams[i]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        if (seen++ == track)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

SourceReader::Open SourceReader::open(const std::string &path, bool wantVideo, int audioTrack)
{
    if (!m_input.open(path))
        return Open::Unreadable;
    AVFormatContext *format = avformat_alloc_context();
    if (!format)
        return Open::Unreadable;
    format->pb = m_input.context();
    // A stop also ends the demuxer's own loops (stream analysis, resynchronising on garbage).
    format->interrupt_callback.callback = [](void *) { return progress::stopRequested() ? 1 : 0; };
    AVDictionary *options = nullptr;
    // A local file only: playlists inside the source must not reach the network.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&format, ("file:" + path).c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return Open::Unreadable;   // the context was freed
    m_format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0)
        return Open::Unreadable;

    // A source without a picture (music, a sound track) gives sound only, even for video.
    m_videoIndex = wantVideo ? findVideo(format) : -1;
    if (m_videoIndex >= 0 && !openDecoder(m_videoIndex, m_videoDecoder))
        return Open::Unreadable;
    m_audioIndex = findAudio(format, audioTrack);
    if (m_audioIndex < 0) {
        if (m_videoIndex < 0)
            return wantVideo ? Open::NoVideo : Open::NoAudio;
        if (audioTrack > 0)
            return Open::TrackMissing;
    } else if (!openDecoder(m_audioIndex, m_audioDecoder)) {
        return Open::Unreadable;
    }
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (static_cast<int>(i) != m_videoIndex && static_cast<int>(i) != m_audioIndex)
            format->streams[i]->discard = AVDISCARD_ALL;
    }
    return Open::Ok;
}

bool SourceReader::openDecoder(int index, CodecHandle &decoder)
{
    const AVStream *stream = m_format->streams[index];
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return false;
    decoder.reset(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        return false;
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = 0;
    return avcodec_open2(decoder.get(), codec, nullptr) >= 0;
}

int64_t SourceReader::fileStart() const
{
    return m_format->start_time == AV_NOPTS_VALUE ? 0 : m_format->start_time;
}

int64_t SourceReader::originOf(double startSeconds) const
{
    return fileStart() + static_cast<int64_t>(std::llround(startSeconds * AV_TIME_BASE));
}

// Whether the time stamps jump somewhere in the file: a time after a jump is no time
// stamp of the file, and only reading from the start finds it.
bool SourceReader::timeJumps()
{
    if (m_jumpsFound < 0) {
        m_jumpsFound = 0;
        const AVStream *reference = videoStream() ? videoStream() : audioStream();
        if (reference && (m_format->iformat->flags & AVFMT_TS_DISCONT)) {
            Interrupt budget;
            budget.arm(std::chrono::seconds(3));
            const double origin = static_cast<double>(fileStart()) / AV_TIME_BASE;
            m_jumpsFound = lengthWithoutJumps(m_format.get(), reference, origin, budget) > 0 ? 1 : 0;
        }
    }
    return m_jumpsFound > 0;
}

bool SourceReader::seek(int64_t micros)
{
    AVFormatContext *format = m_format.get();
    const bool bytes = !(format->iformat->flags & AVFMT_NO_BYTE_SEEK);
    const bool toStart = micros <= fileStart() || timeJumps();
    // Formats searched by time stamp land after the first key frame even for the first
    // time stamp, and ones whose time stamps jump have no single time for their start.
    bool moved = toStart && bytes && (format->iformat->flags & AVFMT_TS_DISCONT)
                 && av_seek_frame(format, -1, 0, AVSEEK_FLAG_BYTE) >= 0;
    moved = moved || avformat_seek_file(format, -1, INT64_MIN, micros, micros, 0) >= 0
            || av_seek_frame(format, -1, micros, AVSEEK_FLAG_BACKWARD) >= 0
            || (toStart && bytes && av_seek_frame(format, -1, 0, AVSEEK_FLAG_BYTE) >= 0);
    m_jumps.reset();
    for (AVCodecContext *decoder : {m_videoDecoder.get(), m_audioDecoder.get()}) {
        if (decoder)
            avcodec_flush_buffers(decoder);
    }
    return moved;
}

int SourceReader::read(AVPacket *packet)
{
    // Files seldom answer "try again"; a demuxer that keeps doing so is taken as ended.
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int result = av_read_frame(m_format.get(), packet);
        if (result >= 0) {
            if (!m_jumpsKnown) {
                m_jumps.setFormat(m_format.get());
                m_jumpsKnown = true;
            }
            m_jumps.apply(packet, m_format->streams[packet->stream_index]->time_base);
            return 0;
        }
        if (result != AVERROR(EAGAIN))
            return AVERROR_EOF;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return AVERROR_EOF;
}

} // namespace krodec::convert
