#pragma once

#include <QString>

namespace platform {

// Run-time library loading. A name "X.dll" is looked up as "libX.so" in the program
// folder first, then by the system's search; "MediaInfo.dll" is the system's libmediainfo.
using LibraryHandle = void *;

LibraryHandle LoadLibrary(const QString &name);
void *GetProcAddress(LibraryHandle library, const char *function);
void FreeLibrary(LibraryHandle library);

// The file names tried for a library name, in order.
QStringList LibraryCandidates(const QString &name, const QString &programFolder);

} // namespace platform
