#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

// The engine's arguments for a conversion, assembled from what the main window shows, the
// clip entry, and the profile files. Window-free: the worker reads the controls and hands
// their values in.

// The panel's state as the conversion reads it.
struct PanelValues {
    int deviceType = 2;
    int profilePosition = -1;
    int resolutionPosition = -1;
    int frameRatePosition = -1;
    int audioBitRatePosition = -1;
    QString videoBitRateText; // the spin field's text
    int volumePosition = 0;   // the track bar's position, which is the boost in dB
    QString artistText;
};

// One clip entry's values.
struct ClipValues {
    QString filePath;
    int sourceNumber = 0;
    int duration = 0;
    int startTime = 0;
    int endTime = 0;
    int width = 0;
    int height = 0;
    int aspectIndex = -1;
    bool useDisplayAspect = false;
    QString outputName; // the text of the entry's output name label
};

// Per job.
struct JobArguments {
    QString s_OutputDir;
    QString s_VideoBitRate;
    QString s_Volume;
    QString s_Artist;
    QString s_VideoFormat;
    QString s_FileFormat;
    QString s_FrameSize;
    QString s_FrameRate;
    QString s_AudioBitRate;
    QString s_SampleRate;
};

// Per clip.
struct ClipArguments {
    QString s_SourcePath;
    QString s_SourceNumber;
    int i_ClipStart = 0;
    QString s_StartTime;
    int i_RangeLength = 0;
    int i_EngineDuration = 0;
    QString s_Duration;
    QString s_Aspect;
    QString s_PictureSize;
    QString s_Title;
    QString s_DestPath;
    QString s_AudioTrack;
    QString s_Subtitle;
};

// The per-job values. settings is PfSetting.ini, definition PfDef.dll. Where the selected
// position has no profile value, the panel's current positions are taken with the first
// format and the first sample rate, so the engine never gets stale or empty values.
JobArguments PrepareJobArguments(const PanelValues &panel, const QString &outputFolder,
                                 const platform::IniFile &settings, const platform::IniFile &definition);

// The per-clip values; minDuration is the option's minimum engine duration (-1: none).
ClipArguments PrepareClipArguments(const ClipValues &clip, const JobArguments &job, int deviceType, int minDuration);

// Title: SourceTitle, a blank and the first four characters of the output name.
QString ClipTitle(const QString &filePath, const QString &outputName);
// The file name without folder and extension, cut to 40 characters.
QString SourceTitle(const QString &filePath);

// The picture size "w:h" that fits the clip's display shape into the frame "W:H".
QString FitPictureSize(const QString &frameSize, const ClipValues &clip);

// The text arguments of a conversion call in their order: 20 for the video devices,
// 12 for iPod music (window, mode and stamp are not texts).
QStringList ConversionTexts(const JobArguments &job, const ClipArguments &clip, int deviceType);
