#include "KeyColourRegion.h"

#include <QRect>
#include <QVector>

QRegion KeyColourRegion(const QImage &picture, QRgb keyColour)
{
    if (picture.isNull())
        return {};
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb key = (keyColour == 0 ? image.pixel(0, 0) : keyColour) | 0xFF000000u;

    QVector<QRect> runs;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] | 0xFF000000u) != key)
                ++x;
            const int start = x;
            while (x < width && (row[x] | 0xFF000000u) == key)
                ++x;
            if (x > start)
                runs.append(QRect(start, y, x - start, 1));
        }
    }
    // Runs of one row never overlap and rows come top to bottom, which is the banded
    // order setRects expects.
    QRegion region;
    region.setRects(runs.constData(), static_cast<int>(runs.size()));
    return region;
}

QRegion ShapeRegion(const QImage &picture)
{
    return QRegion(picture.rect()).subtracted(KeyColourRegion(picture, ShapeKeyColour));
}
