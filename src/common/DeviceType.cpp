#include "DeviceType.h"

QString DeviceName(int deviceType)
{
    switch (deviceType) {
    case DeviceIPodVideo:
        return QStringLiteral("iPod");
    case DeviceIPodMusic:
        return QStringLiteral("Music");
    case DeviceIPhone:
        return QStringLiteral("iPhone");
    case DeviceAppleTV:
        return QStringLiteral("AppleTV");
    }
    return {};
}

QString DeviceSubFolder(int deviceType)
{
    switch (deviceType) {
    case DeviceIPodVideo:
        return QStringLiteral("IPOD/");
    case DeviceIPodMusic:
        return QStringLiteral("MUSIC/");
    case DeviceIPhone:
        return QStringLiteral("IPHONE/");
    case DeviceAppleTV:
        return QStringLiteral("TV/");
    }
    return {};
}

QString DeviceExtension(int deviceType)
{
    return deviceType == DeviceIPodMusic ? QStringLiteral(".mp3") : QStringLiteral(".mp4");
}
