#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class QTimer;

namespace platform {

// One line of the mount table.
struct MountEntry {
    QString mountPoint;
    QString fileSystem;
    QString source;
};

// Entries of /proc/self/mountinfo text, with octal escapes (\040 for a blank) undone.
QVector<MountEntry> ParseMountInfo(const QByteArray &text);

// A disc drive's mount: an optical drive (/dev/sr*) or an ISO 9660 / UDF file system.
bool IsDiscMount(const MountEntry &entry);

// Volume information can be read: the file system answers statvfs.
bool CanReadVolume(const QString &mountPoint);

// Watches the mount table and reports volumes as they arrive and go, with the mount point
// as the drive's identity. The table is read by a reader function, so tests hand in their own.
class MountWatcher : public QObject {
    Q_OBJECT

public:
    using Reader = std::function<QByteArray()>;

    explicit MountWatcher(QObject *parent = nullptr, Reader reader = {}, int intervalMs = 1000);

    // Reads the table now and reports what changed since the last read.
    void poll();
    const QVector<MountEntry> &mounts() const { return m_mounts; }

signals:
    void volumeArrived(const platform::MountEntry &entry);
    void volumeRemoved(const platform::MountEntry &entry);

private:
    Reader m_reader;
    QVector<MountEntry> m_mounts;
    QTimer *m_timer;
};

} // namespace platform
