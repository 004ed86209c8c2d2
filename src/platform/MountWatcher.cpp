#include "MountWatcher.h"

#include <QFile>
#include <QTimer>

#include <sys/statvfs.h>

namespace platform {
namespace {

QString unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int code = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(field.at(i));
    }
    return QString::fromUtf8(out);
}

QByteArray readMountInfo()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool sameMount(const MountEntry &a, const MountEntry &b)
{
    return a.mountPoint == b.mountPoint && a.source == b.source && a.fileSystem == b.fileSystem;
}

bool contains(const QVector<MountEntry> &list, const MountEntry &entry)
{
    return std::any_of(list.begin(), list.end(), [&](const MountEntry &e) { return sameMount(e, entry); });
}

} // namespace

QVector<MountEntry> ParseMountInfo(const QByteArray &text)
{
    // id parent major:minor root mount-point options [optional...] - fstype source super-options
    QVector<MountEntry> entries;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        const int separator = static_cast<int>(fields.indexOf("-"));
        if (fields.size() < 5 || separator < 5 || separator + 2 >= fields.size())
            continue;
        entries.append({unescape(fields.at(4)), unescape(fields.at(separator + 1)), unescape(fields.at(separator + 2))});
    }
    return entries;
}

bool IsDiscMount(const MountEntry &entry)
{
    return entry.source.startsWith(QLatin1String("/dev/sr")) || entry.fileSystem == QLatin1String("iso9660")
        || entry.fileSystem == QLatin1String("udf");
}

bool CanReadVolume(const QString &mountPoint)
{
    struct statvfs info {};
    return statvfs(QFile::encodeName(mountPoint).constData(), &info) == 0;
}

MountWatcher::MountWatcher(QObject *parent, Reader reader, int intervalMs)
    : QObject(parent)
    , m_reader(reader ? std::move(reader) : Reader(readMountInfo))
    , m_timer(new QTimer(this))
{
    m_mounts = ParseMountInfo(m_reader());
    connect(m_timer, &QTimer::timeout, this, &MountWatcher::poll);
    if (intervalMs > 0)
        m_timer->start(intervalMs);
}

void MountWatcher::poll()
{
    const QVector<MountEntry> now = ParseMountInfo(m_reader());
    const QVector<MountEntry> before = std::exchange(m_mounts, now);
    for (const MountEntry &entry : before) {
        if (!contains(now, entry))
            emit volumeRemoved(entry);
    }
    for (const MountEntry &entry : now) {
        if (!contains(before, entry))
            emit volumeArrived(entry);
    }
}

} // namespace platform
