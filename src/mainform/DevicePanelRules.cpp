#include "mainform/DevicePanelRules.h"

#include "common/DeviceType.h"
#include "platform/IniFile.h"

bool ShowsVideoControls(int deviceType)
{
    return deviceType != DeviceIPodMusic;
}

QString OutputFolderText(const QString &outputFolder, int deviceType)
{
    return outputFolder + DeviceSubFolder(deviceType);
}

QString VolumeLabelText(int position)
{
    return QStringLiteral("+ ") + QString::number(position) + QStringLiteral(" db.");
}

VolumeRange VolumeRangeOf(const QStringList &volumeItems)
{
    if (volumeItems.isEmpty())
        return {};
    // Items are the decimal boosts 0, 1, 2, ...; the INI number rule reads anything else as 0.
    return {platform::parseIniInteger(volumeItems.first().trimmed(), 0),
            platform::parseIniInteger(volumeItems.last().trimmed(), 0)};
}

int ListPosition(int position, int count)
{
    return position >= 0 && position < count ? position : -1;
}
