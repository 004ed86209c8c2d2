#pragma once

#include <QString>

namespace platform {

// The folder of the executable, with a trailing '/'. Tests point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString &folder);

// Folder helpers with the desktop's rules: a folder path may end with '/'.
bool FolderExists(const QString &path);
// Creates only the last level of the path; true when the folder exists afterwards.
bool CreateFolder(const QString &path);

// The fixed roots, searched for the default output folder: the home folder, then the
// desktop's videos folder where it exists.
QStringList FixedRoots();
// The last root of the list that is an existing folder, with a trailing '/'; empty if none.
QString LastExistingRoot(const QStringList &roots);

} // namespace platform
