#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

// Readers of PfDef.dll, the definition of every output choice (an INI text file despite its
// name). No widgets: the panel on the main thread and the conversion on its worker thread both
// use them. Every call reads through the IniFile, which opens the file afresh, so a changed
// file takes effect at the next call; nothing is cached. A missing file reads as an empty one.
namespace profiles {

// File names in the program folder.
inline const QString DefinitionFileName = QStringLiteral("PfDef.dll");

// Default of every read whose absence matters; a result equal to it means "key absent".
inline const QString NoDefinition = QStringLiteral("nodef");

// A hand-edited Count or range could ask for billions of items; no list of the program needs
// more than a few dozen, so lists stop here instead of hanging the window.
inline constexpr int MaxListItems = 1000;

// The items of a list definition and the position to select after filling. defaultPosition is
// -1 when nothing is to be selected: the Default key is absent, -1, or names no item.
struct ListDefinition {
    QStringList items;
    int defaultPosition = -1;
};

// The range of a spin field, in the order the panel applies it.
struct SpinRange {
    int upper = 0;
    int lower = 0;
    int value = 0;
    int step = 1;
};

// The choices of list definition `key` in `section`: what the panel puts into its list.
// Count >= 1: the texts key+"Text"+n for n = 0..Count-1, absent ones skipped. Otherwise the
// decimal numbers Min, Min+Step, ... up to and including Max. A Step below 1 counts as 1,
// so a bad file can never make the range endless. Both forms stop at MaxListItems.
ListDefinition FillListFromDefinition(const platform::IniFile &file, const QString &section,
                                      const QString &key);

// key+"Max", key+"Min", key+"Default" (all default 0) and key+"Step" (default 1; below 1 counts
// as 1, a spin field that does not move is of no use).
SpinRange FillSpinFromDefinition(const platform::IniFile &file, const QString &section,
                                 const QString &key);

// Engine value of choice n: the first present of key+"Value"+n, key+"Text"+n, key+"Value",
// key+"Text"; NoDefinition when all four are absent (the caller passes it on unchanged).
QString ReadDefinitionValue(const platform::IniFile &file, const QString &section,
                            const QString &key, int n);

// Display text of choice n: key+"Text"+n, "" when absent.
QString ReadDefinitionText(const platform::IniFile &file, const QString &section,
                           const QString &key, int n);

// Number of video formats of a device section; 0 (absent) means an audio-only device, whose
// lists come from the "Music" section.
int VideoFormatCount(const platform::IniFile &file, const QString &deviceName);

// Format section of format n: device name, "-", VideoFormatText<n> of the device section.
// `missingName` stands in for an absent format text: the profile texts and the conversion use
// "", the panel uses NoDefinition. Either way the section does not exist.
QString FormatSectionName(const platform::IniFile &file, const QString &deviceName, int format,
                          const QString &missingName = QString());

} // namespace profiles
