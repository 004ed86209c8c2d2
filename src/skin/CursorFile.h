#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

// Windows cursor files (.cur): one image with its hot spot. The writer makes what the
// program ships (a 32 x 32, 32-bit BGRA bitmap with its AND mask); the reader also takes
// the other common forms of a first image: 1, 4, 8, 24 and 32 bits per pixel, or PNG.
namespace skin {

struct CursorImage {
    QImage image; // ARGB32, straight alpha
    QPoint hotSpot;
};

// The file bytes of one cursor image. The image is scaled to 32 x 32 when it has another
// size; the hot spot is clamped into the image.
QByteArray encodeCursorFile(const QImage &image, QPoint hotSpot);

// Writes the cursor file; false with nothing left behind when it cannot be written.
bool writeCursorFile(const QString &path, const QImage &image, QPoint hotSpot);

// Reads the first image of a cursor file. False for anything that is not a complete,
// well-formed cursor file; *out is left untouched then.
bool decodeCursorFile(const QByteArray &bytes, CursorImage *out);

// The cursor of a file; a missing or bad file gives the arrow and *ok = false.
QCursor loadCursorFile(const QString &path, bool *ok = nullptr);

} // namespace skin
