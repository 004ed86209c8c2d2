#pragma once

#include "platform/IniFile.h"
#include "process/JobArguments.h"

#include <QString>

// Devices and profiles for orvo-convert, read from PfSetting.ini (settings) and PfDef.dll
// (definition) with the profile readers the window uses.
namespace cli {

// Every device with its profiles: position, list text, the default marked with '*'.
QString DeviceListText(const platform::IniFile &settings, const platform::IniFile &definition);

// The profile position for --profile: empty takes the device's default; digits take that
// list position; any other text the profile of exactly that name. error is empty on success.
struct ProfileChoice {
    int position = -1;
    QString name;
    QString error;
};
ProfileChoice ChooseProfile(const platform::IniFile &settings, const platform::IniFile &definition, int deviceType,
                            const QString &wanted);

// What the window's device panel holds once the profile at `position` is applied: the list
// positions of the profile where the lists have them, its video bit rate held to the spin
// field's range, and the volume list's default step.
PanelValues ProfilePanelValues(const platform::IniFile &settings, const platform::IniFile &definition,
                               int deviceType, int position);

// The volume steps the device offers: the numbers of the volume list's first and last item.
struct VolumeSteps {
    int lowest = 0;
    int highest = 0;
};
VolumeSteps DeviceVolumeSteps(const platform::IniFile &settings, const platform::IniFile &definition,
                              int deviceType, int position);

} // namespace cli
