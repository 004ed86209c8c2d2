#pragma once

#include <QString>

// The result for one file: a plain value.
struct TMediaInfo {
    QString GeneralFormat; // the general stream's "Format": the container format name
};

// Asks the MediaInfo library for a file's container format. The library is loaded on first
// use and stays loaded; without it every query answers "Unable to load MediaInfo.dll".
class TMediaInfoInterfa {
public:
    void ReadFormat(const QString &path, TMediaInfo &result) const;
};

// Where the library is looked for; tests name a missing one. Forgets an earlier load.
void SetMediaInfoLibraryName(const QString &name);
