#include "ProfileStore.h"

#include "ProfileDefinition.h"

#include <limits>

namespace profiles {
namespace {

std::optional<QString> profileValue(const platform::IniFile &settings, const QString &section,
                                    const QString &name)
{
    const QString value = settings.readString(section, name, NoDefinition);
    if (value == NoDefinition)
        return std::nullopt;
    return value;
}

// The named slots in slot order, without list texts: position p is the p-th of them.
QVector<ProfileEntry> readEntries(const platform::IniFile &settings, const QString &deviceName)
{
    const QString section = ProfileSectionName(deviceName);
    const int count = qMin(settings.readInteger(section, QStringLiteral("ProfileCount"), 0), MaxListItems);
    QVector<ProfileEntry> entries;
    for (int slot = 0; slot < count; ++slot) {
        const QString name = settings.readString(section, QStringLiteral("ProfileText") + QString::number(slot),
                                                 NoDefinition);
        if (name == NoDefinition)
            continue;
        entries.append(ProfileEntry{slot, name, profileValue(settings, section, name), QString()});
    }
    return entries;
}

QString musicListText(const platform::IniFile &definition, const QString &name, const QString &value)
{
    const QString music = QStringLiteral("Music");
    return name + QLatin1String(" : Audio-")
        + definition.readString(music, QStringLiteral("AudioBitrateText") + QString::number(ProfileField(value, 6)),
                                QStringLiteral("0"))
        + QLatin1String("kbps,")
        + definition.readString(music, QStringLiteral("AudioSampleRateText") + QString::number(ProfileField(value, 7)),
                                QStringLiteral("0"))
        + QLatin1String("hz");
}

QString videoListText(const platform::IniFile &definition, const QString &deviceName, const QString &name,
                      const QString &value)
{
    const QString formatName = ReadDefinitionText(definition, deviceName, QStringLiteral("VideoFormat"),
                                                  ProfileField(value, 1));
    const QString section = deviceName + QLatin1Char('-') + formatName;
    const auto text = [&](const char *key, int field, const QString &missing) {
        return definition.readString(section, QLatin1String(key) + QString::number(ProfileField(value, field)),
                                     missing);
    };
    return name + QLatin1String(" : Video-") + formatName + QLatin1Char(',')
        + text("VideoResolutionText", 3, QString()) + QLatin1Char(',')
        + QString::number(ProfileField(value, 5)) + QLatin1String("kbps,Audio-")
        + text("AudioBitrateText", 6, QStringLiteral("0")) + QLatin1String("kbps,")
        + text("AudioSampleRateText", 7, QStringLiteral("0")) + QLatin1String("hz");
}

} // namespace

QString ProfileSectionName(const QString &deviceName)
{
    return deviceName + QLatin1String("-Profile");
}

ProfileList LoadProfileList(const platform::IniFile &settings, const platform::IniFile &definition,
                            const QString &deviceName, int deviceType)
{
    ProfileList list;
    list.entries = readEntries(settings, deviceName);
    for (ProfileEntry &entry : list.entries) {
        if (!entry.value)
            entry.listText = entry.name;
        else if (deviceType == MusicDeviceType)
            entry.listText = musicListText(definition, entry.name, *entry.value);
        else
            entry.listText = videoListText(definition, deviceName, entry.name, *entry.value);
    }
    const int selected = settings.readInteger(ProfileSectionName(deviceName), QStringLiteral("ProfileDefault"), -1);
    list.defaultPosition = selected >= 0 && selected < list.entries.size() ? selected : -1;
    return list;
}

Profile ProfileAtPosition(const platform::IniFile &settings, const QString &deviceName, int position)
{
    const QVector<ProfileEntry> entries = readEntries(settings, deviceName);
    if (position >= 0 && position < entries.size())
        return Profile{entries.at(position).name, entries.at(position).value};
    return Profile{CustomProfileName,
                   profileValue(settings, ProfileSectionName(deviceName), CustomProfileName)};
}

int ProfileField(const QString &value, int k)
{
    if (k < 1)
        return 0;
    int start = 0;
    for (int skipped = 1; skipped < k; ++skipped) {
        const int comma = value.indexOf(QLatin1Char(','), start);
        if (comma < 0)
            return 0;
        start = comma + 1;
    }
    const int end = value.indexOf(QLatin1Char(','), start);
    if (end < 0)
        return 0;
    const QString field = value.mid(start, end - start).trimmed();

    int i = 0;
    bool negative = false;
    if (i < field.size() && (field.at(i) == QLatin1Char('-') || field.at(i) == QLatin1Char('+')))
        negative = field.at(i++) == QLatin1Char('-');
    qint64 number = 0;
    bool anyDigit = false;
    for (; i < field.size() && field.at(i) >= QLatin1Char('0') && field.at(i) <= QLatin1Char('9'); ++i) {
        anyDigit = true;
        number = number * 10 + (field.at(i).unicode() - u'0');
        if (number > qint64(std::numeric_limits<int>::max()) + 1)
            return 0; // a number no 32-bit field can hold is as good as none
    }
    if (!anyDigit)
        return 0;
    number = negative ? -number : number;
    if (number > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(number);
}

} // namespace profiles
