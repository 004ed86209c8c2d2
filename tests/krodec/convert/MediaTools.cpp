#include "MediaTools.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace media {
namespace {

bool run(const QString &program, const QStringList &arguments, QByteArray *out, QByteArray *err)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return false;
    process.closeWriteChannel();
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList window(double from, double length)
{
    QStringList args;
    if (from > 0)
        args << "-ss" << QString::number(from, 'f', 3);
    if (length > 0)
        args << "-t" << QString::number(length, 'f', 3);
    return args;
}

} // namespace

bool ffmpeg(const QStringList &arguments, QString *errors)
{
    QByteArray err;
    const bool ok = run("ffmpeg", QStringList{"-hide_banner", "-nostdin", "-loglevel", "error", "-y"} + arguments,
                        nullptr, &err);
    if (errors)
        *errors = QString::fromLocal8Bit(err);
    return ok;
}

QJsonObject probe(const QString &path)
{
    QByteArray out;
    if (!run("ffprobe", {"-v", "error", "-show_streams", "-show_format", "-of", "json", path}, &out, nullptr))
        return {};
    return QJsonDocument::fromJson(out).object();
}

QJsonObject stream(const QJsonObject &probed, const QString &kind)
{
    for (const QJsonValue &s : probed.value("streams").toArray()) {
        if (s.toObject().value("codec_type").toString() == kind)
            return s.toObject();
    }
    return {};
}

int streamCount(const QJsonObject &probed) { return probed.value("streams").toArray().size(); }

double number(const QJsonValue &value)
{
    if (value.isDouble())
        return value.toDouble();
    bool ok = false;
    const double parsed = value.toString().toDouble(&ok);
    return ok ? parsed : std::numeric_limits<double>::quiet_NaN();
}

double ratio(const QJsonValue &value)
{
    const QStringList parts = value.toString().split('/');
    if (parts.size() != 2 || parts[1].toDouble() == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return parts[0].toDouble() / parts[1].toDouble();
}

Loudness loudness(const QString &path, double from, double length)
{
    QByteArray err;
    run("ffmpeg", QStringList{"-hide_banner", "-nostdin"} + window(from, length)
                      + QStringList{"-i", path, "-map", "0:a:0", "-af", "volumedetect", "-f", "null", "-"},
        nullptr, &err);
    const QString log = QString::fromLocal8Bit(err);
    const auto value = [&](const char *name) {
        const auto match = QRegularExpression(QString(name) + R"(:\s*(-?[0-9.]+|-inf) dB)").match(log);
        if (!match.hasMatch())
            return std::numeric_limits<double>::quiet_NaN();
        return match.captured(1) == "-inf" ? -std::numeric_limits<double>::infinity()
                                           : match.captured(1).toDouble();
    };
    return {value("mean_volume"), value("max_volume")};
}

QByteArray lumaFrame(const QString &path, double at, QSize size)
{
    QByteArray out;
    run("ffmpeg", QStringList{"-hide_banner", "-nostdin", "-loglevel", "error"} + window(at, 0)
                      + QStringList{"-i", path, "-frames:v", "1", "-vf",
                                    QString("scale=%1:%2,format=gray").arg(size.width()).arg(size.height()),
                                    "-f", "rawvideo", "-"},
        &out, nullptr);
    return out;
}

double ssim(const QString &path, const QString &reference, QSize size, double from)
{
    QByteArray err;
    const QString graph = QString("[1:v]scale=%1:%2[r];[0:v][r]ssim").arg(size.width()).arg(size.height());
    if (!run("ffmpeg", QStringList{"-hide_banner", "-nostdin"} + window(from, 0)
                           + QStringList{"-i", path, "-i", reference, "-lavfi", graph, "-f", "null", "-"},
             nullptr, &err))
        return std::numeric_limits<double>::quiet_NaN();
    const QRegularExpressionMatch all = QRegularExpression(" All:([0-9.]+)").match(QString::fromLatin1(err));
    return all.hasMatch() ? all.captured(1).toDouble() : std::numeric_limits<double>::quiet_NaN();
}

QByteArray lastLumaFrame(const QString &path, QSize size)
{
    QByteArray out;
    run("ffmpeg", {"-hide_banner", "-nostdin", "-loglevel", "error", "-i", path, "-vf",
                   QString("scale=%1:%2,format=gray").arg(size.width()).arg(size.height()),
                   "-f", "rawvideo", "-"},
        &out, nullptr);
    const int frameBytes = size.width() * size.height();
    return out.size() >= frameBytes ? out.right(frameBytes) : QByteArray();
}

double average(const QByteArray &luma, QSize size, int left, int top, int width, int height)
{
    if (luma.size() < size.width() * size.height() || width <= 0 || height <= 0)
        return std::numeric_limits<double>::quiet_NaN();
    double sum = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x)
            sum += static_cast<unsigned char>(luma[y * size.width() + x]);
    }
    return sum / (width * height);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool decodesCleanly(const QString &path, QString *errors)
{
    QByteArray err;
    const bool ok = run("ffmpeg", {"-hide_banner", "-nostdin", "-v", "error", "-i", path, "-f", "null", "-"},
                        nullptr, &err);
    if (errors)
        *errors = QString::fromLocal8Bit(err);
    return ok && err.trimmed().isEmpty();
}

} // namespace media
