#pragma once

#include <QString>
#include <QStringList>

// The program-wide settings kept in Option.ini, section "Option". Window-free: the option
// store window copies the values into the program's globals.
struct OptionValues {
    int defaultAudio = 1;    // position in the language table, -1 for none
    int defaultSubtitle = 1; // position in the language table, -1 for none
    QString outputFolder;    // ends with '/' after a load
    int serialBase = 1;      // OutputPSPSerialNumber
    QString pspUploadFolder;
    QString pspAvcFolder;
    QString pspMp4Folder;
    int minDuration = -1;
    QString openDialogFilter;
};

// Reads every key but the refused lists. roots are the fixed roots searched for the default
// output folder; fallbackFolder serves where no root exists and the stored value is empty.
// Creates the last level of the output folder when it is missing; a failure is ignored.
OptionValues LoadOptions(const QString &iniPath, const QStringList &roots, const QString &fallbackFolder);

// Writes the four saved keys in order; appends '/' to the output folder first (in values).
// Throws platform::IniWriteError at the first write that fails.
void SaveOptions(const QString &iniPath, OptionValues &values);

// The list rule of "ExtName" and "CodecName": items separated by commas and blanks, quoted
// items with doubled quotes, a final comma adds an empty item.
QStringList ParseOptionList(const QString &text);

// Pictures wider than this are refused unless "MaxWidth" says otherwise.
constexpr int DefaultMaxWidth = 800;

struct RefusedLists {
    QStringList extensions;         // "ExtName"
    QStringList formats;            // "CodecName"
    int maxWidth = DefaultMaxWidth; // "MaxWidth"; 0 or less: no width limit
};
RefusedLists ReadRefusedLists(const QString &iniPath);

// The language table: names by position; a stored position outside it gives -1.
constexpr int LanguageCount = 12;
QStringList LanguageNames();
int LanguagePosition(int stored);
