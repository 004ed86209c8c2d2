#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of orvo-convert: what the user asked for, the usage and the help texts.
namespace cli {

struct Request {
    bool help = false;
    bool list = false;
    int deviceType = 2;           // iPhone
    QString profile;              // a list position or an exact name; empty: the device's default
    int start = -1;               // seconds; -1: from the beginning
    int end = -1;                 // seconds; -1: to the end
    std::optional<int> volume;    // none: the profile's volume
    std::optional<QString> artist; // none: the engine's "Unknown"
    QString outputFolder;         // empty: the program's output folder and the device's sub-folder
    QStringList files;
};

// error is empty when the arguments (the program's name not among them) make a request.
struct ParsedCommandLine {
    Request request;
    QString error;
};
ParsedCommandLine ParseCommandLine(const QStringList &arguments);

// Seconds of "HH:MM:SS", "MM:SS" or a number of seconds; -1 for any other text.
int ParseTimeText(const QString &text);

// The device of a --device name (ipod, music, iphone, appletv; letter case ignored), -1 if none.
int DeviceTypeOfName(const QString &name);
// The --device name of a device type.
QString DeviceOptionName(int deviceType);
// What the user calls the device: "iPod video", "iPod music", "iPhone", "Apple TV".
QString DeviceTitle(int deviceType);

// The short usage text shown after a usage error; the full help of --help.
QString UsageText();
QString HelpText();

} // namespace cli
