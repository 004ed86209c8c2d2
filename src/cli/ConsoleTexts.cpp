#include "ConsoleTexts.h"

#include "common/DeviceType.h"
#include "common/TextHelpers.h"

#include <QFileInfo>

#include <algorithm>

namespace cli {

namespace {

constexpr int BarLength = 20;
// Below this the name is not worth showing in part.
constexpr int ShortestName = 8;

bool taken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString FreeOutputPath(const QString &folder, const QString &sourcePath, int deviceType)
{
    QString base = QFileInfo(sourcePath).fileName();
    const int dot = static_cast<int>(base.lastIndexOf(QLatin1Char('.')));
    // A leading dot belongs to a hidden file's name, not to an extension.
    if (dot > 0)
        base.truncate(dot);
    const QString extension = DeviceExtension(deviceType);
    QString path = folder + base + extension;
    for (int n = 2; taken(path); ++n)
        path = folder + base + QStringLiteral(" (%1)").arg(n) + extension;
    return path;
}

int ProgressPercent(const ProgressSample &sample)
{
    if (sample.rangeSeconds <= 0)
        return 0;
    const qint64 percent = static_cast<qint64>(std::max(sample.secondsDone, 0)) * 100 / sample.rangeSeconds;
    return static_cast<int>(std::min<qint64>(percent, 99));
}

int SecondsLeft(const ProgressSample &sample)
{
    if (sample.rangeSeconds <= 0 || sample.secondsDone <= 0 || sample.elapsedMs <= 0)
        return -1;
    const qint64 left = std::max(sample.rangeSeconds - sample.secondsDone, 0);
    return static_cast<int>(sample.elapsedMs * left / sample.secondsDone / 1000);
}

QString ProgressLine(const QString &name, const ProgressSample &sample, int columns)
{
    const int percent = ProgressPercent(sample);
    const int filled = percent * BarLength / 100;
    const QString bar = QString(filled, QLatin1Char('#')) + QString(BarLength - filled, QLatin1Char('-'));
    const int left = SecondsLeft(sample);
    QString source = TimeText(sample.startSeconds + std::max(sample.secondsDone, 0));
    if (sample.rangeSeconds > 0)
        source += QLatin1Char('/') + TimeText(sample.startSeconds + sample.rangeSeconds);
    const QString rest = QStringLiteral(" %1% [%2] %3 %4 fps ETA %5")
                             .arg(percent, 3)
                             .arg(bar, source)
                             .arg(sample.framesPerSecond)
                             .arg(left < 0 ? QStringLiteral("--:--:--") : TimeText(left));
    const int room = columns - 1 - static_cast<int>(rest.size());
    if (room < ShortestName)
        return rest.trimmed().left(std::max(columns - 1, 0));
    QString shown = name;
    if (shown.size() > room)
        shown = shown.left(room - 3) + QStringLiteral("...");
    return shown + rest;
}

QString SummaryLine(int converted, int skipped, int failed, bool interrupted)
{
    return QStringLiteral("Converted %1, skipped %2, failed %3%4")
        .arg(converted)
        .arg(skipped)
        .arg(failed)
        .arg(interrupted ? QStringLiteral("; stopped by Ctrl+C.") : QStringLiteral("."));
}

} // namespace cli
