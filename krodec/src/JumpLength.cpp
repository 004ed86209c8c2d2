#include "JumpLength.h"

#include "MediaFile.h"
#include "TimeJumps.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace krodec {

namespace {

constexpr int kMarks = 16;                     // places looked at, spread over the file
constexpr int64_t kTailBytes = 1 << 20;        // read through to the end from here
constexpr int64_t kReadThroughBytes = 4 << 20; // a stretch this short is read packet by packet
constexpr int kPacketsPerMark = 400;
constexpr int64_t kSlack = 10 * AV_TIME_BASE;  // as the jumps themselves
constexpr double kUneven = 0.35;               // share of the length a varying bit rate may shift a time

// The decoding time (microseconds, as stored) of the reference stream's first packet at or after a
// byte position, and where that packet lies.
struct Mark {
    int64_t pos = 0;
    int64_t time = AV_NOPTS_VALUE;
};

int64_t packetTime(const AVPacket *packet, AVRational timeBase)
{
    const int64_t ts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    return ts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : av_rescale_q(ts, timeBase, AV_TIME_BASE_Q);
}

class Walker {
public:
    Walker(AVFormatContext *format, const AVStream *reference, const Interrupt &interrupt)
        : format_(format), reference_(reference), interrupt_(interrupt), packet_(makePacket())
    {
    }

    Mark markAt(int64_t pos)
    {
        Mark mark;
        if (av_seek_frame(format_, -1, pos, AVSEEK_FLAG_BYTE) < 0)
            return mark;
        AVPacket *packet = packet_.get();
        for (int count = 0; count < kPacketsPerMark && !interrupt_.fired(); ++count) {
            if (av_read_frame(format_, packet) < 0)
                break;
            const int64_t time = packet->stream_index == reference_->index
                                     ? packetTime(packet, reference_->time_base) : AV_NOPTS_VALUE;
            const int64_t at = packet->pos >= 0 ? packet->pos : pos;
            av_packet_unref(packet);
            if (time != AV_NOPTS_VALUE) {
                mark.pos = at;
                mark.time = time;
                break;
            }
        }
        return mark;
    }

    // Microseconds the time runs from mark `a` to mark `b` with the jumps between taken out;
    // AV_NOPTS_VALUE when it cannot be told. With `b` at the end of the file, to the end of the
    // last packet of any stream.
    int64_t readThrough(const Mark &a, const Mark *b)
    {
        if (av_seek_frame(format_, -1, a.pos, AVSEEK_FLAG_BYTE) < 0)
            return AV_NOPTS_VALUE;
        TimeJumps jumps(format_);
        AVPacket *packet = packet_.get();
        int64_t end = AV_NOPTS_VALUE;
        while (!interrupt_.fired() && av_read_frame(format_, packet) >= 0) {
            const AVStream *stream = format_->streams[packet->stream_index];
            jumps.apply(packet, stream->time_base);
            const int64_t time = packetTime(packet, stream->time_base);
            const bool reference = packet->stream_index == reference_->index && time != AV_NOPTS_VALUE;
            if (b && reference && packet->pos >= b->pos) {
                av_packet_unref(packet);
                return time - a.time;
            }
            if (!b && packet->pts != AV_NOPTS_VALUE) {
                const int64_t stop = av_rescale_q(packet->pts + std::max<int64_t>(packet->duration, 0),
                                                  stream->time_base, AV_TIME_BASE_Q);
                end = end == AV_NOPTS_VALUE ? stop : std::max(end, stop);
            }
            av_packet_unref(packet);
        }
        return !b && end != AV_NOPTS_VALUE && !interrupt_.fired() ? end - a.time : AV_NOPTS_VALUE;
    }

    // The run from `a` to `b`: as the time stamps say where they run on at about the file's pace,
    // else found by halving the stretch until it is short enough to read through.
    int64_t advance(const Mark &a, const Mark &b, double microsPerByte, int depth, bool &jumped)
    {
        const int64_t told = b.time - a.time;
        const double expected = static_cast<double>(b.pos - a.pos) * microsPerByte;
        if (told >= 0 && static_cast<double>(told) <= 2 * expected + kSlack)
            return told;
        if (b.pos - a.pos <= kReadThroughBytes || depth >= 12) {
            const int64_t run = readThrough(a, &b);
            if (run == AV_NOPTS_VALUE)
                return told;
            jumped = jumped || run != told;
            return run;
        }
        const Mark middle = markAt(a.pos + (b.pos - a.pos) / 2);
        if (middle.time == AV_NOPTS_VALUE || middle.pos <= a.pos || middle.pos >= b.pos) {
            const int64_t run = readThrough(a, &b);
            jumped = jumped || (run != AV_NOPTS_VALUE && run != told);
            return run == AV_NOPTS_VALUE ? told : run;
        }
        return advance(a, middle, microsPerByte, depth + 1, jumped)
               + advance(middle, b, microsPerByte, depth + 1, jumped);
    }

private:
    AVFormatContext *format_;
    const AVStream *reference_;
    const Interrupt &interrupt_;
    PacketPtr packet_;
};

// A quick look first: the time stamps at a quarter, half and three quarters of the file run in
// order and lie about where the demuxer's start and length put them. A jump makes them leave that
// line by half its size or run backward; only then are the time stamps looked at closely.
bool runsEvenly(Walker &walker, const AVFormatContext *format, int64_t size)
{
    if (format->duration <= 0 || format->duration == AV_NOPTS_VALUE || format->start_time == AV_NOPTS_VALUE)
        return false;
    const double start = static_cast<double>(format->start_time);
    const double length = static_cast<double>(format->duration);
    int64_t previous = INT64_MIN;
    for (int quarter = 1; quarter <= 3; ++quarter) {
        const Mark mark = walker.markAt(size * quarter / 4);
        if (mark.time == AV_NOPTS_VALUE || mark.time < previous)
            return false;
        const double expected = start + length * static_cast<double>(mark.pos) / static_cast<double>(size);
        if (std::fabs(static_cast<double>(mark.time) - expected) > kSlack + kUneven * length)
            return false;
        previous = mark.time;
    }
    return true;
}

} // namespace

double lengthWithoutJumps(AVFormatContext *format, const AVStream *reference, double origin,
                          const Interrupt &interrupt)
{
    if (!format || !reference || !format->pb || (format->iformat->flags & AVFMT_NO_BYTE_SEEK))
        return -1;
    const int64_t size = avio_size(format->pb);
    if (size <= 0)
        return -1;
    Walker walker(format, reference, interrupt);
    if (runsEvenly(walker, format, size))
        return -1;
    std::vector<Mark> marks;
    std::vector<int64_t> places;
    for (int i = 0; i < kMarks; ++i)
        places.push_back(size * i / kMarks);
    places.push_back(std::max<int64_t>(0, size - kTailBytes));
    std::sort(places.begin(), places.end());
    for (const int64_t place : places) {
        const Mark mark = walker.markAt(place);
        if (mark.time != AV_NOPTS_VALUE && (marks.empty() || mark.pos > marks.back().pos))
            marks.push_back(mark);
    }
    if (marks.empty() || interrupt.fired())
        return -1;

    // The file's pace: the middle of the rates of the stretches that run forward.
    std::vector<double> rates;
    for (size_t i = 1; i < marks.size(); ++i) {
        const int64_t told = marks[i].time - marks[i - 1].time;
        if (told >= 0 && marks[i].pos > marks[i - 1].pos)
            rates.push_back(static_cast<double>(told) / static_cast<double>(marks[i].pos - marks[i - 1].pos));
    }
    double microsPerByte = 0;
    if (!rates.empty()) {
        std::nth_element(rates.begin(), rates.begin() + rates.size() / 2, rates.end());
        microsPerByte = rates[rates.size() / 2];
    }
    bool jumped = false;
    int64_t total = 0;
    for (size_t i = 1; i < marks.size(); ++i)
        total += walker.advance(marks[i - 1], marks[i], microsPerByte, 0, jumped);
    if (!jumped || interrupt.fired())
        return -1;
    const int64_t tail = walker.readThrough(marks.back(), nullptr);
    if (tail == AV_NOPTS_VALUE)
        return -1;
    const double first = static_cast<double>(marks.front().time) / AV_TIME_BASE;
    const double seconds = first - origin + static_cast<double>(total + tail) / AV_TIME_BASE;
    return std::isfinite(seconds) && seconds > 0 ? seconds : -1;
}

} // namespace krodec
