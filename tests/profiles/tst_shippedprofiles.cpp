// Checks the shipped PfDef.dll and PfSetting.ini: every key the program needs is there, every
// profile points inside its lists, and every value the engine would get is one it accepts and
// one the device plays.
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <cmath>

using platform::IniFile;
using namespace profiles;

namespace {

// What each device plays, per engine video format.
struct VideoLimit {
    const char *device;
    const char *format;     // engine value of the format
    const char *fileFormat; // engine value the file format must have
    int maxWidth;
    int maxHeight;
    int maxKbps;
    // H.264 Baseline at level 1.3 (the engine's choice up to 320x240) allows less.
    int lowLevelWidth;
    int lowLevelHeight;
    int lowLevelMaxKbps;
    // Apple TV plays its largest frames only up to 24 fps; 0 where there is no such limit.
    int fastFrameArea;
    double maxFps;
    double maxFpsAboveFastArea;
    int maxAudioKbps;
};

const VideoLimit VideoLimits[] = {
    {"iPod", "h264", "ipod", 640, 480, 1500, 320, 240, 768, 0, 30, 30, 160},
    {"iPod", "mpeg4", "mp4", 640, 480, 2500, 0, 0, 0, 0, 30, 30, 160},
    {"iPhone", "h264", "mp4", 640, 480, 1500, 320, 240, 768, 0, 30, 30, 160},
    {"iPhone", "mpeg4", "mp4", 640, 480, 2500, 0, 0, 0, 0, 30, 30, 160},
    {"AppleTV", "h264", "mp4", 1280, 720, 5000, 0, 0, 0, 960 * 540, 30, 24, 320},
    {"AppleTV", "mpeg4", "mp4", 720, 432, 3000, 0, 0, 0, 0, 30, 30, 320},
};

const QSet<QString> EngineFrameRates = {"23.97", "23.976", "24", "25", "29.97", "30", "source"};
// The engine value that keeps the source's rate, held by the engine to what the device plays.
const QString SourceRate = QStringLiteral("source");
// The rates of the frame-rate positions that profiles stored before "Source" was appended;
// hand-written profiles in users' PfSetting.ini files still point at them.
const QStringList StoredFrameRates = {"23.976", "24", "25", "29.97", "30"};
const QSet<int> SampleRates = {32000, 44100, 48000};
const QSet<int> Mp3BitRates = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

struct Device {
    const char *name;
    int type;
};
const Device Devices[] = {{"iPod", 0}, {"Music", 1}, {"iPhone", 2}, {"AppleTV", 3}};

IniFile definitionFile() { return IniFile(QStringLiteral(ORVO_SOURCE_DIR "/data/PfDef.dll")); }
IniFile settingsFile() { return IniFile(QStringLiteral(ORVO_SOURCE_DIR "/data/PfSetting.ini")); }

bool present(const IniFile &file, const QString &section, const QString &key)
{
    return file.readString(section, key, NoDefinition) != NoDefinition;
}

const VideoLimit *limitFor(const QString &device, const QString &format)
{
    for (const VideoLimit &limit : VideoLimits)
        if (device == QLatin1String(limit.device) && format == QLatin1String(limit.format))
            return &limit;
    return nullptr;
}

// Empty when the frame size is of the form W:H with even, positive numbers the device plays.
QString frameSizeFault(const VideoLimit &limit, const QString &value, int *area = nullptr)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+):(\\d+)$"));
    const auto match = form.match(value);
    if (!match.hasMatch())
        return QStringLiteral("frame size '%1' is not W:H").arg(value);
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w <= 0 || h <= 0 || w % 2 || h % 2)
        return QStringLiteral("frame size %1 must be even and positive").arg(value);
    if (w > limit.maxWidth || h > limit.maxHeight)
        return QStringLiteral("frame size %1 exceeds %2x%3").arg(value).arg(limit.maxWidth).arg(limit.maxHeight);
    if (area)
        *area = w * h;
    return QString();
}

QString frameRateFault(const VideoLimit &limit, const QString &value, int area)
{
    if (!EngineFrameRates.contains(value))
        return QStringLiteral("frame rate '%1' is not one the engine accepts").arg(value);
    if (value == SourceRate)
        return QString();
    const double max = limit.fastFrameArea && area > limit.fastFrameArea ? limit.maxFpsAboveFastArea : limit.maxFps;
    if (value.toDouble() > max)
        return QStringLiteral("frame rate %1 exceeds %2 fps for this size").arg(value).arg(max);
    return QString();
}

QString videoKbpsFault(const VideoLimit &limit, int kbps, int w, int h)
{
    int max = limit.maxKbps;
    if (limit.lowLevelWidth && w <= limit.lowLevelWidth && h <= limit.lowLevelHeight)
        max = limit.lowLevelMaxKbps;
    if (kbps <= 0 || kbps > max)
        return QStringLiteral("video bit rate %1 outside 1..%2 kbps").arg(kbps).arg(max);
    return QString();
}

QString audioFault(int maxKbps, bool mp3, const QString &kbps, const QString &rate)
{
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    if (!number.match(kbps).hasMatch() || !number.match(rate).hasMatch())
        return QStringLiteral("audio values '%1', '%2' are not plain numbers").arg(kbps, rate);
    const int k = kbps.toInt();
    if (mp3 ? !Mp3BitRates.contains(k) : (k < 32 || k > maxKbps))
        return QStringLiteral("audio bit rate %1 is not one the device plays").arg(kbps);
    if (!SampleRates.contains(rate.toInt()))
        return QStringLiteral("sample rate %1 is not one the device plays").arg(rate);
    return QString();
}

// An enumerated list definition with a text for every n from 0 to Count - 1.
QString listFault(const IniFile &file, const QString &section, const QString &key)
{
    const int count = file.readInteger(section, key + QLatin1String("Count"), 0);
    if (count < 1)
        return QStringLiteral("%1/%2 has no enumerated list").arg(section, key);
    for (int n = 0; n < count; ++n)
        if (ReadDefinitionText(file, section, key, n).isEmpty())
            return QStringLiteral("%1/%2 has no text %3").arg(section, key).arg(n);
    return QString();
}

QString profileNameFault(const QString &name)
{
    static const QRegularExpression reserved(QStringLiteral("^(ProfileCount|ProfileDefault|ProfileText\\d+|nodef|Custom Profile)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (name.isEmpty() || name.trimmed() != name || name.contains(QLatin1Char('=')) || name.startsWith(QLatin1Char('['))
        || name.startsWith(QLatin1Char(';')))
        return QStringLiteral("'%1' is not usable as an INI key").arg(name);
    if (reserved.match(name).hasMatch())
        return QStringLiteral("'%1' is a reserved name").arg(name);
    return QString();
}

} // namespace

class TestShippedProfiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(definitionFile().path()));
        QVERIFY(QFile::exists(settingsFile().path()));
    }

    void deviceSections_data()
    {
        QTest::addColumn<QString>("device");
        for (const char *device : {"iPod", "iPhone", "AppleTV"})
            QTest::newRow(device) << QString::fromLatin1(device);
    }

    // Device section and every format section: keys present, lists complete, choices playable.
    void deviceSections()
    {
        QFETCH(QString, device);
        const IniFile def = definitionFile();
        const int formats = VideoFormatCount(def, device);
        QVERIFY(formats >= 1);
        for (int f = 0; f < formats; ++f) {
            const QString format = ReadDefinitionValue(def, device, "VideoFormat", f);
            const VideoLimit *limit = limitFor(device, format);
            QVERIFY2(limit, qPrintable(QStringLiteral("%1 format %2: value '%3'").arg(device).arg(f).arg(format)));
            QCOMPARE(ReadDefinitionValue(def, device, "FileFormat", f), QString::fromLatin1(limit->fileFormat));

            const QString section = FormatSectionName(def, device, f);
            QVERIFY2(!ReadDefinitionText(def, device, "VideoFormat", f).isEmpty(), qPrintable(section));
            for (const char *key : {"VideoResolution", "VideoFrameRate", "AudioBitrate", "AudioSampleRate", "AudioVolume"}) {
                const QString fault = listFault(def, section, key);
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            }
            for (const char *key : {"VideoBitRateMin", "VideoBitRateMax", "VideoBitRateDefault"})
                QVERIFY2(present(def, section, key), qPrintable(section + "/" + key));

            const ListDefinition sizes = FillListFromDefinition(def, section, "VideoResolution");
            for (int n = 0; n < sizes.items.size(); ++n) {
                const QString fault = frameSizeFault(*limit, ReadDefinitionValue(def, section, "VideoResolution", n));
                QVERIFY2(fault.isEmpty(), qPrintable(section + ": " + fault));
            }
            const ListDefinition rates = FillListFromDefinition(def, section, "VideoFrameRate");
            for (int n = 0; n < rates.items.size(); ++n) {
                const QString fault = frameRateFault(*limit, ReadDefinitionValue(def, section, "VideoFrameRate", n), 0);
                QVERIFY2(fault.isEmpty(), qPrintable(section + ": " + fault));
            }
            // New choices go last, so that every stored position keeps its rate.
            const int sourcePosition = static_cast<int>(StoredFrameRates.size());
            QVERIFY2(rates.items.size() > sourcePosition, qPrintable(section));
            for (int n = 0; n < sourcePosition; ++n)
                QCOMPARE(ReadDefinitionValue(def, section, "VideoFrameRate", n), StoredFrameRates.at(n));
            QCOMPARE(rates.items.at(sourcePosition), QStringLiteral("Source"));
            QCOMPARE(ReadDefinitionValue(def, section, "VideoFrameRate", sourcePosition), SourceRate);
            const ListDefinition audio = FillListFromDefinition(def, section, "AudioBitrate");
            for (int n = 0; n < audio.items.size(); ++n) {
                const QString fault = audioFault(limit->maxAudioKbps, false, ReadDefinitionValue(def, section, "AudioBitrate", n),
                                                 ReadDefinitionValue(def, section, "AudioSampleRate", 0));
                QVERIFY2(fault.isEmpty(), qPrintable(section + ": " + fault));
            }
            for (int n = 0; n < def.readInteger(section, "AudioSampleRateCount", 0); ++n) {
                const QString fault = audioFault(limit->maxAudioKbps, false, "128", ReadDefinitionValue(def, section, "AudioSampleRate", n));
                QVERIFY2(fault.isEmpty(), qPrintable(section + ": " + fault));
            }

            // What the panel shows before any profile is applied plays as it is.
            QVERIFY2(sizes.defaultPosition >= 0 && rates.defaultPosition >= 0 && audio.defaultPosition >= 0, qPrintable(section));
            const SpinRange bitRate = FillSpinFromDefinition(def, section, "VideoBitRate");
            QVERIFY2(bitRate.lower >= 1 && bitRate.lower <= bitRate.value && bitRate.value <= bitRate.upper
                         && bitRate.upper <= limit->maxKbps,
                     qPrintable(section + ": VideoBitRate range"));
            const QString size = ReadDefinitionValue(def, section, "VideoResolution", sizes.defaultPosition);
            int area = 0;
            QVERIFY(frameSizeFault(*limit, size, &area).isEmpty());
            const QStringList wh = size.split(':');
            QString fault = frameRateFault(*limit, ReadDefinitionValue(def, section, "VideoFrameRate", rates.defaultPosition), area);
            if (fault.isEmpty())
                fault = videoKbpsFault(*limit, bitRate.value, wh.at(0).toInt(), wh.at(1).toInt());
            QVERIFY2(fault.isEmpty(), qPrintable(section + " defaults: " + fault));
        }
    }

    void musicSection()
    {
        const IniFile def = definitionFile();
        QCOMPARE(VideoFormatCount(def, "Music"), 0);
        for (const char *key : {"AudioBitrate", "AudioSampleRate", "AudioVolume"}) {
            const QString fault = listFault(def, "Music", key);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
        }
        for (int n = 0; n < def.readInteger("Music", "AudioBitrateCount", 0); ++n) {
            for (int r = 0; r < def.readInteger("Music", "AudioSampleRateCount", 0); ++r) {
                const QString fault = audioFault(320, true, ReadDefinitionValue(def, "Music", "AudioBitrate", n),
                                                 ReadDefinitionValue(def, "Music", "AudioSampleRate", r));
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            }
        }
        QVERIFY(FillListFromDefinition(def, "Music", "AudioBitrate").defaultPosition >= 0);
    }

    void volumeListsCountFromZero_data()
    {
        QTest::addColumn<QString>("section");
        const IniFile def = definitionFile();
        QTest::newRow("Music") << QStringLiteral("Music");
        for (const char *device : {"iPod", "iPhone", "AppleTV"}) {
            for (int f = 0; f < VideoFormatCount(def, device); ++f) {
                const QString section = FormatSectionName(def, device, f);
                QTest::newRow(qPrintable(section)) << section;
            }
        }
    }

    void volumeListsCountFromZero()
    {
        QFETCH(QString, section);
        const ListDefinition volume = FillListFromDefinition(definitionFile(), section, "AudioVolume");
        QVERIFY(!volume.items.isEmpty());
        for (int n = 0; n < volume.items.size(); ++n)
            QCOMPARE(volume.items.at(n), QString::number(n));
        QCOMPARE(volume.defaultPosition, 0);
    }

    void profiles_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("type");
        for (const Device &device : Devices)
            QTest::newRow(device.name) << QString::fromLatin1(device.name) << device.type;
    }

    void profiles()
    {
        QFETCH(QString, device);
        QFETCH(int, type);
        const IniFile def = definitionFile();
        const IniFile settings = settingsFile();
        const QString section = ProfileSectionName(device);
        const ProfileList list = LoadProfileList(settings, def, device, type);

        QVERIFY2(list.entries.size() >= 4, "a device needs a real choice of profiles");
        QCOMPARE(list.entries.size(), settings.readInteger(section, "ProfileCount", -1)); // no empty slots
        QVERIFY(present(settings, section, "ProfileDefault"));
        QCOMPARE(settings.readInteger(section, "ProfileDefault", -1), list.defaultPosition);
        QVERIFY(list.defaultPosition >= 0);

        QSet<QString> seen;
        for (int p = 0; p < list.entries.size(); ++p) {
            const ProfileEntry &entry = list.entries.at(p);
            const QString where = device + " / " + entry.name + ": ";
            QString fault = profileNameFault(entry.name);
            QVERIFY2(fault.isEmpty(), qPrintable(where + fault));
            QVERIFY2(!seen.contains(entry.name.toLower()), qPrintable(where + "name used twice"));
            seen.insert(entry.name.toLower());

            QVERIFY2(entry.value, qPrintable(where + "no value"));
            const QString value = *entry.value;
            QVERIFY2(QRegularExpression("^(-?\\d+,){9}$").match(value).hasMatch(), qPrintable(where + "not nine fields: " + value));
            QCOMPARE(ProfileField(value, 2), 0);
            QCOMPARE(ProfileField(value, 9), 1);
            QCOMPARE(ProfileAtPosition(settings, device, p).name, entry.name);

            fault = type == MusicDeviceType ? musicProfileFault(def, value, entry.listText, entry.name)
                                            : videoProfileFault(def, device, value, entry.listText, entry.name);
            QVERIFY2(fault.isEmpty(), qPrintable(where + fault));
        }
    }

    // Profiles named for a use keep the source's rate, those named after a rate keep that
    // rate, and every device opens on a profile that keeps the source's rate.
    void frameRateFollowsTheName_data() { profiles_data(); }

    void frameRateFollowsTheName()
    {
        QFETCH(QString, device);
        QFETCH(int, type);
        if (type == MusicDeviceType)
            QSKIP("no pictures");
        const IniFile def = definitionFile();
        const IniFile settings = settingsFile();
        const ProfileList list = LoadProfileList(settings, def, device, type);
        static const QRegularExpression forUse(QStringLiteral("Standard|High Quality|Widescreen|Small File|TV Out"));
        static const QRegularExpression named(QStringLiteral("([\\d.]+) fps"));
        for (int p = 0; p < list.entries.size(); ++p) {
            const ProfileEntry &entry = list.entries.at(p);
            const QString value = *entry.value;
            const QString section = FormatSectionName(def, device, ProfileField(value, 1));
            const QString rate = ReadDefinitionValue(def, section, "VideoFrameRate", ProfileField(value, 4));
            const auto match = named.match(entry.name);
            if (match.hasMatch())
                QVERIFY2(std::fabs(rate.toDouble() - match.captured(1).toDouble()) < 0.01, qPrintable(entry.name + ": " + rate));
            else if (forUse.match(entry.name).hasMatch() || p == list.defaultPosition)
                QVERIFY2(rate == SourceRate, qPrintable(entry.name + ": " + rate));
        }
        QCOMPARE(ReadDefinitionText(def, FormatSectionName(def, device, ProfileField(*list.entries.at(list.defaultPosition).value, 1)),
                                    "VideoFrameRate", ProfileField(*list.entries.at(list.defaultPosition).value, 4)),
                 QStringLiteral("Source"));
    }

private:
    static QString musicProfileFault(const IniFile &def, const QString &value, const QString &listText, const QString &name)
    {
        for (int k : {1, 3, 4, 5, 8})
            if (ProfileField(value, k) != 0)
                return QStringLiteral("field %1 of a music profile must be 0").arg(k);
        const int bitRate = ProfileField(value, 6);
        const int rate = ProfileField(value, 7);
        if (bitRate < 0 || bitRate >= FillListFromDefinition(def, "Music", "AudioBitrate").items.size())
            return QStringLiteral("audio bit rate position %1 outside the list").arg(bitRate);
        if (ReadDefinitionText(def, "Music", "AudioSampleRate", rate).isEmpty())
            return QStringLiteral("sample rate position %1 outside the list").arg(rate);
        const QString fault = audioFault(320, true, ReadDefinitionValue(def, "Music", "AudioBitrate", bitRate),
                                         ReadDefinitionValue(def, "Music", "AudioSampleRate", rate));
        if (!fault.isEmpty())
            return fault;
        const QRegularExpression form("^" + QRegularExpression::escape(name) + " : Audio-\\d+kbps,\\d+hz$");
        return form.match(listText).hasMatch() ? QString() : QStringLiteral("list text '%1'").arg(listText);
    }

    static QString videoProfileFault(const IniFile &def, const QString &device, const QString &value,
                                     const QString &listText, const QString &name)
    {
        const int format = ProfileField(value, 1);
        if (format < 0 || format >= VideoFormatCount(def, device))
            return QStringLiteral("format position %1 outside the device's formats").arg(format);
        const QString section = FormatSectionName(def, device, format);
        const struct {
            const char *key;
            int field;
        } positions[] = {{"VideoResolution", 3}, {"VideoFrameRate", 4}, {"AudioBitrate", 6}, {"AudioVolume", 8}};
        for (const auto &position : positions) {
            const int n = ProfileField(value, position.field);
            if (n < 0 || n >= FillListFromDefinition(def, section, position.key).items.size())
                return QStringLiteral("field %1 = %2 outside %3 of %4").arg(position.field).arg(n).arg(position.key, section);
        }
        if (ReadDefinitionText(def, section, "AudioSampleRate", ProfileField(value, 7)).isEmpty())
            return QStringLiteral("sample rate position outside %1").arg(section);
        const SpinRange bitRate = FillSpinFromDefinition(def, section, "VideoBitRate");
        const int kbps = ProfileField(value, 5);
        if (kbps < bitRate.lower || kbps > bitRate.upper)
            return QStringLiteral("video bit rate %1 outside the spin range of %2").arg(kbps).arg(section);

        // The values the conversion hands to the engine once the panel has applied the profile.
        const QString videoFormat = ReadDefinitionValue(def, device, "VideoFormat", format);
        const VideoLimit *limit = limitFor(device, videoFormat);
        if (!limit)
            return QStringLiteral("video format '%1' is not one the engine accepts").arg(videoFormat);
        if (ReadDefinitionValue(def, device, "FileFormat", format) != QLatin1String(limit->fileFormat))
            return QStringLiteral("file format must be %1").arg(limit->fileFormat);
        const QString size = ReadDefinitionValue(def, section, "VideoResolution", ProfileField(value, 3));
        int area = 0;
        QString fault = frameSizeFault(*limit, size, &area);
        if (fault.isEmpty())
            fault = frameRateFault(*limit, ReadDefinitionValue(def, section, "VideoFrameRate", ProfileField(value, 4)), area);
        if (fault.isEmpty()) {
            const QStringList wh = size.split(':');
            fault = videoKbpsFault(*limit, kbps, wh.at(0).toInt(), wh.at(1).toInt());
        }
        if (fault.isEmpty())
            fault = audioFault(limit->maxAudioKbps, false, ReadDefinitionValue(def, section, "AudioBitrate", ProfileField(value, 6)),
                               ReadDefinitionValue(def, section, "AudioSampleRate", ProfileField(value, 7)));
        if (!fault.isEmpty())
            return fault;
        const QRegularExpression form("^" + QRegularExpression::escape(name)
                                      + " : Video-(h264|mpeg4),\\d+:\\d+,\\d+kbps,Audio-\\d+kbps,\\d+hz$");
        return form.match(listText).hasMatch() ? QString() : QStringLiteral("list text '%1'").arg(listText);
    }
};

QTEST_GUILESS_MAIN(TestShippedProfiles)
#include "tst_shippedprofiles.moc"
