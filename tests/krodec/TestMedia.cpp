#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cmath>

namespace enginetest {

bool makeMedia(const QStringList &arguments, const QString &output, QString *errors)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("ffmpeg"),
                  QStringList{QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                              QStringLiteral("-y")}
                      + arguments + QStringList{output});
    const bool finished = process.waitForFinished(120000);
    const bool ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok && errors)
        *errors = QString::fromLocal8Bit(process.readAll());
    return ok;
}

QString greyClipSource(int width, int height, int seconds, int rate)
{
    return QStringLiteral("color=c=black:s=%1x%2:r=%3:d=%4,format=yuv420p,"
                          "geq=lum='16+18*floor(T)':cb=128:cr=128")
        .arg(width)
        .arg(height)
        .arg(rate)
        .arg(seconds);
}

double greyOfSecond(int second)
{
    return 18.0 * second * 255.0 / 219.0;
}

bool makeBroadcastClips(const QString &folder, QString *errors)
{
    const QDir dir(folder);
    const auto at = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    const QStringList h264 = {"-c:v", "libx264", "-g", "250", "-sc_threshold", "0", "-bf", "2"};
    const QStringList sound = {"-f", "lavfi", "-i", "sine=f=440:r=48000:d=12", "-c:a", "mp2", "-b:a", "96k"};
    const QStringList grey12 = {"-f", "lavfi", "-i", greyClipSource(160, 120, 12)};
    const QStringList grey8 = {"-f", "lavfi", "-i", greyClipSource(160, 120, 8)};
    struct Step {
        QStringList arguments;
        const char *output;
    };
    const QList<Step> steps = {
        {grey12 + sound + h264 + QStringList{"-shortest"}, "gop10s.ts"},
        {QStringList{"-f", "lavfi", "-i", greyClipSource(160, 120, 4)} + h264, "onekey.ts"},
        {QStringList{"-i", at("gop10s.ts"), "-c", "copy", "-output_ts_offset", "36000"}, "offset.ts"},
        {QStringList{"-i", at("gop10s.ts"), "-c", "copy", "-output_ts_offset", "10"}, "start10.mkv"},
        {grey12 + sound
             + QStringList{"-c:v", "mpeg2video", "-g", "300", "-sc_threshold", "1000000000", "-shortest", "-f", "vob"},
         "gop12s.mpg"},
        {grey8 + sound + QStringList{"-c:v", "libx264", "-g", "25", "-c:a", "mp2", "-shortest"}, "whole8.ts"},
        // 100 frames: the second part starts with the frame of second 4, as the first left off.
        {QStringList{"-i", at("whole8.ts"), "-t", "4", "-frames:v", "100", "-c", "copy"}, "part1.ts"},
        {QStringList{"-ss", "4", "-i", at("whole8.ts"), "-c", "copy"}, "part2.ts"},
        {QStringList{"-ss", "4", "-i", at("whole8.ts"), "-c", "copy", "-output_ts_offset", "600"}, "part2late.ts"},
    };
    for (const Step &step : steps) {
        if (!makeMedia(step.arguments, at(step.output), errors))
            return false;
    }
    const auto join = [&](const char *first, const char *second, const char *output) {
        QFile a(at(first));
        QFile b(at(second));
        QFile out(at(output));
        return a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)
               && out.write(a.readAll() + b.readAll()) == a.size() + b.size();
    };
    return join("part1.ts", "part2.ts", "joined.ts") && join("part1.ts", "part2late.ts", "jump600.ts");
}

double meanLevel(const unsigned char *pixels, int width, int height)
{
    const long long count = 3LL * width * height;
    double sum = 0;
    for (long long i = 0; i < count; ++i)
        sum += pixels[i];
    return count > 0 ? sum / static_cast<double>(count) : 0;
}

double colourSpread(const unsigned char *pixels, int width, int height)
{
    const long long count = 1LL * width * height;
    double sum = 0;
    for (long long i = 0; i < count; ++i) {
        const auto [low, high] = std::minmax({pixels[3 * i], pixels[3 * i + 1], pixels[3 * i + 2]});
        sum += high - low;
    }
    return count > 0 ? sum / static_cast<double>(count) : 0;
}

} // namespace enginetest
