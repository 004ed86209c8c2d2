#pragma once

#include "platform/MountWatcher.h"

#include <QString>

// The disc watch's rules: a DVD-Video disc that arrives while the list is empty is
// remembered by its mount point, and its removal clears the list. No window is involved.

// The value of the remembered disc when there is none.
inline const QString NoDiscDrive = QStringLiteral("A");

enum class VolumeEvent { Arrived, Removed };

enum class DiscAction {
    None,
    RememberDisc, // the arrived volume's mount point becomes the remembered disc
    ClearList
};

// What a mounted volume tells: whether it answers for its volume information and whether it
// holds a VIDEO_TS folder.
struct VolumeFacts {
    bool readable = false;
    bool hasVideoFolder = false;
};

DiscAction DiscDecision(VolumeEvent event, const platform::MountEntry &volume, bool listEmpty,
                        const QString &discDrive, const VolumeFacts &facts);

// The facts of a mounted volume as the file system gives them. The disc's folder names may
// come in either case, depending on how the disc was mounted.
VolumeFacts ReadVolumeFacts(const QString &mountPoint);
