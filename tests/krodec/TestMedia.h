#pragma once

// Media files the engine tests make with the ffmpeg program, and checks on engine pictures.

#include <QString>
#include <QStringList>

namespace enginetest {

// Runs ffmpeg quietly, overwriting `output`, which comes last. False with ffmpeg's error text.
bool makeMedia(const QStringList &arguments, const QString &output, QString *errors = nullptr);

// A lavfi source of flat grey frames whose level tells the second: see greyOfSecond.
QString greyClipSource(int width, int height, int seconds, int rate = 25);
// The blue, green and red level of a frame of greyClipSource at second `second`.
double greyOfSecond(int second);

// Grey clips (see greyClipSource, 160x120, 25 frames a second) as broadcasts and discs hold them,
// made into `folder`: "gop10s.ts" (H.264 and MP2 in MPEG-TS, 12 s, key frames at 0 and 10 s),
// "onekey.ts" (4 s, one key frame), "offset.ts" (gop10s.ts with time stamps from 36000 s),
// "start10.mkv" (gop10s.ts in Matroska with its first frame at 10 s), "gop12s.mpg" (MPEG-2 program
// stream, 12 s, one key frame), "joined.ts" (seconds 0-3 and 4-7 of an 8 s clip recorded apart and
// joined end to end, each part starting its clock anew) and "jump600.ts" (the same with the second
// part's time stamps 600 s later). Second s of every clip shows greyOfSecond(s).
bool makeBroadcastClips(const QString &folder, QString *errors = nullptr);

// Mean of all bytes of a width x height x 3 picture.
double meanLevel(const unsigned char *pixels, int width, int height);
// Mean over the pixels of the difference between their strongest and weakest colour.
double colourSpread(const unsigned char *pixels, int width, int height);

} // namespace enginetest
