#pragma once

// What a conversion call asks for, read from the texts the program hands over.
// Reading is tolerant about blanks and case but refuses anything that is not a
// plain value of the expected kind: a refused text makes the call return -1.

#include <optional>
#include <string>
#include <string_view>

namespace krodec::convert {

enum class Device { IPod, IPodMusic, IPhone, AppleTV };
enum class VideoCodec { H264, Mpeg4 };
enum class FileFormat { IPod, Mp4 };

struct Size {
    int width = 0;
    int height = 0;
};

struct Rational {
    int num = 0;
    int den = 1;
};

struct ConvertRequest {
    Device device = Device::IPod;
    std::string sourcePath;
    std::string destPath;
    double startSeconds = 0;
    double durationSeconds = 0;   // 0: to the end of the source
    int audioTrack = 0;           // position among the source's audio streams
    int sampleRate = 0;           // Hz
    int audioKbps = 0;
    double volumeDb = 0;
    std::string title;
    std::string artist;
    std::string album;

    // Video devices only.
    VideoCodec videoCodec = VideoCodec::H264;
    FileFormat fileFormat = FileFormat::Mp4;
    int videoKbps = 0;
    Size picture;                 // the source scaled to this...
    Size frame;                   // ...centred in a black frame of this size
    Rational frameRate;
    bool sourceFrameRate = false; // "source": frameRate is filled in from the source file
};

// The texts of the three video functions, in the order of their parameters.
struct VideoArgs {
    const char *sourcePath, *sourceNumber, *startTime, *sampleRate, *aspect, *videoFormat,
        *fileFormat, *videoBitRate, *audioBitRate, *pictureSize, *frameSize, *title, *artist,
        *album, *frameRate, *audioTrack, *subtitle, *destPath, *volume, *duration;
};

// The texts of the music function, in the order of its parameters.
struct MusicArgs {
    const char *sourcePath, *sourceNumber, *startTime, *sampleRate, *audioBitRate, *title,
        *artist, *album, *audioTrack, *destPath, *volume, *duration;
};

std::optional<ConvertRequest> readVideoRequest(Device device, const VideoArgs &args);
std::optional<ConvertRequest> readMusicRequest(const MusicArgs &args);

// Single readers, exposed for tests.
std::optional<double> parseSeconds(std::string_view text);          // >= 0
std::optional<Size> parseSize(std::string_view text);               // "w:h", both > 0
std::optional<Rational> parseFrameRate(std::string_view text);      // "29.97" -> 30000/1001
bool isSourceFrameRate(std::string_view text);                      // "source"
// A rate in frames per second as the readers give it: NTSC rates on their 1001 grid,
// others to a thousandth.
Rational tidyFrameRate(double fps);
std::optional<int> parseSampleRate(std::string_view text);          // "44100" or "44.1"
std::optional<int> parseKbps(std::string_view text);                // > 0
std::optional<double> parseVolumeDb(std::string_view text);         // -60..60
std::optional<VideoCodec> parseVideoCodec(std::string_view text);
std::optional<FileFormat> parseFileFormat(std::string_view text);
std::optional<int> parseTrack(std::string_view text);               // >= 0

} // namespace krodec::convert
