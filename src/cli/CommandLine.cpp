#include "CommandLine.h"

#include "common/DeviceType.h"

#include <QRegularExpression>

namespace cli {

namespace {

// A time far beyond any video, and safely inside an int.
constexpr int MaxSeconds = 100 * 24 * 3600;

bool isDigits(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    return digits.match(text).hasMatch();
}

// The value of an option given as "--name value" or "--name=value". Advances i past a separate
// value; false when there is none.
bool takeValue(const QStringList &arguments, int &i, const QString &inlineValue, bool hasInline, QString &value)
{
    if (hasInline) {
        value = inlineValue;
        return true;
    }
    if (i + 1 >= arguments.size())
        return false;
    value = arguments.at(++i);
    return true;
}

} // namespace

int ParseTimeText(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() > 3)
        return -1;
    qint64 seconds = 0;
    for (int i = 0; i < parts.size(); ++i) {
        if (!isDigits(parts.at(i)))
            return -1;
        const qint64 part = parts.at(i).toLongLong();
        // Minutes and seconds after a colon stay below 60.
        if (i > 0 && part >= 60)
            return -1;
        seconds = seconds * 60 + part;
        if (seconds > MaxSeconds)
            return -1;
    }
    return static_cast<int>(seconds);
}

int DeviceTypeOfName(const QString &name)
{
    for (int device : {DeviceIPodVideo, DeviceIPodMusic, DeviceIPhone, DeviceAppleTV}) {
        if (name.compare(DeviceOptionName(device), Qt::CaseInsensitive) == 0)
            return device;
    }
    return -1;
}

QString DeviceOptionName(int deviceType)
{
    switch (deviceType) {
    case DeviceIPodVideo:
        return QStringLiteral("ipod");
    case DeviceIPodMusic:
        return QStringLiteral("music");
    case DeviceIPhone:
        return QStringLiteral("iphone");
    case DeviceAppleTV:
        return QStringLiteral("appletv");
    }
    return {};
}

QString DeviceTitle(int deviceType)
{
    switch (deviceType) {
    case DeviceIPodVideo:
        return QStringLiteral("iPod video");
    case DeviceIPodMusic:
        return QStringLiteral("iPod music");
    case DeviceIPhone:
        return QStringLiteral("iPhone");
    case DeviceAppleTV:
        return QStringLiteral("Apple TV");
    }
    return {};
}

ParsedCommandLine ParseCommandLine(const QStringList &arguments)
{
    ParsedCommandLine parsed;
    Request &r = parsed.request;
    bool optionsEnd = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnd || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            r.files << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        const int equals = static_cast<int>(argument.indexOf(QLatin1Char('=')));
        const bool hasInline = argument.startsWith(QLatin1String("--")) && equals > 0;
        const QString name = hasInline ? argument.left(equals) : argument;
        const QString inlineValue = hasInline ? argument.mid(equals + 1) : QString();
        const auto needsNoValue = [&] {
            if (hasInline)
                parsed.error = name + QStringLiteral(" takes no value");
            return !hasInline;
        };
        QString value;
        const auto needsValue = [&] {
            if (takeValue(arguments, i, inlineValue, hasInline, value))
                return true;
            parsed.error = name + QStringLiteral(" needs a value");
            return false;
        };

        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            if (!needsNoValue())
                return parsed;
            r.help = true;
        } else if (name == QLatin1String("--list") || name == QLatin1String("-l")) {
            if (!needsNoValue())
                return parsed;
            r.list = true;
        } else if (name == QLatin1String("--device") || name == QLatin1String("-d")) {
            if (!needsValue())
                return parsed;
            r.deviceType = DeviceTypeOfName(value);
            if (r.deviceType < 0) {
                parsed.error = QStringLiteral("unknown device \"%1\" (choose ipod, music, iphone or appletv)").arg(value);
                return parsed;
            }
        } else if (name == QLatin1String("--profile") || name == QLatin1String("-p")) {
            if (!needsValue())
                return parsed;
            if (value.trimmed().isEmpty()) {
                parsed.error = QStringLiteral("--profile needs a position or a name");
                return parsed;
            }
            r.profile = value;
        } else if (name == QLatin1String("--start") || name == QLatin1String("-s") || name == QLatin1String("--end")
                   || name == QLatin1String("-e")) {
            if (!needsValue())
                return parsed;
            const int seconds = ParseTimeText(value);
            if (seconds < 0) {
                parsed.error = QStringLiteral("%1 \"%2\" is not a time (HH:MM:SS or whole seconds)").arg(name, value);
                return parsed;
            }
            const bool isStart = name == QLatin1String("--start") || name == QLatin1String("-s");
            (isStart ? r.start : r.end) = seconds;
        } else if (name == QLatin1String("--volume") || name == QLatin1String("-v")) {
            if (!needsValue())
                return parsed;
            bool ok = false;
            const int volume = value.toInt(&ok);
            if (!ok) {
                parsed.error = QStringLiteral("--volume \"%1\" is not a whole number").arg(value);
                return parsed;
            }
            r.volume = volume;
        } else if (name == QLatin1String("--artist") || name == QLatin1String("-a")) {
            if (!needsValue())
                return parsed;
            r.artist = value;
        } else if (name == QLatin1String("--output") || name == QLatin1String("-o")) {
            if (!needsValue())
                return parsed;
            if (value.isEmpty()) {
                parsed.error = QStringLiteral("--output needs a folder");
                return parsed;
            }
            r.outputFolder = value;
        } else {
            parsed.error = QStringLiteral("unknown option %1").arg(name);
            return parsed;
        }
    }
    if (r.start >= 0 && r.end >= 0 && r.end <= r.start) {
        parsed.error = QStringLiteral("--end must come after --start");
        return parsed;
    }
    if (r.start < 0 && r.end == 0) {
        parsed.error = QStringLiteral("--end must come after the start of the file");
        return parsed;
    }
    if (!r.help && !r.list && r.files.isEmpty())
        parsed.error = QStringLiteral("no file to convert");
    return parsed;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: orvo-convert [--device ipod|music|iphone|appletv] [--profile N|NAME]\n"
        "                    [--start TIME] [--end TIME] [--volume N] [--artist NAME]\n"
        "                    [--output DIR] FILE...\n"
        "       orvo-convert --list\n"
        "       orvo-convert --help\n");
}

QString HelpText()
{
    return UsageText() + QStringLiteral(R"(
Converts video and sound files into files that Apple devices play: iPod video, iPod
music (MP3), iPhone / iPod touch and Apple TV. Uses the same profiles, device limits and
engine as the Orvo Video Converter window. Files are converted one after another.

Options:
  -d, --device DEVICE   the device to convert for: ipod (iPod video), music (iPod
                        music, MP3), iphone (iPhone and iPod touch, the default) or
                        appletv (Apple TV)
  -p, --profile N|NAME  the profile: its position as --list shows it, or its exact
                        name; the default is the device's default profile (marked *)
  -s, --start TIME      convert from TIME on (HH:MM:SS, MM:SS or seconds)
  -e, --end TIME        convert up to TIME; the same range is used for every file
  -v, --volume N        raise the sound by N dB, from 0 (the default) up to the
                        device's largest step (9 with the shipped profiles)
  -a, --artist NAME     the artist written into every file's tags
  -o, --output DIR      write the files into DIR (created when missing); the default
                        is the program's output folder (Option.ini, "OutputFolder")
                        with the device's sub-folder: IPOD, MUSIC, IPHONE or TV
  -l, --list            list the devices and their profiles, then end
  -h, --help            show this help, then end

Output files take the source's name with .mp4 (.mp3 for iPod music). A file that is
already there is never replaced: the next free name is taken, as "Name (2).mp4".

Files the engine cannot read are skipped, and so are files that Option.ini refuses:
extensions under ExtName, container formats under CodecName, and pictures wider than
MaxWidth pixels (800 without the key; MaxWidth=0 converts every width).

On a terminal, a line per file shows the progress: percent done, a bar, the position
in the source, frames per second and the time left. Otherwise one line is written per
file when it ends. A summary follows the last file.

Ctrl+C stops the current file (the part done is kept and plays) and converts no more;
a second Ctrl+C ends the program at once.

Exit status: 0 every file converted; 1 a file was skipped or failed; 2 wrong usage;
130 stopped by Ctrl+C.

Examples:
  orvo-convert --list
  orvo-convert --device ipod --output ~/iPod "Season 1"/*.mkv
  orvo-convert -d music -p "MP3 - 192 kbps High Quality" --artist "Radio Show" *.wav
  orvo-convert -d appletv --start 00:01:30 --end 00:45:00 --volume 3 film.avi
)");
}

} // namespace cli
