#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QVector>

#include <optional>

// Readers of PfSetting.ini, the named output profiles of every device. Section "<device>-Profile"
// holds ProfileCount, the slot names ProfileText<n>, ProfileDefault and, under each name, the
// profile value "f1,f2,...,f9," (nine fields, each followed by a comma). Nothing writes the
// file; every call opens it afresh and nothing is cached.
namespace profiles {

inline const QString ProfileFileName = QStringLiteral("PfSetting.ini");

// The name taken for a list position without an entry; a section may hold a value under it,
// which is then the profile applied and converted while nothing is selected.
inline const QString CustomProfileName = QStringLiteral("Custom Profile");

// DeviceType of iPod music, whose list texts quote the "Music" section.
inline constexpr int MusicDeviceType = 1;

struct ProfileEntry {
    int slot = 0;                 // n of ProfileText<n>; empty slots make it differ from the position
    QString name;
    std::optional<QString> value; // none when the name has no value
    QString listText;             // what the profile list shows
};

struct ProfileList {
    QVector<ProfileEntry> entries; // in slot order; position p is entries[p]
    int defaultPosition = -1;      // ProfileDefault, or -1 when it names no entry
};

struct Profile {
    QString name;
    std::optional<QString> value;
};

QString ProfileSectionName(const QString &deviceName);

// The device's entries with their list texts, which quote texts of `definition` (PfDef.dll).
// Slots at or beyond ProfileCount are not read, nor beyond MaxListItems.
ProfileList LoadProfileList(const platform::IniFile &settings, const platform::IniFile &definition,
                            const QString &deviceName, int deviceType);

// The entry at a list position of the loaded list (never slot `position` directly); a position
// without an entry gives CustomProfileName and the value stored under it, if any.
Profile ProfileAtPosition(const platform::IniFile &settings, const QString &deviceName, int position);

// Number of field k (from 1) of a profile value: the leading decimal integer, with optional sign,
// of the blank-trimmed text between comma k-1 and comma k. No comma after the field, an empty or
// non-numeric text, a number outside 32 bits, or k below 1 read 0.
int ProfileField(const QString &value, int k);

} // namespace profiles
