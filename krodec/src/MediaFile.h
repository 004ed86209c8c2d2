// One opened media file: its demuxer, its chosen video and audio streams, and a video decoder
// that can deliver the frame on show at any time of the file.
#pragma once

#include "Ffmpeg.h"
#include "TimeJumps.h"

#include <atomic>
#include <chrono>
#include <string>

namespace krodec {

// Seconds of a time stamp.
inline double toSeconds(int64_t ts, AVRational base)
{
    return static_cast<double>(ts) * av_q2d(base);
}

// Packets of tracks encrypted for a store's player carry the keys' names; no decoder can read them.
inline bool isEncrypted(const AVPacket *packet)
{
    return av_packet_get_side_data(packet, AV_PKT_DATA_ENCRYPTION_INFO, nullptr) != nullptr;
}

// The demuxer's interrupt callback: blocking reads end once the deadline has passed or the
// cancel flag is set, so a damaged or slow file cannot hold a call for longer than its budget.
class Interrupt {
public:
    void arm(std::chrono::milliseconds budget);
    void setCancelFlag(const std::atomic<bool> *cancel) { cancel_ = cancel; }
    bool fired() const;
    AVIOInterruptCB callback();

private:
    static int check(void *self);
    const std::atomic<bool> *cancel_ = nullptr;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
};

class MediaFile {
public:
    MediaFile() = default;
    MediaFile(const MediaFile &) = delete;
    MediaFile &operator=(const MediaFile &) = delete;

    Interrupt &interrupt() { return interrupt_; }

    // Opens and analyses a regular file (UTF-8 path). False when it is not a readable media file
    // with at least one audio or video stream that FFmpeg has a decoder for.
    bool open(const std::string &path);

    AVFormatContext *format() const { return format_.get(); }
    AVStream *video() const { return video_; }
    AVStream *audio() const { return audio_; }

    // Seconds of the file from its start time (0 when not known) and the nominal frame rate (0 when
    // not known).
    double durationSeconds() const;
    // For files whose time stamps may jump (transport and program streams): looks for jumps and,
    // when there are some, takes the length without them. Leaves the demuxer anywhere.
    void measureLength();
    // Second 0 of the file: the container's start time, in seconds of the time stamps.
    double origin() const { return origin_; }
    // Overall bit rate of the file in bit/s (0 when not known).
    double containerBitRate() const;
    double frameRate() const;

    // Opens the decoder of the video stream. A seeking decoder uses frame and slice threads
    // (throughput over many frames); a one-picture decoder runs on the calling thread.
    bool openVideoDecoder(bool seeking);

    // Decodes the frame at `seconds` from the start of the file into `out`: the first frame that
    // starts at that time or later (half a frame early counts), as a conversion from that time
    // would begin. Goes on decoding from the current position when no key frame lies between it
    // and the target, else seeks to the key frame before the target; where a seek by time lands
    // after it (formats searched by time stamp, not by key frame), further back, in the end from
    // the first byte. False when there is no such frame (past the end), on decoding failure,
    // timeout or cancel.
    bool frameAt(double seconds, AVFrame *out);

    // Decodes a frame near `seconds` quickly: the first key frame at or after it when one follows
    // within `slack` seconds, else the accurate frame; from the start when the file cannot seek.
    bool frameNear(double seconds, double slack, AVFrame *out);

    // Time of a decoded frame in seconds from the start of the file.
    double frameTime(const AVFrame *frame) const;

    // True once a packet of the video stream was found encrypted: its pictures cannot be shown.
    bool videoEncrypted() const { return encrypted_; }

    // True when the audio stream gives a sound frame that decodes without error within its first
    // `seconds`; false for encrypted sound and a stream without packets. Reads from the start.
    bool audioDecodes(double seconds);

    // Reads up to `seconds` of packets from the current position and returns the bit rates in
    // bit/s seen for the video and audio streams (0 when a stream had no packets).
    void sampleBitRates(double seconds, double &videoRate, double &audioRate);

private:
    // Nothing: no frame at all came; PastEnd: frames before the time, then the end.
    enum class Outcome { Found, TooLate, Nothing, PastEnd, Failed };
    Outcome decodeTo(double seconds, AVFrame *out, bool afterSeek);
    int nextFrame(AVFrame *frame);
    bool decodeKeyFrameAlone(AVFrame *out);
    int feedDecoder();
    bool seekBefore(double seconds);
    bool lateButFirst() const;
    void findOrigin();
    bool rewind();
    bool seekToStart();
    void afterSeek(double seconds);
    bool seekKeyFrameAfter(double seconds, double latest);
    bool mayContinueTo(double seconds) const;
    bool headerIsComplete() const;
    void chooseStreams();
    double tolerance() const;
    void resetDecodeState();
    int64_t toStreamTime(double seconds) const;
    double frameDuration() const;

    Interrupt interrupt_;
    FormatPtr format_;
    AVStream *video_ = nullptr;
    AVStream *audio_ = nullptr;
    double origin_ = 0;          // container start time in seconds
    double videoStart_ = 0;      // time of the first video frame, from the start of the file
    TimeJumps jumps_;
    double measured_ = 0;        // length without the jumps of the time stamps, when they jump
    CodecPtr decoder_;
    PacketPtr packet_;
    FramePtr scratch_;
    FramePtr last_;              // the latest frame consumed: where the decoder stands
    bool haveLast_ = false;
    double lastTime_ = 0;
    double seekTarget_ = 0;      // time of the last seek, for frames without time stamps
    double skipBefore_ = 0;      // frames before this time need not be shown
    bool fresh_ = true;          // nothing was read since the file was opened
    bool inputEnded_ = false;    // the demuxer reached the end and the decoder was drained
    bool decoderDrained_ = false;
    bool encrypted_ = false;
    bool awaitKey_ = false;      // a seek went by time: packets up to the next key frame are passed over
    int passedOver_ = 0;
};

} // namespace krodec
