#pragma once

// The engine arguments of every shipped profile, assembled the way the conversion job
// assembles them from PfSetting.ini and PfDef.dll when a profile is picked and nothing
// else is changed on the panel.

#include "ConvertEngine.h"

#include <QSize>
#include <QString>
#include <QVector>

struct ProfileJob {
    QString device;      // "iPod", "Music", "iPhone", "AppleTV"
    int deviceType = 0;
    QString name;
    VideoCall video;     // device types 0, 2, 3
    MusicCall music;     // device type 1
};

// The source is described by its stored size (no display aspect), as the clip list holds it.
QVector<ProfileJob> shippedProfileJobs(const QString &programFolder, const QString &sourcePath,
                                       QSize sourceSize, const QString &outputFolder);

// The picture fitted into the target frame "W:H", as the job computes it: 64-bit floating
// point, cut toward zero, raised to a multiple of 4, never past the frame.
QByteArray fittedPicture(const QByteArray &frameSize, QSize source);
