#include "convert/ConvertRequest.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numeric>

namespace krodec::convert {
namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// from_chars, unlike strtod, ignores the process locale: the program runs with the
// user's locale, where the decimal separator may be a comma.
std::optional<double> parseNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool present(const char *text) { return text != nullptr; }

// Takes a text that is required to be there; empty texts are refused by the readers.
std::string_view view(const char *text) { return text ? std::string_view(text) : std::string_view(); }

// The ratio of a pixel shape such as "1:1"; the engine always writes square pixels.
bool isAspect(std::string_view text)
{
    text = trimmed(text);
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    const auto a = parseNumber(text.substr(0, colon));
    const auto b = parseNumber(text.substr(colon + 1));
    return a && b && *a > 0 && *b > 0;
}

// Subtitles are never burnt in: only "none" (a negative number) is accepted.
bool isNoSubtitle(std::string_view text)
{
    const auto value = parseInteger(text);
    return value && *value < 0;
}

bool isSourceNumber(std::string_view text)
{
    const auto value = parseInteger(text);
    return value && *value >= 0;
}

} // namespace

std::optional<double> parseSeconds(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value || *value < 0 || *value > 1.0e7)
        return std::nullopt;
    return value;
}

std::optional<Size> parseSize(std::string_view text)
{
    text = trimmed(text);
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto w = parseInteger(text.substr(0, colon));
    const auto h = parseInteger(text.substr(colon + 1));
    if (!w || !h || *w <= 0 || *h <= 0 || *w > 16384 || *h > 16384)
        return std::nullopt;
    return Size{*w, *h};
}

std::optional<Rational> parseFrameRate(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value || *value < 1 || *value > 240)
        return std::nullopt;
    return tidyFrameRate(*value);
}

bool isSourceFrameRate(std::string_view text)
{
    return lowered(trimmed(text)) == "source";
}

Rational tidyFrameRate(double fps)
{
    // "23.97", "23.976", "29.97" and "59.94" name the NTSC rates n * 1000 / 1001.
    for (int n : {24, 30, 48, 60, 120}) {
        if (std::fabs(fps - n * 1000.0 / 1001.0) < 0.01 && std::fabs(fps - n) > 0.01)
            return Rational{n * 1000, 1001};
    }
    const int thousandths = std::max(1, static_cast<int>(std::lround(std::min(fps, 1000.0) * 1000)));
    const int divisor = std::gcd(thousandths, 1000);
    return Rational{thousandths / divisor, 1000 / divisor};
}

std::optional<int> parseSampleRate(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value || *value <= 0)
        return std::nullopt;
    // Small numbers are kHz: "44.1", "48".
    const double hz = *value < 200 ? *value * 1000 : *value;
    if (hz < 8000 || hz > 192000)
        return std::nullopt;
    return static_cast<int>(std::lround(hz));
}

std::optional<int> parseKbps(std::string_view text)
{
    const auto value = parseInteger(text);
    if (!value || *value <= 0 || *value > 100000)
        return std::nullopt;
    return value;
}

std::optional<double> parseVolumeDb(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value || *value < -60 || *value > 60)
        return std::nullopt;
    return value;
}

std::optional<VideoCodec> parseVideoCodec(std::string_view text)
{
    const std::string name = lowered(trimmed(text));
    for (const char *h264 : {"h264", "h.264", "x264", "libx264", "avc", "avc1"}) {
        if (name == h264)
            return VideoCodec::H264;
    }
    for (const char *mpeg4 : {"mpeg4", "mpeg-4", "mp4v", "xvid", "divx"}) {
        if (name == mpeg4)
            return VideoCodec::Mpeg4;
    }
    return std::nullopt;
}

std::optional<FileFormat> parseFileFormat(std::string_view text)
{
    const std::string name = lowered(trimmed(text));
    if (name == "ipod")
        return FileFormat::IPod;
    if (name == "mp4")
        return FileFormat::Mp4;
    return std::nullopt;
}

std::optional<int> parseTrack(std::string_view text)
{
    const auto value = parseInteger(text);
    if (!value || *value < 0)
        return std::nullopt;
    return value;
}

namespace {

// The parts both kinds of call share. Paths must be non-empty; tags may be empty.
bool readCommon(ConvertRequest &request, const char *sourcePath, const char *sourceNumber,
                const char *startTime, const char *sampleRate, const char *audioBitRate,
                const char *title, const char *artist, const char *album, const char *audioTrack,
                const char *destPath, const char *volume, const char *duration)
{
    for (const char *text : {sourcePath, sourceNumber, startTime, sampleRate, audioBitRate, title,
                             artist, album, audioTrack, destPath, volume, duration}) {
        if (!present(text))
            return false;
    }
    request.sourcePath = sourcePath;
    request.destPath = destPath;
    if (request.sourcePath.empty() || request.destPath.empty() || !isSourceNumber(sourceNumber))
        return false;
    const auto start = parseSeconds(view(startTime));
    const auto length = parseSeconds(view(duration));
    const auto rate = parseSampleRate(view(sampleRate));
    const auto kbps = parseKbps(view(audioBitRate));
    const auto track = parseTrack(view(audioTrack));
    const auto gain = parseVolumeDb(view(volume));
    if (!start || !length || !rate || !kbps || !track || !gain)
        return false;
    request.startSeconds = *start;
    request.durationSeconds = *length;
    request.sampleRate = *rate;
    request.audioKbps = *kbps;
    request.audioTrack = *track;
    request.volumeDb = *gain;
    request.title = title;
    request.artist = artist;
    request.album = album;
    return true;
}

} // namespace

std::optional<ConvertRequest> readVideoRequest(Device device, const VideoArgs &a)
{
    ConvertRequest request;
    request.device = device;
    if (device == Device::IPodMusic)
        return std::nullopt;
    if (!readCommon(request, a.sourcePath, a.sourceNumber, a.startTime, a.sampleRate,
                    a.audioBitRate, a.title, a.artist, a.album, a.audioTrack, a.destPath,
                    a.volume, a.duration))
        return std::nullopt;
    for (const char *text : {a.aspect, a.videoFormat, a.fileFormat, a.videoBitRate,
                             a.pictureSize, a.frameSize, a.frameRate, a.subtitle}) {
        if (!present(text))
            return std::nullopt;
    }
    const auto codec = parseVideoCodec(a.videoFormat);
    const auto format = parseFileFormat(a.fileFormat);
    const auto kbps = parseKbps(a.videoBitRate);
    const auto picture = parseSize(a.pictureSize);
    const auto frame = parseSize(a.frameSize);
    // The source's own rate is known only once the file is open; it is filled in then, and
    // until then the rate is the one a source without a readable rate gets.
    const bool sourceRate = present(a.frameRate) && isSourceFrameRate(a.frameRate);
    const auto rate = sourceRate ? std::optional<Rational>(Rational{30000, 1001}) : parseFrameRate(a.frameRate);
    if (!codec || !format || !kbps || !picture || !frame || !rate || !isAspect(a.aspect)
        || !isNoSubtitle(a.subtitle))
        return std::nullopt;
    request.videoCodec = *codec;
    request.fileFormat = *format;
    request.videoKbps = *kbps;
    request.picture = *picture;
    request.frame = *frame;
    request.frameRate = *rate;
    request.sourceFrameRate = sourceRate;
    return request;
}

std::optional<ConvertRequest> readMusicRequest(const MusicArgs &a)
{
    ConvertRequest request;
    request.device = Device::IPodMusic;
    if (!readCommon(request, a.sourcePath, a.sourceNumber, a.startTime, a.sampleRate,
                    a.audioBitRate, a.title, a.artist, a.album, a.audioTrack, a.destPath,
                    a.volume, a.duration))
        return std::nullopt;
    return request;
}

} // namespace krodec::convert
