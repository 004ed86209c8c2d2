#include "TestMedia.h"

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
