#pragma once

// Encoders and muxer of the destination file.

#include "convert/EncodePlan.h"
#include "convert/FfmpegHandles.h"

#include <chrono>
#include <string>

namespace krodec::convert {

struct Tags {
    std::string title;
    std::string artist;
    std::string album;
};

class OutputWriter {
public:
    OutputWriter() = default;
    OutputWriter(const OutputWriter &) = delete;
    OutputWriter &operator=(const OutputWriter &) = delete;
    ~OutputWriter();

    // Opens the encoders the plan names (audio only when the source has sound) and
    // writes the file header.
    bool open(const EncodePlan &plan, bool withAudio, const std::string &path, const Tags &tags);

    AVCodecContext *videoEncoder() const { return m_video.get(); }
    AVCodecContext *audioEncoder() const { return m_audio.get(); }

    // Encodes one frame (pts in the encoder's time base) and writes what comes out.
    bool encode(AVCodecContext *encoder, AVFrame *frame);
    // Drains an encoder; gives up on the frames still inside once the deadline passes
    // (a stop must not wait for a long look-ahead).
    bool flush(AVCodecContext *encoder, std::chrono::steady_clock::time_point deadline);
    // Writes the index and closes the file.
    bool finish();

private:
    bool openVideo(const VideoPlan &plan);
    bool openAudio(const AudioPlan &plan);
    bool addStream(AVCodecContext *encoder);
    // 0 when a packet was written, else the encoder's or the muxer's error code.
    int writeOnePacket(AVCodecContext *encoder);

    AVFormatContext *m_format = nullptr;
    CodecHandle m_video;
    CodecHandle m_audio;
    PacketHandle m_packet;
    int m_videoIndex = -1;
    int m_audioIndex = -1;
    bool m_headerWritten = false;
    bool m_finished = false;
};

} // namespace krodec::convert
