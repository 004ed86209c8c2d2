#include "ProfileJobs.h"

#include "platform/IniFile.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"

#include <QDir>

#include <algorithm>

namespace {

int leadingNumber(const QByteArray &text)
{
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

int raisedToFour(int value) { return value % 4 == 0 ? value : value + 4 - value % 4; }

} // namespace

QByteArray fittedPicture(const QByteArray &frameSize, QSize source)
{
    const int colon = frameSize.indexOf(':');
    const int W = colon < 0 ? 0 : leadingNumber(frameSize.left(colon));
    const int H = colon < 0 ? 0 : leadingNumber(frameSize.mid(colon + 1, 5));
    const double sourceShape = static_cast<double>(source.width()) / source.height();
    int w = W, h = H;
    if (static_cast<double>(W) / H > sourceShape) {
        w = std::min(raisedToFour(static_cast<int>(H * sourceShape)), W);
    } else {
        h = std::min(raisedToFour(static_cast<int>(W / sourceShape)), H);
    }
    return QByteArray::number(w) + ":" + QByteArray::number(h);
}

QVector<ProfileJob> shippedProfileJobs(const QString &programFolder, const QString &sourcePath,
                                       QSize sourceSize, const QString &outputFolder)
{
    using namespace profiles;
    const platform::IniFile settings(QDir(programFolder).filePath(ProfileFileName));
    const platform::IniFile definition(QDir(programFolder).filePath(DefinitionFileName));
    const struct {
        const char *name;
        int type;
    } devices[] = {{"iPod", 0}, {"Music", 1}, {"iPhone", 2}, {"AppleTV", 3}};

    QVector<ProfileJob> jobs;
    int serial = 0;
    for (const auto &device : devices) {
        const ProfileList list = LoadProfileList(settings, definition, device.name, device.type);
        for (int position = 0; position < list.entries.size(); ++position) {
            const Profile profile = ProfileAtPosition(settings, device.name, position);
            if (!profile.value)
                continue;
            const QString &value = *profile.value;
            ProfileJob job;
            job.device = device.name;
            job.deviceType = device.type;
            job.name = profile.name;
            const QByteArray number = QString("%1").arg(++serial, 4, 10, QChar('0')).toUtf8();
            const QByteArray title = "Clip " + number;
            if (device.type == MusicDeviceType) {
                job.music.sourcePath = sourcePath.toUtf8();
                job.music.audioBitRate = ReadDefinitionValue(definition, "Music", "AudioBitrate",
                                                             ProfileField(value, 6)).toUtf8();
                job.music.sampleRate = ReadDefinitionValue(definition, "Music", "AudioSampleRate",
                                                           ProfileField(value, 7)).toUtf8();
                job.music.title = title;
                job.music.destPath = QDir(outputFolder).filePath(number + ".mp3").toUtf8();
            } else {
                const int format = ProfileField(value, 1);
                const QString section = FormatSectionName(definition, device.name, format);
                const SpinRange bitRate = FillSpinFromDefinition(definition, section, "VideoBitRate");
                VideoCall &call = job.video;
                call.deviceType = device.type;
                call.sourcePath = sourcePath.toUtf8();
                call.videoFormat = ReadDefinitionValue(definition, device.name, "VideoFormat", format).toUtf8();
                call.fileFormat = device.type == 0
                                      ? ReadDefinitionValue(definition, device.name, "FileFormat", format).toUtf8()
                                      : QByteArray("mp4");
                call.frameSize = ReadDefinitionValue(definition, section, "VideoResolution",
                                                     ProfileField(value, 3)).toUtf8();
                call.frameRate = ReadDefinitionValue(definition, section, "VideoFrameRate",
                                                     ProfileField(value, 4)).toUtf8();
                call.videoBitRate = QByteArray::number(
                    std::clamp(ProfileField(value, 5), bitRate.lower, std::max(bitRate.lower, bitRate.upper)));
                call.audioBitRate = ReadDefinitionValue(definition, section, "AudioBitrate",
                                                        ProfileField(value, 6)).toUtf8();
                call.sampleRate = ReadDefinitionValue(definition, section, "AudioSampleRate",
                                                      ProfileField(value, 7)).toUtf8();
                call.volume = QByteArray::number(
                    std::max(0, FillListFromDefinition(definition, section, "AudioVolume").defaultPosition));
                call.pictureSize = fittedPicture(call.frameSize, sourceSize);
                call.title = title;
                call.destPath = QDir(outputFolder).filePath(number + ".mp4").toUtf8();
            }
            jobs.append(job);
        }
    }
    return jobs;
}
