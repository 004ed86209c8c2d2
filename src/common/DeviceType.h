#pragma once

#include <QString>

// The output device as a number, and what follows from it.
enum DeviceType : int {
    DeviceIPodVideo = 0,
    DeviceIPodMusic = 1,
    DeviceIPhone = 2,
    DeviceAppleTV = 3
};

// The device's section name in both profile files: "iPod", "Music", "iPhone", "AppleTV".
QString DeviceName(int deviceType);
// The sub-folder of the output folder its files are written to: "IPOD/", "MUSIC/",
// "IPHONE/", "TV/".
QString DeviceSubFolder(int deviceType);
// ".mp3" for iPod music, ".mp4" otherwise.
QString DeviceExtension(int deviceType);
