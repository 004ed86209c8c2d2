#include "JobArguments.h"

#include "common/DeviceType.h"
#include "common/DisplayAspect.h"
#include "common/TextHelpers.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"

#include <QFileInfo>

#include <cmath>

namespace {

constexpr int ArtistLimit = 50;
constexpr int TitleLimit = 40;

// The leading decimal digits of a text; 0 when it starts with none.
int leadingNumber(const QString &text)
{
    qint64 value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > 127)
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 100000000)
            break;
    }
    return static_cast<int>(value);
}

int cut(double value)
{
    if (!std::isfinite(value) || value > 2147483647.0 || value < -2147483648.0)
        return 0;
    return static_cast<int>(value);
}

int raiseToMultipleOf4(int n)
{
    return n % 4 == 0 ? n : n + (4 - n % 4);
}

} // namespace

JobArguments PrepareJobArguments(const PanelValues &panel, const QString &outputFolder,
                                 const platform::IniFile &settings, const platform::IniFile &definition)
{
    JobArguments job;
    job.s_OutputDir = outputFolder + DeviceSubFolder(panel.deviceType);
    job.s_VideoBitRate = panel.videoBitRateText.trimmed();
    job.s_Volume = QString::number(panel.volumePosition);
    // An empty name would land in every file's tags as it stands.
    job.s_Artist = panel.artistText.isEmpty() ? QStringLiteral("Unknown") : LeftCharacters(panel.artistText, ArtistLimit);

    const QString device = DeviceName(panel.deviceType);
    const profiles::Profile profile = profiles::ProfileAtPosition(settings, device, panel.profilePosition);
    const QString value = profile.value.value_or(QString());
    const int format = profile.value ? profiles::ProfileField(value, 1) : 0;
    const int sampleRate = profile.value ? profiles::ProfileField(value, 7) : 0;

    if (panel.deviceType == DeviceIPodMusic) {
        const QString music = QStringLiteral("Music");
        job.s_AudioBitRate = profiles::ReadDefinitionValue(definition, music, QStringLiteral("AudioBitrate"),
                                                           panel.audioBitRatePosition);
        job.s_SampleRate = profiles::ReadDefinitionValue(definition, music, QStringLiteral("AudioSampleRate"), sampleRate);
        return job;
    }
    job.s_VideoFormat = profiles::ReadDefinitionValue(definition, device, QStringLiteral("VideoFormat"), format);
    job.s_FileFormat = profiles::ReadDefinitionValue(definition, device, QStringLiteral("FileFormat"), format);
    const QString section = profiles::FormatSectionName(definition, device, format);
    job.s_FrameSize = profiles::ReadDefinitionValue(definition, section, QStringLiteral("VideoResolution"),
                                                    panel.resolutionPosition);
    job.s_FrameRate = profiles::ReadDefinitionValue(definition, section, QStringLiteral("VideoFrameRate"),
                                                    panel.frameRatePosition);
    job.s_AudioBitRate = profiles::ReadDefinitionValue(definition, section, QStringLiteral("AudioBitrate"),
                                                       panel.audioBitRatePosition);
    job.s_SampleRate = profiles::ReadDefinitionValue(definition, section, QStringLiteral("AudioSampleRate"), sampleRate);
    return job;
}

QString SourceTitle(const QString &filePath)
{
    QString name = QFileInfo(filePath).fileName();
    const int dot = static_cast<int>(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0)
        name.truncate(dot);
    return LeftCharacters(name, TitleLimit);
}

QString ClipTitle(const QString &filePath, const QString &outputName)
{
    return SourceTitle(filePath) + QLatin1Char(' ') + outputName.left(4);
}

QString FitPictureSize(const QString &frameSize, const ClipValues &clip)
{
    const int colon = static_cast<int>(frameSize.indexOf(QLatin1Char(':')));
    const int frameW = colon < 0 ? 0 : leadingNumber(frameSize.left(colon));
    const int frameH = colon < 0 ? 0 : leadingNumber(frameSize.mid(colon + 1, 5));

    double sw = clip.width;
    const double sh = clip.height;
    if (clip.useDisplayAspect)
        sw = cut(clip.height * DisplayAspect(clip.aspectIndex, clip.width, clip.height));
    // No frame, or no picture to fit (a clip without video): the frame as it is.
    if (frameW <= 0 || frameH <= 0 || sw <= 0 || sh <= 0)
        return QString::number(frameW) + QLatin1Char(':') + QString::number(frameH);

    const double source = sw / sh;
    int w = 0;
    int h = 0;
    if (static_cast<double>(frameW) / frameH > source) {
        h = frameH;
        w = std::min(raiseToMultipleOf4(cut(frameH * source)), frameW);
    } else {
        w = frameW;
        h = std::min(raiseToMultipleOf4(cut(frameW / source)), frameH);
    }
    return QString::number(w) + QLatin1Char(':') + QString::number(h);
}

ClipArguments PrepareClipArguments(const ClipValues &clip, const JobArguments &job, int deviceType, int minDuration)
{
    ClipArguments a;
    a.s_SourcePath = clip.filePath;
    a.s_SourceNumber = QString::number(clip.sourceNumber);
    a.i_ClipStart = clip.startTime;
    a.s_StartTime = QString::number(clip.startTime);
    a.i_RangeLength = clip.endTime - clip.startTime;
    a.i_EngineDuration = a.i_RangeLength;
    if (minDuration > 0 && minDuration > a.i_EngineDuration)
        a.i_EngineDuration = minDuration;
    // A range that reaches the clip's end, give or take 2 seconds, converts to the end.
    if (clip.endTime >= clip.duration - 2)
        a.i_EngineDuration = 0;
    a.s_Duration = QString::number(a.i_EngineDuration);
    a.s_DestPath = job.s_OutputDir + clip.outputName;
    a.s_AudioTrack = QStringLiteral("0");
    a.s_Subtitle = QStringLiteral("-1");
    a.s_Title = ClipTitle(clip.filePath, clip.outputName);
    if (deviceType != DeviceIPodMusic)
        a.s_PictureSize = FitPictureSize(job.s_FrameSize, clip);
    a.s_Aspect = QStringLiteral("1:1");
    return a;
}

QStringList ConversionTexts(const JobArguments &job, const ClipArguments &clip, int deviceType)
{
    if (deviceType == DeviceIPodMusic) {
        return {clip.s_SourcePath, clip.s_SourceNumber, clip.s_StartTime, job.s_SampleRate, job.s_AudioBitRate,
                clip.s_Title,      job.s_Artist,        QStringLiteral("Unknown"), clip.s_AudioTrack,
                clip.s_DestPath,   job.s_Volume,        clip.s_Duration};
    }
    const QString fileFormat = deviceType == DeviceIPodVideo ? job.s_FileFormat : QStringLiteral("mp4");
    return {clip.s_SourcePath, clip.s_SourceNumber, clip.s_StartTime, job.s_SampleRate, clip.s_Aspect,
            job.s_VideoFormat, fileFormat,          job.s_VideoBitRate, job.s_AudioBitRate, clip.s_PictureSize,
            job.s_FrameSize,   clip.s_Title,        job.s_Artist,       QStringLiteral("Unknown"), job.s_FrameRate,
            clip.s_AudioTrack, clip.s_Subtitle,     clip.s_DestPath,    job.s_Volume,       clip.s_Duration};
}
