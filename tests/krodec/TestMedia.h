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

// Mean of all bytes of a width x height x 3 picture.
double meanLevel(const unsigned char *pixels, int width, int height);
// Mean over the pixels of the difference between their strongest and weakest colour.
double colourSpread(const unsigned char *pixels, int width, int height);

} // namespace enginetest
