#include "convert/Transcoder.h"

#include "convert/ConvertProgress.h"
#include "convert/EncodePlan.h"
#include "convert/SourceRate.h"
#include "convert/FilterChain.h"
#include "convert/OutputFile.h"
#include "convert/OutputWriter.h"
#include "convert/SourceReader.h"
#include "convert/StreamClock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <memory>
#include <optional>

namespace krodec::convert {
namespace {

using Clock = std::chrono::steady_clock;

// Audio held back this long without a picture means the seek went wrong.
constexpr double kMaxHeldSeconds = 10;

// After a stop the encoders get this long to hand out the frames they still hold;
// what is not out by then is dropped so that the call returns promptly.
constexpr auto kStopDrainTime = std::chrono::milliseconds(400);

// One stream of the source on its way to the output.
struct Lane {
    bool video = false;
    AVStream *stream = nullptr;
    AVCodecContext *decoder = nullptr;
    AVCodecContext *encoder = nullptr;
    VideoChain videoChain;
    AudioChain audioChain;
    int64_t origin = 0;              // output time 0, in the stream's time base
    int64_t lastPts = AV_NOPTS_VALUE;
    int64_t frameStep = 1;           // guess for video frames without a time stamp
    int64_t videoEnd = AV_NOPTS_VALUE; // where the last video frame pushed stops showing
    int64_t nextSample = 0;          // guess for audio frames without a time stamp
    StreamClock clock;               // keeps damaged time stamps from opening gaps
    FrameHandle preroll;             // the video frame on screen at the start time
    bool inputEnded = false;
    int64_t encoded = 0;

    FilterChain &chain() { return video ? static_cast<FilterChain &>(videoChain) : audioChain; }
};

class Transcoder {
public:
    Transcoder(const ConvertRequest &request, EncodePlan plan, KrodecWindow *window)
        : m_request(request), m_plan(std::move(plan)), m_window(window)
    {
    }

    int run();

private:
    bool setUp();
    bool pump(bool &stopped);
    bool flushDecoders();
    bool finishInput();
    Lane *leadingLane() const { return m_video ? m_video.get() : m_audio.get(); }
    bool checkSeek(Lane &lane, const AVFrame &frame);
    bool hold(AVFrame *frame);
    bool releaseHeld();
    bool seekBack(bool toBeginning);
    std::unique_ptr<Lane> makeLane(AVStream *stream, AVCodecContext *decoder, AVCodecContext *encoder,
                                   int64_t originMicros);
    Lane *laneFor(int streamIndex);
    bool decode(Lane &lane, const AVPacket *packet);
    bool accept(Lane &lane, AVFrame *frame);
    bool acceptVideo(Lane &lane, AVFrame *frame);
    bool acceptAudio(Lane &lane, AVFrame *frame);
    bool pushVideo(Lane &lane, AVFrame *frame);
    // The time stamp a frame keeps once a damaged one or an unexplained jump is closed up.
    int64_t placed(Lane &lane, int64_t pts, int64_t length);
    // Silence for a gap of the sound, pushed a second at a time so that a stop can end it.
    bool fillSilence(Lane &lane, int64_t from, int64_t to);
    // The frame showing at the start time, held back until the first frame after it is known.
    bool pushPreroll(Lane &lane);
    bool endInput(Lane &lane);
    bool drain(Lane &lane);
    bool encode(Lane &lane, AVFrame *frame);
    bool allInputsEnded() const;
    int64_t durationIn(AVRational timeBase) const;

    const ConvertRequest &m_request;
    EncodePlan m_plan;
    KrodecWindow *m_window;
    SourceReader m_reader;
    std::optional<OutputFile> m_file;
    OutputWriter m_writer;
    std::unique_ptr<Lane> m_video;
    std::unique_ptr<Lane> m_audio;
    FrameHandle m_decoded;
    FrameHandle m_filtered;
    bool m_readyPosted = false;

    // Checking that the seek landed at or before the start: until the leading lane's
    // first frame shows it, the other lane's frames are held back.
    int64_t m_origin = 0;               // microseconds of the source
    bool m_seekChecked = true;
    bool m_seekAgain = false;
    bool m_fromBeginning = false;
    int64_t m_seekBack = 0;             // microseconds before the start of the last try
    std::deque<FrameHandle> m_held;
    double m_heldSeconds = 0;
};

int64_t Transcoder::durationIn(AVRational timeBase) const
{
    if (m_request.durationSeconds <= 0)
        return 0;
    const int64_t micros = std::llround(m_request.durationSeconds * AV_TIME_BASE);
    return av_rescale_q_rnd(micros, AV_TIME_BASE_Q, timeBase, AV_ROUND_UP);
}

bool Transcoder::setUp()
{
    if (m_reader.open(m_request.sourcePath, m_plan.video.has_value(), m_request.audioTrack) != SourceReader::Open::Ok)
        return false;
    // Sound without a picture is sound only on every device: the MP4 holds the AAC track alone.
    if (!m_reader.videoStream())
        m_plan.video.reset();
    // "Source": the plan takes the rate of the stream just opened, read once and in this call,
    // so a source that can be read only once (a pipe) is not consumed by a look ahead.
    if (m_request.sourceFrameRate && m_plan.video) {
        ConvertRequest rated = m_request;
        rated.frameRate = sourceFrameRate(m_reader.format(), m_reader.videoStream());
        auto plan = planConversion(rated);
        if (!plan)
            return false;
        m_plan = std::move(*plan);
    }
    const bool wantVideo = m_plan.video.has_value();
    auto reserved = OutputFile::reserve(m_request.destPath, m_request.sourcePath);
    if (!reserved)
        return false;
    m_file.emplace(std::move(*reserved));
    const bool withAudio = m_reader.audioStream() != nullptr;
    const Tags tags{m_request.title, m_request.artist, m_request.album};
    if (!m_writer.open(m_plan, withAudio, m_file->tempPath(), tags))
        return false;
    m_decoded.reset(av_frame_alloc());
    m_filtered.reset(av_frame_alloc());
    if (!m_decoded || !m_filtered)
        return false;

    m_origin = m_reader.originOf(m_request.startSeconds);
    if (m_request.startSeconds > 0) {
        // A source that cannot seek is read from its start; frames before are dropped.
        m_reader.seek(m_origin);
        m_seekChecked = false;
    }
    if (wantVideo)
        m_video = makeLane(m_reader.videoStream(), m_reader.videoDecoder(), m_writer.videoEncoder(), m_origin);
    if (withAudio)
        m_audio = makeLane(m_reader.audioStream(), m_reader.audioDecoder(), m_writer.audioEncoder(), m_origin);
    return true;
}

std::unique_ptr<Lane> Transcoder::makeLane(AVStream *stream, AVCodecContext *decoder,
                                           AVCodecContext *encoder, int64_t originMicros)
{
    auto lane = std::make_unique<Lane>();
    lane->video = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    lane->stream = stream;
    lane->decoder = decoder;
    lane->encoder = encoder;
    lane->origin = av_rescale_q(originMicros, AV_TIME_BASE_Q, stream->time_base);
    lane->clock = StreamClock(stream->time_base);
    if (lane->video) {
        const AVRational rate = av_guess_frame_rate(m_reader.format(), stream, nullptr);
        if (rate.num > 0 && rate.den > 0)
            lane->frameStep = std::max<int64_t>(1, av_rescale_q(1, av_inv_q(rate), stream->time_base));
    }
    return lane;
}

Lane *Transcoder::laneFor(int streamIndex)
{
    for (Lane *lane : {m_video.get(), m_audio.get()}) {
        if (lane && lane->stream->index == streamIndex)
            return lane;
    }
    return nullptr;
}

bool Transcoder::allInputsEnded() const
{
    return (!m_video || m_video->inputEnded) && (!m_audio || m_audio->inputEnded);
}

// Broken packets are skipped, as a player would; only a failure further on is fatal.
bool Transcoder::decode(Lane &lane, const AVPacket *packet)
{
    if (avcodec_send_packet(lane.decoder, packet) < 0 && packet)
        return true;
    while (!progress::stopRequested()) {
        const int received = avcodec_receive_frame(lane.decoder, m_decoded.get());
        if (received < 0)
            return true;
        const bool ok = lane.inputEnded || accept(lane, m_decoded.get());
        av_frame_unref(m_decoded.get());
        if (!ok)
            return false;
    }
    return true;
}

bool Transcoder::accept(Lane &lane, AVFrame *frame)
{
    if (m_seekAgain)
        return true;   // everything up to the next seek is thrown away
    if (!m_seekChecked) {
        if (&lane != leadingLane())
            return hold(frame);
        if (!checkSeek(lane, *frame))
            return true;
    }
    const bool ok = lane.video ? acceptVideo(lane, frame) : acceptAudio(lane, frame);
    return ok && releaseHeld();
}

bool Transcoder::checkSeek(Lane &lane, const AVFrame &frame)
{
    const int64_t pts = frame.best_effort_timestamp;
    const int64_t late = pts == AV_NOPTS_VALUE
                             ? 0
                             : av_rescale_q(pts, lane.stream->time_base, AV_TIME_BASE_Q) - m_origin;
    const int64_t tolerance = lane.video ? av_rescale_q(lane.frameStep, lane.stream->time_base, AV_TIME_BASE_Q) + 1000
                                         : AV_TIME_BASE / 10;
    if (late <= tolerance || m_fromBeginning) {
        m_seekChecked = true;
        return true;
    }
    m_seekAgain = true;
    return false;
}

bool Transcoder::hold(AVFrame *frame)
{
    FrameHandle held(av_frame_alloc());
    if (!held)
        return false;
    av_frame_move_ref(held.get(), frame);
    if (held->sample_rate > 0)
        m_heldSeconds += static_cast<double>(held->nb_samples) / held->sample_rate;
    m_held.push_back(std::move(held));
    if (m_heldSeconds > kMaxHeldSeconds) {
        if (!m_fromBeginning)
            m_seekAgain = true;
        else
            m_seekChecked = true;
    }
    return releaseHeld();
}

bool Transcoder::releaseHeld()
{
    if (!m_seekChecked)
        return true;
    while (!m_held.empty()) {
        FrameHandle frame = std::move(m_held.front());
        m_held.pop_front();
        if (m_audio && !m_audio->inputEnded && !acceptAudio(*m_audio, frame.get()))
            return false;
    }
    m_heldSeconds = 0;
    return true;
}

// The last seek landed after the start: try again further back, in the end from the
// beginning of the file, which always works.
bool Transcoder::seekBack(bool toBeginning)
{
    m_seekBack = m_seekBack == 0 ? AV_TIME_BASE : m_seekBack * 2;
    int64_t target = m_origin - m_seekBack;
    if (toBeginning || target <= m_reader.fileStart()) {
        target = m_reader.fileStart();
        m_fromBeginning = true;
    }
    const bool moved = m_reader.seek(target);
    m_held.clear();
    m_heldSeconds = 0;
    m_seekAgain = false;
    m_seekChecked = !moved;   // a file that cannot seek back is taken as it comes
    for (Lane *lane : {m_video.get(), m_audio.get()}) {
        if (lane) {
            lane->preroll.reset();
            lane->lastPts = AV_NOPTS_VALUE;
            lane->nextSample = 0;
            lane->clock.reset();
        }
    }
    return moved;
}

bool Transcoder::acceptVideo(Lane &lane, AVFrame *frame)
{
    int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE)
        pts = lane.lastPts == AV_NOPTS_VALUE ? lane.origin : lane.lastPts + lane.frameStep;
    pts = placed(lane, pts, frame->pkt_duration > 0 ? frame->pkt_duration : lane.frameStep);
    lane.lastPts = pts;
    const int64_t relative = pts - lane.origin;
    const int64_t end = durationIn(lane.stream->time_base);
    if (end > 0 && relative >= end) {
        if (!pushPreroll(lane))
            return false;
        lane.videoEnd = end;
        return endInput(lane);
    }
    frame->pts = relative;
    if (relative < 0) {
        // Keep only the latest frame before the start: it is the one showing at time 0.
        if (!lane.preroll)
            lane.preroll.reset(av_frame_alloc());
        if (!lane.preroll)
            return false;
        av_frame_unref(lane.preroll.get());
        av_frame_move_ref(lane.preroll.get(), frame);
        return true;
    }
    if (relative > 0 && !pushPreroll(lane))
        return false;
    lane.preroll.reset();
    return pushVideo(lane, frame);
}

bool Transcoder::pushPreroll(Lane &lane)
{
    if (!lane.preroll)
        return true;
    const FrameHandle preroll = std::move(lane.preroll);
    return pushVideo(lane, preroll.get());
}

bool Transcoder::pushVideo(Lane &lane, AVFrame *frame)
{
    if (!lane.videoChain.configured()) {
        const int64_t frames = m_request.durationSeconds > 0
                                   ? durationIn({m_plan.video->frameRate.den, m_plan.video->frameRate.num})
                                   : 0;
        if (!lane.videoChain.configure(*frame, lane.stream->time_base, *m_plan.video, frames))
            return false;
    }
    // A damaged duration must not make the rate filter repeat the last frame for hours.
    const int64_t longest = av_rescale_q(10, {1, 1}, lane.stream->time_base);
    const int64_t shows = frame->pkt_duration > 0 ? std::min(frame->pkt_duration, longest) : lane.frameStep;
    const int64_t stops = frame->pts + shows;
    lane.videoEnd = lane.videoEnd == AV_NOPTS_VALUE ? stops : std::max(lane.videoEnd, stops);
    return lane.videoChain.push(frame) && drain(lane);
}

bool Transcoder::acceptAudio(Lane &lane, AVFrame *frame)
{
    if (frame->sample_rate <= 0 || frame->nb_samples <= 0)
        return true;
    if (!lane.audioChain.configured()) {
        const int64_t samples = durationIn({1, lane.encoder->sample_rate});
        if (!lane.audioChain.configure(*frame, *lane.encoder, m_request.volumeDb, samples))
            return false;
    }
    const int rate = lane.audioChain.inputRate();
    int64_t pts = frame->best_effort_timestamp;
    if (pts != AV_NOPTS_VALUE)
        pts = placed(lane, pts, av_rescale_q(frame->nb_samples, {1, frame->sample_rate}, lane.stream->time_base));
    const int64_t start = pts == AV_NOPTS_VALUE
                              ? lane.nextSample
                              : av_rescale_q(pts - lane.origin, lane.stream->time_base, {1, rate});
    const int64_t length = av_rescale(frame->nb_samples, rate, frame->sample_rate);
    const int64_t filledTo = std::max<int64_t>(lane.nextSample, 0);
    lane.nextSample = start + length;
    const int64_t end = durationIn({1, rate});
    if (end > 0 && start >= end)
        return endInput(lane);
    // The resampler fills short gaps itself, but all at once.
    if (start - filledTo > rate) {
        if (!fillSilence(lane, filledTo, start))
            return false;
        if (progress::stopRequested())
            return true;   // the rest of the gap would be filled at once
    }
    if (start + length <= 0)
        return true;
    frame->pts = start;
    return lane.audioChain.pushAudio(frame) && drain(lane);
}

int64_t Transcoder::placed(Lane &lane, int64_t pts, int64_t length)
{
    const Lane *other = &lane == m_video.get() ? m_audio.get() : m_video.get();
    const AVFormatContext *format = m_reader.format();
    const int64_t sourceEnd = format->duration > 0 ? m_reader.fileStart() + format->duration : AV_NOPTS_VALUE;
    return lane.clock.place(pts, length, other ? &other->clock : nullptr, sourceEnd);
}

bool Transcoder::fillSilence(Lane &lane, int64_t from, int64_t to)
{
    const int rate = lane.audioChain.inputRate();
    for (int64_t at = from; at < to && !lane.inputEnded && !progress::stopRequested();) {
        const int count = static_cast<int>(std::min<int64_t>(to - at, rate));
        FrameHandle silence = lane.audioChain.silence(count);
        if (!silence)
            return false;
        silence->pts = at;
        if (!lane.audioChain.pushAudio(silence.get()) || !drain(lane))
            return false;
        at += count;
    }
    return true;
}

bool Transcoder::endInput(Lane &lane)
{
    if (lane.inputEnded)
        return true;
    // A start inside the source's last frame: that frame is the whole output.
    if (lane.video && !pushPreroll(lane))
        return false;
    lane.inputEnded = true;
    const bool ended = lane.video && lane.videoEnd != AV_NOPTS_VALUE ? lane.videoChain.endAt(lane.videoEnd)
                                                                     : lane.chain().push(nullptr);
    return ended && drain(lane);
}

// A stop leaves what the filters still hold: the call must return promptly.
bool Transcoder::drain(Lane &lane)
{
    while (!progress::stopRequested()) {
        const int pulled = lane.chain().pull(m_filtered.get());
        if (pulled == AVERROR(EAGAIN))
            return true;
        if (pulled == AVERROR_EOF) {
            // A cut at the duration ends the graph before the source ends.
            lane.inputEnded = true;
            return true;
        }
        if (pulled < 0)
            return false;
        const bool ok = encode(lane, m_filtered.get());
        av_frame_unref(m_filtered.get());
        if (!ok)
            return false;
    }
    return true;
}

bool Transcoder::encode(Lane &lane, AVFrame *frame)
{
    frame->pts = av_rescale_q(frame->pts, lane.chain().outputTimeBase(), lane.encoder->time_base);
    // Frame types left over from decoding would force key frames where the source had them.
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    if (!m_writer.encode(lane.encoder, frame))
        return false;
    ++lane.encoded;
    if (!m_readyPosted) {
        m_readyPosted = true;
        if (m_window && m_window->post)
            m_window->post(m_window, KRODEC_MSG_READY, 0, 0);
    }
    // Progress counts the picture; music counts its audio frames. Sound running ahead of a
    // picture that does not come moves it too.
    const double seconds = static_cast<double>(frame->pts) * av_q2d(lane.encoder->time_base);
    if (lane.video || !m_video)
        progress::frameEncoded(seconds, lane.encoded);
    else
        progress::soundEncoded(seconds, av_q2d(m_video->encoder->framerate));
    return true;
}

// Reads and converts until every lane has what it needs, the file ends or a stop
// comes. False on a failure.
bool Transcoder::pump(bool &stopped)
{
    PacketHandle packet(av_packet_alloc());
    if (!packet)
        return false;
    while (!allInputsEnded()) {
        if (progress::stopRequested()) {
            stopped = true;
            return true;
        }
        if (m_reader.read(packet.get()) < 0) {
            stopped = progress::stopRequested();   // a stop ends a read that waits
            return true;
        }
        Lane *lane = laneFor(packet->stream_index);
        const bool ok = !lane || lane->inputEnded || decode(*lane, packet.get());
        av_packet_unref(packet.get());
        if (!ok)
            return false;
        if (m_seekAgain)
            seekBack(false);
    }
    return true;
}

bool Transcoder::flushDecoders()
{
    for (Lane *lane : {m_video.get(), m_audio.get()}) {
        if (lane && !lane->inputEnded && !decode(*lane, nullptr))
            return false;
    }
    return true;
}

bool Transcoder::finishInput()
{
    for (Lane *lane : {m_video.get(), m_audio.get()}) {
        if (lane && !endInput(*lane))
            return false;
    }
    return true;
}

int Transcoder::run()
{
    // A stop while the source opens ends the call with nothing to keep.
    if (!setUp())
        return progress::stopRequested() ? 0 : -1;
    bool stopped = false;
    for (;;) {
        if (!pump(stopped))
            return -1;
        // After a stop the frames still inside the decoders are not wanted.
        if (stopped)
            break;
        if (!flushDecoders())
            return -1;
        if (m_seekAgain || (!m_seekChecked && !m_fromBeginning)) {
            // No frame at all since the seek: the start is searched from the beginning.
            seekBack(!m_seekAgain);
            continue;
        }
        m_seekChecked = true;
        if (!releaseHeld())
            return -1;
        break;
    }
    if (!finishInput())
        return -1;
    const Clock::time_point deadline = stopped ? Clock::now() + kStopDrainTime : Clock::time_point::max();
    for (Lane *lane : {m_video.get(), m_audio.get()}) {
        if (lane && !m_writer.flush(lane->encoder, deadline))
            return -1;
    }
    // Nothing of the leading stream came out: the start lies past the end, the picture
    // does not decode, or a stop came first.
    const Lane *leading = leadingLane();
    if (!leading || leading->encoded == 0)
        return stopped ? 0 : -1;
    if (!m_writer.finish() || !m_file->commit())
        return -1;
    return 0;
}

} // namespace

int runConversion(const ConvertRequest &request, KrodecWindow *window)
{
    const auto plan = planConversion(request);
    if (!plan)
        return -1;
    Transcoder transcoder(request, *plan, window);
    return transcoder.run();
}

} // namespace krodec::convert
