#include "ProgressRules.h"

#include "common/DeviceType.h"
#include "common/TextHelpers.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <climits>

namespace {

// Output numbers repeat their names after this many.
constexpr int NumberCycle = 10000;

ProgressShown Shown(qint64 part, qint64 whole)
{
    ProgressShown shown;
    shown.barWidth = static_cast<int>(std::max<qint64>(0, part * ProgressBarLength / whole));
    shown.percent = static_cast<int>(std::max<qint64>(0, part * 100 / whole));
    return shown;
}

// True when the names of count entries from base are all new to the folder and to each other.
bool NamesFree(int base, int count, const QString &extension, const QSet<QString> &taken)
{
    QSet<QString> names;
    for (int i = 0; i < count; ++i) {
        const QString name = OutputNumberText(base + i) + extension;
        if (taken.contains(name) || names.contains(name))
            return false;
        names.insert(name);
    }
    return true;
}

} // namespace

ProgressShown ProgressByTime(int seconds, int scale)
{
    if (scale < 1)
        return {};
    const qint64 t = std::min<qint64>(seconds, qint64(scale) - 1);
    return Shown(t, scale);
}

ProgressShown ProgressByPercent(int percent)
{
    if (percent < 1)
        return {};
    ProgressShown shown = Shown(percent, 100);
    shown.percent = percent;
    return shown;
}

int FreeSerialBase(int serialBase, int entryCount, int deviceType, const QString &folder)
{
    // No list longer than the distinct names 0001 .. 9999 can be free of repeats.
    if (entryCount < 1 || entryCount >= NumberCycle)
        return serialBase;
    const QStringList present = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden
                                                       | QDir::System);
    const QSet<QString> taken(present.cbegin(), present.cend());
    const QString extension = DeviceExtension(deviceType);
    // Past one whole cycle every further base repeats a set of names already tried.
    for (int step = 0; step < NumberCycle; ++step) {
        if (serialBase > INT_MAX - entryCount - step)
            break;
        if (NamesFree(serialBase + step, entryCount, extension, taken))
            return serialBase + step;
    }
    return serialBase;
}
