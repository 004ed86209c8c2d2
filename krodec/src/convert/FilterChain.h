#pragma once

// One libavfilter graph per stream kind, built on the first decoded frame so it
// starts from the frame's real format rather than the container's claims.
//
// Frames go in with time stamps relative to the output's time 0 (negative for the
// frames decoded before the start time); the graphs trim, fill and time them so
// that both streams start at 0 and run at the output's rate.

#include "convert/EncodePlan.h"
#include "convert/FfmpegHandles.h"

#include <string>

namespace krodec::convert {

class FilterChain {
public:
    bool configured() const { return m_graph != nullptr; }
    // Takes the frame's reference; a null frame ends the input.
    bool push(AVFrame *frame);
    // Ends the input at `pts` (input time base): the time the last frame stops showing, so that
    // a rate change keeps that frame for its whole duration.
    bool endAt(int64_t pts);
    // 0 with a frame, AVERROR(EAGAIN) when more input is needed, AVERROR_EOF at the end.
    int pull(AVFrame *frame);
    AVRational outputTimeBase() const;

protected:
    bool build(const char *sourceName, const std::string &sourceArgs, const std::string &description);

    GraphHandle m_graph;
    AVFilterContext *m_source = nullptr;
    AVFilterContext *m_sink = nullptr;
    bool m_closed = false;
};

class VideoChain : public FilterChain {
public:
    // frameCount > 0 cuts the output after that many frames.
    bool configure(const AVFrame &first, AVRational timeBase, const VideoPlan &plan, int64_t frameCount);
};

class AudioChain : public FilterChain {
public:
    AudioChain() = default;
    AudioChain(const AudioChain &) = delete;
    AudioChain &operator=(const AudioChain &) = delete;
    ~AudioChain();

    // sampleCount > 0 cuts the output after that many samples.
    bool configure(const AVFrame &first, const AVCodecContext &encoder, double volumeDb,
                   int64_t sampleCount);
    int inputRate() const { return m_rate; }
    // Pushes a frame whose pts counts samples at inputRate(), whatever the frame's own
    // rate. Frames whose format
    // differs from the first frame's (a broadcast switching to 5.1) are converted
    // to it first, since the graph cannot change its input on the fly.
    bool pushAudio(AVFrame *frame);
    // A frame of `samples` samples of silence in the input's format (empty when out of memory).
    FrameHandle silence(int samples) const;

private:
    bool sameFormat(const AVFrame &frame) const;
    bool makeAdapter(const AVFrame &frame);

    int m_rate = 0;
    AVSampleFormat m_format = AV_SAMPLE_FMT_NONE;
    AVChannelLayout m_layout{};
    SwrHandle m_adapter;
    FrameHandle m_adapted;
};

} // namespace krodec::convert
