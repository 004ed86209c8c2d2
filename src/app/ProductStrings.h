#pragma once

#include <QString>
#include <utility>

// Product strings: built-in values until the version record file is read at start-up,
// read-only afterwards.
extern QString DisplayProductName; // record 1; the application title
extern QString VersionText;        // record 2; the about window's heading
extern QString BuildText;          // "Build on " + record 3
extern QString ProductName;        // record 5; the main window's title
extern QString HomePage;           // not from the file
extern QString SupportEmail;       // a mailto: link; not from the file

// Reads WinVersion.bin from the current directory. Assigns the strings of every record
// read; true only when the file opened and all six records are valid.
bool ReadVersionFile();
// The same for a file of the given path.
bool ReadVersionFile(const QString &path);

// The about window's heading and build line.
std::pair<QString, QString> GetVersionTexts();

// Restores the built-in values; for tests.
void ResetProductStrings();
