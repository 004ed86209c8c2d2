#include "ProfileChoice.h"

#include "CommandLine.h"
#include "common/DeviceType.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"

#include <QRegularExpression>

#include <algorithm>

namespace cli {

namespace {

// A list keeps a position only where it has an item; otherwise nothing is selected.
int positionIn(int position, const QStringList &items)
{
    return position >= 0 && position < items.size() ? position : -1;
}

// The spin field's rule: a range of one value holds anything, others clamp.
int heldTo(int value, int low, int high)
{
    if (low == high)
        return value;
    return value < low ? low : (value > high ? high : value);
}

// The lists of the device panel for a profile's format: the format section of a video
// device, the "Music" section for a device without video formats.
struct PanelLists {
    QStringList resolutions;
    QStringList frameRates;
    QStringList audioBitRates;
    profiles::ListDefinition volumes;
    profiles::SpinRange videoBitRate;
};

PanelLists ListsFor(const platform::IniFile &definition, int deviceType, int format)
{
    PanelLists lists;
    const QString device = DeviceName(deviceType);
    if (profiles::VideoFormatCount(definition, device) >= 1) {
        const QString section = profiles::FormatSectionName(definition, device, format, profiles::NoDefinition);
        lists.resolutions = profiles::FillListFromDefinition(definition, section, QStringLiteral("VideoResolution")).items;
        lists.frameRates = profiles::FillListFromDefinition(definition, section, QStringLiteral("VideoFrameRate")).items;
        lists.audioBitRates = profiles::FillListFromDefinition(definition, section, QStringLiteral("AudioBitrate")).items;
        lists.volumes = profiles::FillListFromDefinition(definition, section, QStringLiteral("AudioVolume"));
        lists.videoBitRate = profiles::FillSpinFromDefinition(definition, section, QStringLiteral("VideoBitRate"));
    } else {
        const QString music = DeviceName(DeviceIPodMusic);
        lists.audioBitRates = profiles::FillListFromDefinition(definition, music, QStringLiteral("AudioBitrate")).items;
        lists.volumes = profiles::FillListFromDefinition(definition, music, QStringLiteral("AudioVolume"));
    }
    return lists;
}

int profileFormat(const platform::IniFile &settings, int deviceType, int position)
{
    const profiles::Profile profile = profiles::ProfileAtPosition(settings, DeviceName(deviceType), position);
    return profile.value ? profiles::ProfileField(*profile.value, 1) : 0;
}

} // namespace

QString DeviceListText(const platform::IniFile &settings, const platform::IniFile &definition)
{
    QString text;
    for (int device : {DeviceIPodVideo, DeviceIPodMusic, DeviceIPhone, DeviceAppleTV}) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QStringLiteral("%1 (--device %2)\n").arg(DeviceTitle(device), DeviceOptionName(device));
        const profiles::ProfileList list =
            profiles::LoadProfileList(settings, definition, DeviceName(device), device);
        if (list.entries.isEmpty())
            text += QStringLiteral("    no profiles\n");
        for (int p = 0; p < list.entries.size(); ++p) {
            const QString mark = p == list.defaultPosition ? QStringLiteral("*") : QStringLiteral(" ");
            text += QStringLiteral("  %1 %2  %3\n").arg(mark).arg(p, 2).arg(list.entries.at(p).listText);
        }
    }
    return text + QStringLiteral("\n* the device's default profile\n");
}

ProfileChoice ChooseProfile(const platform::IniFile &settings, const platform::IniFile &definition, int deviceType,
                            const QString &wanted)
{
    ProfileChoice choice;
    const QString device = DeviceName(deviceType);
    const profiles::ProfileList list = profiles::LoadProfileList(settings, definition, device, deviceType);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    const QString trimmed = wanted.trimmed();
    if (wanted.isEmpty()) {
        choice.position = list.defaultPosition;
    } else if (digits.match(trimmed).hasMatch()) {
        choice.position = trimmed.toInt();
        if (choice.position >= list.entries.size()) {
            choice.error = QStringLiteral("%1 has no profile at position %2 (see --list)")
                               .arg(DeviceTitle(deviceType), trimmed);
            return choice;
        }
    } else {
        for (int p = 0; p < list.entries.size() && choice.position < 0; ++p) {
            if (list.entries.at(p).name == wanted)
                choice.position = p;
        }
        if (choice.position < 0) {
            choice.error = QStringLiteral("%1 has no profile named \"%2\" (see --list)")
                               .arg(DeviceTitle(deviceType), wanted);
            return choice;
        }
    }
    // A position without an entry stands for the custom profile, as in the window.
    const profiles::Profile profile = profiles::ProfileAtPosition(settings, device, choice.position);
    choice.name = profile.name;
    if (!profile.value)
        choice.error = QStringLiteral("the %1 profile \"%2\" has no settings in %3")
                           .arg(DeviceTitle(deviceType), profile.name, profiles::ProfileFileName);
    return choice;
}

PanelValues ProfilePanelValues(const platform::IniFile &settings, const platform::IniFile &definition,
                               int deviceType, int position)
{
    PanelValues panel;
    panel.deviceType = deviceType;
    panel.profilePosition = position;
    const profiles::Profile profile = profiles::ProfileAtPosition(settings, DeviceName(deviceType), position);
    const QString value = profile.value.value_or(QString());
    const PanelLists lists = ListsFor(definition, deviceType, profiles::ProfileField(value, 1));
    panel.resolutionPosition = positionIn(profiles::ProfileField(value, 3), lists.resolutions);
    panel.frameRatePosition = positionIn(profiles::ProfileField(value, 4), lists.frameRates);
    panel.audioBitRatePosition = positionIn(profiles::ProfileField(value, 6), lists.audioBitRates);
    panel.videoBitRateText = QString::number(
        heldTo(profiles::ProfileField(value, 5), lists.videoBitRate.lower, lists.videoBitRate.upper));

    const VolumeSteps steps = DeviceVolumeSteps(settings, definition, deviceType, position);
    panel.volumePosition = std::max(steps.lowest, std::min(lists.volumes.defaultPosition, steps.highest));
    return panel;
}

VolumeSteps DeviceVolumeSteps(const platform::IniFile &settings, const platform::IniFile &definition,
                              int deviceType, int position)
{
    const QStringList items = ListsFor(definition, deviceType, profileFormat(settings, deviceType, position)).volumes.items;
    if (items.isEmpty())
        return {};
    return {items.first().trimmed().toInt(), items.last().trimmed().toInt()};
}

} // namespace cli
