#pragma once

#include <QString>

namespace platform {

// Settings files that belong in the program folder (Option.ini) are kept there while the user
// may write that folder. An installed program's folder is not writable, so, as Windows does
// for programs under Program Files, this user's copy is kept in the per-user configuration
// folder instead: read from there once it exists, written there always.
enum class SettingsAccess { Read, Write };

struct SettingsPlaces {
    QString programFolder; // with a trailing '/'
    QString userFolder;    // with a trailing '/'
    bool programFolderWritable = true;
};

// The file to read or write for the program folder's file `name`. A write that goes to the
// user's folder creates that folder and first starts the user's file as a copy of the program
// folder's one, so keys that the write does not touch are still there afterwards.
QString SettingsFilePath(const SettingsPlaces &places, const QString &name, SettingsAccess access);

// $XDG_CONFIG_HOME (only an absolute path counts) or else the home's ".config", followed by
// "orvo-video-converter/".
QString UserSettingsFolder(const QString &configHome, const QString &home);

// Whether this process may create and replace files in the folder.
bool FolderWritable(const QString &folder);

// The program folder's file `name` as this user really reads or writes it: the one place
// where the program chooses between the program folder and the user's folder.
QString ProgramSettingsFile(const QString &name, SettingsAccess access);

} // namespace platform
