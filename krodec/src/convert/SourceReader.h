#pragma once

// The source file: demuxer, the streams a conversion uses and their decoders.

#include "TimeJumps.h"
#include "convert/FfmpegHandles.h"
#include "convert/SourceInput.h"

#include <string>

namespace krodec::convert {

class SourceReader {
public:
    enum class Open { Ok, Unreadable, NoVideo, NoAudio, TrackMissing };

    // Opens the file and the decoders of its main video stream (when wanted) and of
    // its audioTrack-th audio stream. Audio track 0 of a file without audio is no
    // error for video: the output is then silent-free video. A file without a picture
    // opens with its sound only (videoStream() is null); NoVideo means nothing usable at all.
    // Reads end, and open() fails, once a stop is requested.
    Open open(const std::string &path, bool wantVideo, int audioTrack);

    // The source time (microseconds) that becomes time 0 of the output.
    int64_t originOf(double startSeconds) const;
    // Earliest time stamp of the file, microseconds.
    int64_t fileStart() const;
    // Positions the demuxer at a key frame at or before the time (microseconds) and
    // empties the decoders. Files without an index (MPEG transport streams) may land
    // after the key frame; the caller checks the first frame and seeks back further.
    // A time at or before the file's start goes to its first byte where the format
    // is searched by time stamp.
    bool seek(int64_t micros);

    // 0, AVERROR_EOF at the end (read errors count as the end: keep what was read).
    // Jumps of the time stamps of transport and program streams are taken out.
    int read(AVPacket *packet);

    AVFormatContext *format() const { return m_format.get(); }
    AVStream *videoStream() const { return m_videoIndex < 0 ? nullptr : m_format->streams[m_videoIndex]; }
    AVStream *audioStream() const { return m_audioIndex < 0 ? nullptr : m_format->streams[m_audioIndex]; }
    AVCodecContext *videoDecoder() const { return m_videoDecoder.get(); }
    AVCodecContext *audioDecoder() const { return m_audioDecoder.get(); }

private:
    bool openDecoder(int index, CodecHandle &decoder);
    bool timeJumps();

    SourceInput m_input;     // outlives the demuxer that reads through it
    InputHandle m_format;
    int m_videoIndex = -1;
    int m_audioIndex = -1;
    CodecHandle m_videoDecoder;
    CodecHandle m_audioDecoder;
    TimeJumps m_jumps;
    bool m_jumpsKnown = false;
    int m_jumpsFound = -1;   // -1: not looked for yet
};

} // namespace krodec::convert
