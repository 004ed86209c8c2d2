#include "MediaFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace krodec {

namespace {

constexpr double kTimeSlack = 0.001;     // time stamps are compared with one millisecond of slack
constexpr int kMaxSeekRetries = 4;       // earlier and earlier seeks for formats without key frame marks
constexpr int kMaxPassedOver = 1500;     // pictures passed over after a seek while no key frame comes

bool validRate(AVRational r)
{
    return r.num > 0 && r.den > 0 && av_q2d(r) > 0.0 && av_q2d(r) <= 1000.0;
}

} // namespace

void Interrupt::arm(std::chrono::milliseconds budget)
{
    deadline_ = std::chrono::steady_clock::now() + budget;
}

bool Interrupt::fired() const
{
    if (cancel_ && cancel_->load(std::memory_order_relaxed))
        return true;
    return std::chrono::steady_clock::now() > deadline_;
}

AVIOInterruptCB Interrupt::callback()
{
    return AVIOInterruptCB{&Interrupt::check, this};
}

int Interrupt::check(void *self)
{
    return static_cast<Interrupt *>(self)->fired() ? 1 : 0;
}

bool MediaFile::open(const std::string &path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0)
        return false;

    AVFormatContext *context = avformat_alloc_context();
    if (!context)
        throw std::bad_alloc();
    context->interrupt_callback = interrupt_.callback();
    // "file:" keeps a name with a colon from being taken for a protocol.
    const std::string url = "file:" + path;
    if (avformat_open_input(&context, url.c_str(), nullptr, nullptr) < 0)
        return false;  // avformat_open_input freed the context
    format_.reset(context);
    // Analysing the streams decodes several frames (for H.264 up to twenty); containers whose
    // header already tells everything the engine needs skip it.
    if (!headerIsComplete() && avformat_find_stream_info(context, nullptr) < 0)
        return false;
    if (interrupt_.fired())
        return false;
    chooseStreams();
    jumps_.setFormat(context);
    findOrigin();
    return video_ || audio_;
}

bool MediaFile::headerIsComplete() const
{
    const AVFormatContext *context = format_.get();
    if ((context->ctx_flags & AVFMTCTX_NOHEADER) || context->nb_streams == 0)
        return false;
    bool usable = false;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream *stream = context->streams[i];
        const AVCodecParameters *par = stream->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            if (par->codec_id == AV_CODEC_ID_NONE || par->width <= 0 || par->height <= 0
                || !(validRate(stream->avg_frame_rate) || validRate(stream->r_frame_rate)))
                return false;
            usable = true;
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            if (par->codec_id == AV_CODEC_ID_NONE || par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0)
                return false;
            usable = true;
        }
    }
    return usable;
}

void MediaFile::chooseStreams()
{
    AVFormatContext *context = format_.get();
    int bestArea = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        AVStream *stream = context->streams[i];
        const AVCodecParameters *par = stream->codecpar;
        if (par->codec_type != AVMEDIA_TYPE_VIDEO || (stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        if (par->width <= 0 || par->height <= 0 || !avcodec_find_decoder(par->codec_id))
            continue;
        const int area = par->width * par->height;
        if (area > bestArea) {
            bestArea = area;
            video_ = stream;
        }
    }
    const int audioIndex = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1,
                                               video_ ? video_->index : -1, nullptr, 0);
    if (audioIndex >= 0) {
        AVStream *stream = context->streams[audioIndex];
        if (stream->codecpar->sample_rate > 0 && avcodec_find_decoder(stream->codecpar->codec_id))
            audio_ = stream;
    }
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        AVStream *stream = context->streams[i];
        if (stream != video_ && stream != audio_)
            stream->discard = AVDISCARD_ALL;
    }
}

double MediaFile::containerBitRate() const
{
    const AVFormatContext *context = format_.get();
    if (!context)
        return 0;
    if (context->bit_rate > 0)
        return static_cast<double>(context->bit_rate);
    const double seconds = durationSeconds();
    const int64_t size = context->pb ? avio_size(context->pb) : -1;
    return seconds > 0 && size > 0 ? static_cast<double>(size) * 8 / seconds : 0;
}

double MediaFile::durationSeconds() const
{
    const AVFormatContext *context = format_.get();
    if (!context)
        return 0;
    if (measured_ > 0)
        return measured_;
    double seconds = 0;
    if (context->duration > 0 && context->duration != AV_NOPTS_VALUE) {
        seconds = toSeconds(context->duration, AVRational{1, AV_TIME_BASE});
        // Matroska's segment duration counts from the segment's time 0, not from the first frame.
        if (origin_ > 0 && std::strncmp(context->iformat->name, "matroska", 8) == 0)
            seconds -= origin_;
    } else {
        for (const AVStream *stream : {video_, audio_}) {
            if (stream && stream->duration > 0 && stream->duration != AV_NOPTS_VALUE)
                seconds = std::max(seconds, toSeconds(stream->duration, stream->time_base));
        }
    }
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

double MediaFile::frameRate() const
{
    if (!video_)
        return 0;
    if (validRate(video_->avg_frame_rate))
        return av_q2d(video_->avg_frame_rate);
    if (validRate(video_->r_frame_rate))
        return av_q2d(video_->r_frame_rate);
    return 0;
}

double MediaFile::frameDuration() const
{
    const double rate = frameRate();
    return rate > 0 ? 1.0 / rate : 0.04;
}

bool MediaFile::openVideoDecoder(bool seeking)
{
    if (!video_)
        return false;
    const AVCodec *codec = avcodec_find_decoder(video_->codecpar->codec_id);
    if (!codec)
        return false;
    CodecPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder)
        throw std::bad_alloc();
    if (avcodec_parameters_to_context(decoder.get(), video_->codecpar) < 0)
        return false;
    decoder->pkt_timebase = video_->time_base;
    // Seeking: as many threads as FFmpeg picks (one more than the cores). One picture: one thread,
    // since starting threads costs more than they give back on a single frame.
    decoder->thread_count = seeking ? 0 : 1;
    decoder->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return false;
    decoder_ = std::move(decoder);
    packet_ = makePacket();
    scratch_ = makeFrame();
    last_ = makeFrame();
    resetDecodeState();
    return true;
}

void MediaFile::resetDecodeState()
{
    av_frame_unref(last_.get());
    haveLast_ = false;
    inputEnded_ = false;
    decoderDrained_ = false;
}

int64_t MediaFile::toStreamTime(double seconds) const
{
    const double ts = (seconds + origin_) / av_q2d(video_->time_base);
    return static_cast<int64_t>(std::clamp(ts, -9.0e18, 9.0e18));
}

double MediaFile::frameTime(const AVFrame *frame) const
{
    int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE)
        ts = frame->pts;
    if (ts == AV_NOPTS_VALUE || !video_)
        return haveLast_ ? lastTime_ + frameDuration() : seekTarget_;
    return toSeconds(ts, video_->time_base) - origin_;
}

int MediaFile::feedDecoder()
{
    AVPacket *packet = packet_.get();
    for (;;) {
        if (interrupt_.fired())
            return -1;
        if (inputEnded_) {
            avcodec_send_packet(decoder_.get(), nullptr);
            return 0;
        }
        if (av_read_frame(format_.get(), packet) < 0) {
            if (interrupt_.fired())
                return -1;
            inputEnded_ = true;
            continue;
        }
        if (packet->stream_index != video_->index) {
            av_packet_unref(packet);
            continue;
        }
        if (isEncrypted(packet)) {
            encrypted_ = true;
            av_packet_unref(packet);
            return -1;
        }
        // Pictures before the first key frame after a seek lack what they refer to: decoding them
        // costs time and shows nothing. A stream without key frame marks is decoded as it comes.
        if (awaitKey_ && !(packet->flags & AV_PKT_FLAG_KEY) && ++passedOver_ < kMaxPassedOver) {
            av_packet_unref(packet);
            continue;
        }
        awaitKey_ = false;
        jumps_.apply(packet, video_->time_base);
        // Frames that no other frame refers to are not decoded while they lie well before the
        // target; the frame on show and every reference frame still are.
        AVDiscard discard = AVDISCARD_DEFAULT;
        if (packet->pts != AV_NOPTS_VALUE && !(packet->flags & AV_PKT_FLAG_KEY)
            && toSeconds(packet->pts, video_->time_base) - origin_ < skipBefore_)
            discard = AVDISCARD_NONREF;
        decoder_->skip_frame = discard;
        avcodec_send_packet(decoder_.get(), packet);  // a damaged packet is passed over
        av_packet_unref(packet);
        return 0;
    }
}

int MediaFile::nextFrame(AVFrame *frame)
{
    if (decoderDrained_)
        return 0;
    for (;;) {
        if (interrupt_.fired())
            return -1;
        const int result = avcodec_receive_frame(decoder_.get(), frame);
        if (result == 0)
            return 1;
        if (result == AVERROR_EOF || (result != AVERROR(EAGAIN) && inputEnded_)) {
            decoderDrained_ = true;
            return 0;
        }
        if (feedDecoder() < 0)
            return -1;
    }
}

void MediaFile::afterSeek(double seconds)
{
    avcodec_flush_buffers(decoder_.get());
    resetDecodeState();
    jumps_.reset();
    fresh_ = false;
    awaitKey_ = true;
    passedOver_ = 0;
    seekTarget_ = std::max(seconds, 0.0);
}

bool MediaFile::seekToStart()
{
    // A failed seek may have left the demuxer anywhere (the generic search reads ahead). Formats
    // searched by time stamp land after the first key frame even for the first time stamp, and
    // ones whose time stamps jump have no single time for their start: these go to byte 0.
    AVFormatContext *context = format_.get();
    const bool bytes = !(context->iformat->flags & AVFMT_NO_BYTE_SEEK);
    if (bytes && (context->iformat->flags & AVFMT_TS_DISCONT) && av_seek_frame(context, -1, 0, AVSEEK_FLAG_BYTE) >= 0)
        return true;
    int64_t start = std::llround(origin_ * AV_TIME_BASE);
    if (video_ && video_->start_time != AV_NOPTS_VALUE)
        start = std::min(start, av_rescale_q(video_->start_time, video_->time_base, AV_TIME_BASE_Q));
    if (avformat_seek_file(context, -1, INT64_MIN, start, start, 0) >= 0)
        return true;
    return bytes && av_seek_frame(context, -1, 0, AVSEEK_FLAG_BYTE) >= 0;
}

bool MediaFile::rewind()
{
    const bool moved = seekToStart();
    afterSeek(0);
    awaitKey_ = false;  // from the start every picture is decoded, key flags or not
    fresh_ = moved;
    return moved;
}

bool MediaFile::seekBefore(double seconds)
{
    const int64_t ts = toStreamTime(std::max(seconds, 0.0));
    AVFormatContext *context = format_.get();
    int result = avformat_seek_file(context, video_->index, INT64_MIN, ts, ts, 0);
    if (result < 0)
        result = av_seek_frame(context, video_->index, ts, AVSEEK_FLAG_BACKWARD);
    if (result < 0)
        return false;  // the caller decodes from the start, which reaches any time, only later
    afterSeek(seconds);
    return true;
}

bool MediaFile::lateButFirst() const
{
    // A time before the first picture: the first picture is the answer.
    return haveLast_ && lastTime_ <= videoStart_ + tolerance();
}

bool MediaFile::seekKeyFrameAfter(double seconds, double latest)
{
    // With an index, a key frame after the time must be in it: a seek to a time beyond the last
    // one would make the demuxer read through the whole file looking for one. One later than
    // `latest` is not wanted, and the index tells so without reading or decoding it.
    const int64_t ts = toStreamTime(seconds);
    if (avformat_index_get_entries_count(video_) > 0) {
        const int found = av_index_search_timestamp(video_, ts, 0);
        const AVIndexEntry *entry = found >= 0 ? avformat_index_get_entry(video_, found) : nullptr;
        if (!entry || entry->timestamp > toStreamTime(latest))
            return false;
    }
    if (avformat_seek_file(format_.get(), video_->index, ts, ts, INT64_MAX, 0) < 0) {
        rewind();
        return false;
    }
    afterSeek(seconds);
    return true;
}

double MediaFile::tolerance() const
{
    return std::min(frameDuration() / 2, 0.02);
}

bool MediaFile::mayContinueTo(double seconds) const
{
    if (decoderDrained_ || (!haveLast_ && !fresh_))
        return false;
    if (haveLast_ && seconds - tolerance() <= lastTime_)
        return false;
    const int count = avformat_index_get_entries_count(video_);
    if (count > 0) {
        const int key = av_index_search_timestamp(video_, toStreamTime(seconds), AVSEEK_FLAG_BACKWARD);
        if (key < 0)
            return true;  // the target lies before the first key frame the index knows
        const AVIndexEntry *entry = avformat_index_get_entry(video_, key);
        if (!entry)
            return false;
        if (fresh_) {
            const AVIndexEntry *first = avformat_index_get_entry(video_, 0);
            return first && av_index_search_timestamp(video_, first->timestamp, 0) == key;
        }
        return toSeconds(entry->timestamp, video_->time_base) - origin_ <= lastTime_ + kTimeSlack;
    }
    const double position = haveLast_ ? lastTime_ : 0.0;
    return seconds - position < 2.0;
}

MediaFile::Outcome MediaFile::decodeTo(double seconds, AVFrame *out, bool afterSeek)
{
    const double early = tolerance();
    skipBefore_ = seconds - 2 * frameDuration();
    AVFrame *frame = scratch_.get();
    bool any = false;
    for (bool first = afterSeek;; first = false) {
        const int got = nextFrame(frame);
        if (got < 0)
            return Outcome::Failed;
        if (got == 0)
            return any ? Outcome::PastEnd : Outcome::Nothing;
        any = true;
        const double time = frameTime(frame);
        av_frame_unref(last_.get());
        av_frame_move_ref(last_.get(), frame);
        haveLast_ = true;
        lastTime_ = time;
        if (time >= seconds - early) {
            if (av_frame_ref(out, last_.get()) < 0)
                return Outcome::Failed;
            // The seek landed after the target (no key frame marks): the caller seeks earlier.
            return first && time > seconds + early ? Outcome::TooLate : Outcome::Found;
        }
    }
}

bool MediaFile::frameAt(double seconds, AVFrame *out)
{
    if (!decoder_)
        return false;
    av_frame_unref(out);
    if (haveLast_ && std::fabs(lastTime_ - seconds) <= tolerance())
        return av_frame_ref(out, last_.get()) >= 0;

    if (mayContinueTo(seconds))
        return decodeTo(seconds, out, false) == Outcome::Found;

    // A seek by time lands at a key frame at or before the time where the format marks key
    // frames; transport and program streams are searched by decoding time, and the seek may land
    // after the key frame the time needs, or on nothing: each retry goes further back.
    // In a file whose time stamps jump, a time after a jump is no time stamp of the file.
    const bool jumped = measured_ > 0;
    double back = 0;
    for (int attempt = 0; attempt < kMaxSeekRetries && seconds - back > 0 && !jumped; ++attempt) {
        if (!seekBefore(seconds - back))
            break;
        const Outcome outcome = decodeTo(seconds, out, true);
        if (outcome == Outcome::Found || (outcome == Outcome::TooLate && lateButFirst()))
            return true;
        if (outcome == Outcome::Failed)
            return false;
        if (outcome == Outcome::PastEnd)
            return false;  // frames before the time, then the end
        av_frame_unref(out);
        // Key frames of broadcasts lie seconds apart: each retry goes back twice as far and more.
        back = back * 2 + 2;
    }
    // From the first frame of the file every frame is reached.
    if (!rewind())
        return false;
    return decodeTo(seconds, out, false) == Outcome::Found;
}

bool MediaFile::decodeKeyFrameAlone(AVFrame *out)
{
    // The first key frame after the seek point, decoded on its own: with the end of input sent
    // right after it, the decoder gives it out at once instead of waiting for the frames that
    // follow it to settle their display order.
    AVPacket *packet = packet_.get();
    for (int count = 0; count < 1000; ++count) {
        if (interrupt_.fired() || av_read_frame(format_.get(), packet) < 0)
            return false;
        const bool key = packet->stream_index == video_->index && (packet->flags & AV_PKT_FLAG_KEY);
        if (key && isEncrypted(packet)) {
            encrypted_ = true;
            av_packet_unref(packet);
            return false;
        }
        if (key) {
            jumps_.apply(packet, video_->time_base);
            decoder_->skip_frame = AVDISCARD_DEFAULT;
            avcodec_send_packet(decoder_.get(), packet);
            av_packet_unref(packet);
            inputEnded_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            return nextFrame(out) == 1;
        }
        av_packet_unref(packet);
    }
    return false;
}

bool MediaFile::frameNear(double seconds, double slack, AVFrame *out)
{
    if (!decoder_)
        return false;
    av_frame_unref(out);
    if (seconds > 0 && seekKeyFrameAfter(seconds, seconds + slack)) {
        AVFrame *frame = scratch_.get();
        if (decodeKeyFrameAlone(frame)) {
            const double time = frameTime(frame);
            av_frame_move_ref(last_.get(), frame);
            haveLast_ = true;
            lastTime_ = time;
            if (time >= seconds - tolerance() && time <= seconds + slack)
                return av_frame_ref(out, last_.get()) >= 0;
        }
    }
    return frameAt(seconds, out);
}

} // namespace krodec
