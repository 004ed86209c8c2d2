#include "mainform/DiscWatch.h"

#include <QDir>

DiscAction DiscDecision(VolumeEvent event, const platform::MountEntry &volume, bool listEmpty,
                        const QString &discDrive, const VolumeFacts &facts)
{
    if (event == VolumeEvent::Removed)
        return volume.mountPoint == discDrive ? DiscAction::ClearList : DiscAction::None;
    if (!listEmpty || !platform::IsDiscMount(volume) || !facts.readable || !facts.hasVideoFolder)
        return DiscAction::None;
    return DiscAction::RememberDisc;
}

VolumeFacts ReadVolumeFacts(const QString &mountPoint)
{
    VolumeFacts facts;
    facts.readable = platform::CanReadVolume(mountPoint);
    if (!facts.readable)
        return facts;
    const QStringList folders = QDir(mountPoint).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    facts.hasVideoFolder = folders.contains(QStringLiteral("VIDEO_TS"), Qt::CaseInsensitive);
    return facts;
}
