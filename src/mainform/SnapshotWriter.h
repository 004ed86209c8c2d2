#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The snapshot's rules and its two file writers, without widgets.

// The save dialog's filter: position 1 is JPEG, position 2 a Windows bitmap.
inline constexpr const char *SnapshotFilter = "JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp";
enum SnapshotFilterPosition : int { SnapshotJpeg = 1, SnapshotBitmap = 2 };

// The clip's own picture size, or, when the clip says its display shape is to be used, the
// height times the shape's width over height, taken exactly and cut toward zero (480 high at
// 4:3 gives 639).
QSize SnapshotSize(int width, int height, bool useDisplayAspect, int aspectIndex);

// The typed name with ".jpg" or ".bmp" appended unless its extension already is that one
// (in any case); empty for any other filter position.
QString SnapshotFileName(const QString &typedName, int filterPosition);

// A 24-bit picture as a Windows bitmap file (24 bits per pixel, bottom-up rows padded to four
// bytes) or a baseline JPEG file. An existing file is replaced. False when the file cannot
// be written (or the picture is empty).
bool WriteBitmap24(const QString &path, const QImage &picture);
bool WriteJpeg(const QString &path, const QImage &picture, int quality);
