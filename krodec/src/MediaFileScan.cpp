// Reading ahead of the file's pictures: its start time, its length where the time stamps jump,
// whether its sound decodes, and the bit rates of its streams.
#include "MediaFile.h"

#include "JumpLength.h"

#include <algorithm>
#include <new>

namespace krodec {

namespace {

constexpr int kOriginPackets = 400;      // packets read at most to find the start time

} // namespace

void MediaFile::findOrigin()
{
    AVFormatContext *context = format_.get();
    AVStream *const streams[2] = {video_, audio_};
    double first[2] = {0, 0};
    bool known[2] = {false, false};
    bool missing = false;
    for (int i = 0; i < 2; ++i) {
        if (streams[i] && streams[i]->start_time != AV_NOPTS_VALUE) {
            first[i] = toSeconds(streams[i]->start_time, streams[i]->time_base);
            known[i] = true;
        }
        missing = missing || (streams[i] && !known[i]);
    }
    if (missing && context->start_time == AV_NOPTS_VALUE) {
        // The streams were not analysed (the header told enough): their first time stamps give the
        // start, as the analysis would. Reordered pictures make the first one not the earliest.
        PacketPtr packet = makePacket();
        int seen[2] = {0, 0};
        for (int count = 0; count < kOriginPackets; ++count) {
            if (interrupt_.fired() || av_read_frame(context, packet.get()) < 0)
                break;
            const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            for (int i = 0; i < 2; ++i) {
                if (known[i] || !streams[i] || packet->stream_index != streams[i]->index || ts == AV_NOPTS_VALUE)
                    continue;
                const double time = toSeconds(ts, streams[i]->time_base);
                first[i] = seen[i] > 0 ? std::min(first[i], time) : time;
                ++seen[i];
            }
            av_packet_unref(packet.get());
            if ((!streams[0] || known[0] || seen[0] >= 8) && (!streams[1] || known[1] || seen[1] >= 1))
                break;
        }
        for (int i = 0; i < 2; ++i)
            known[i] = known[i] || seen[i] > 0;
        fresh_ = false;  // the demuxer has read on: the first frame is found by a seek
    }
    bool found = false;
    if (context->start_time != AV_NOPTS_VALUE) {
        origin_ = toSeconds(context->start_time, AVRational{1, AV_TIME_BASE});
        found = true;
    }
    for (int i = 0; i < 2; ++i) {
        if (known[i] && context->start_time == AV_NOPTS_VALUE) {
            origin_ = found ? std::min(origin_, first[i]) : first[i];
            found = true;
        }
    }
    videoStart_ = known[0] ? std::max(first[0] - origin_, 0.0) : 0.0;
}

void MediaFile::measureLength()
{
    if (!jumps_.active() || !(video_ || audio_))
        return;
    const double length = lengthWithoutJumps(format_.get(), video_ ? video_ : audio_, origin_, interrupt_);
    fresh_ = false;
    if (length > 0)
        measured_ = length;
}

bool MediaFile::audioDecodes(double seconds)
{
    if (!audio_)
        return false;
    const AVCodec *codec = avcodec_find_decoder(audio_->codecpar->codec_id);
    if (!codec)
        return false;
    CodecPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder)
        throw std::bad_alloc();
    if (avcodec_parameters_to_context(decoder.get(), audio_->codecpar) < 0)
        return false;
    decoder->pkt_timebase = audio_->time_base;
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return false;
    seekToStart();
    fresh_ = false;
    haveLast_ = false;
    AVFormatContext *context = format_.get();
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    const auto cleanFrame = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            const bool clean = frame->nb_samples > 0 && frame->decode_error_flags == 0
                               && !(frame->flags & AV_FRAME_FLAG_CORRUPT);
            av_frame_unref(frame.get());
            if (clean)
                return true;
        }
        return false;
    };
    for (int count = 0; count < 5000; ++count) {
        if (interrupt_.fired() || av_read_frame(context, packet.get()) < 0)
            break;
        if (packet->stream_index != audio_->index) {
            av_packet_unref(packet.get());
            continue;
        }
        if (isEncrypted(packet.get()))
            return false;
        const bool late = packet->pts != AV_NOPTS_VALUE && toSeconds(packet->pts, audio_->time_base) - origin_ > seconds;
        const int sent = late ? -1 : avcodec_send_packet(decoder.get(), packet.get());
        av_packet_unref(packet.get());
        if (late)
            break;
        if (sent >= 0 && cleanFrame())
            return true;
    }
    avcodec_send_packet(decoder.get(), nullptr);
    return cleanFrame();
}

void MediaFile::sampleBitRates(double seconds, double &videoRate, double &audioRate)
{
    struct Tally {
        const AVStream *stream = nullptr;
        double bytes = 0;
        double first = 0;
        double last = 0;
        double lastDuration = 0;
        bool seen = false;
        double span() const { return seen ? last - first + lastDuration : 0; }
        double rate() const { return span() > 0 ? bytes * 8 / span() : 0; }
    };
    Tally tallies[2];
    tallies[0].stream = video_;
    tallies[1].stream = audio_;
    AVPacket *packet = packet_ ? packet_.get() : nullptr;
    PacketPtr own;
    if (!packet) {
        own = makePacket();
        packet = own.get();
    }
    fresh_ = false;
    double bytesRead = 0;
    for (int count = 0; count < 20000 && bytesRead < 16.0e6; ++count) {
        if (interrupt_.fired() || av_read_frame(format_.get(), packet) < 0)
            break;
        bytesRead += packet->size;
        for (Tally &tally : tallies) {
            if (!tally.stream || packet->stream_index != tally.stream->index)
                continue;
            const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (ts == AV_NOPTS_VALUE)
                break;
            const double time = toSeconds(ts, tally.stream->time_base);
            tally.bytes += packet->size;
            tally.lastDuration = toSeconds(packet->duration, tally.stream->time_base);
            if (!tally.seen || time < tally.first)
                tally.first = time;
            if (!tally.seen || time > tally.last)
                tally.last = time;
            tally.seen = true;
        }
        av_packet_unref(packet);
        bool enough = true;
        for (const Tally &tally : tallies)
            enough = enough && (!tally.stream || tally.span() >= seconds);
        if (enough)
            break;
    }
    av_packet_unref(packet);
    videoRate = tallies[0].rate();
    audioRate = tallies[1].rate();
}

} // namespace krodec
