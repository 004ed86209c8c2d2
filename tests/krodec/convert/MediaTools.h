#pragma once

// The ffmpeg and ffprobe programs, for making test clips and looking at results.

#include <QByteArray>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>

namespace media {

// Runs ffmpeg quietly with the arguments, overwriting the output; false with the
// program's error text in *errors when it fails.
bool ffmpeg(const QStringList &arguments, QString *errors = nullptr);

// ffprobe -show_streams -show_format -of json; empty when the file does not open.
QJsonObject probe(const QString &path);
// The first stream of a kind ("video", "audio"); empty when there is none.
QJsonObject stream(const QJsonObject &probed, const QString &kind);
int streamCount(const QJsonObject &probed);
// ffprobe gives many numbers as texts.
double number(const QJsonValue &value);
// "30000/1001" -> 29.97
double ratio(const QJsonValue &value);

// Mean and maximum volume in dB of the audio between from and from + length seconds
// (length 0: to the end); NaN when nothing could be measured.
struct Loudness {
    double mean;
    double max;
};
Loudness loudness(const QString &path, double from = 0, double length = 0);

// The luma of the video frame shown at `at` seconds, size.width() x size.height() bytes.
QByteArray lumaFrame(const QString &path, double at, QSize size);
// The luma of the last frame, found by decoding to the end.
QByteArray lastLumaFrame(const QString &path, QSize size);
// Average of the bytes of a rectangle of a luma frame.
double average(const QByteArray &luma, QSize size, int left, int top, int width, int height);

// SSIM of the pictures of `path` from `from` seconds on against those of `reference` scaled to
// the same size, frame by frame; NaN when it cannot be measured.
double ssim(const QString &path, const QString &reference, QSize size, double from = 0);

// Every entry of a folder, hidden ones included.
QStringList entries(const QString &folder);

// True when ffmpeg decodes the whole file without an error message.
bool decodesCleanly(const QString &path, QString *errors = nullptr);

} // namespace media
