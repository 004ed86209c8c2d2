#include "mainform/SnapshotWriter.h"

#include "common/DisplayAspect.h"

#include <QFileInfo>
#include <QFile>

#include <turbojpeg.h>

#include <cstdint>
#include <cstring>
#include <vector>

QSize SnapshotSize(int width, int height, bool useDisplayAspect, int aspectIndex)
{
    if (useDisplayAspect)
        width = static_cast<int>(TruncatedProduct(height, DisplayAspect(aspectIndex, width, height)));
    return QSize(width, height);
}

QString SnapshotFileName(const QString &typedName, int filterPosition)
{
    const char *extension = filterPosition == SnapshotJpeg ? ".jpg" : filterPosition == SnapshotBitmap ? ".bmp" : nullptr;
    if (!extension)
        return QString();
    // The extension of the name part only: a dot in a folder name does not count.
    const QString fileName = QFileInfo(typedName).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString typed = dot < 0 ? QString() : fileName.mid(dot).toUpper();
    const QString wanted = QString::fromLatin1(extension);
    return typed == wanted.toUpper() ? typedName : typedName + wanted;
}

namespace {

void PutLe16(std::vector<unsigned char> &out, std::size_t at, std::uint16_t v)
{
    out[at] = static_cast<unsigned char>(v);
    out[at + 1] = static_cast<unsigned char>(v >> 8);
}

void PutLe32(std::vector<unsigned char> &out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
}

bool WriteBytes(const QString &path, const unsigned char *bytes, std::size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(reinterpret_cast<const char *>(bytes), static_cast<qint64>(size)) == static_cast<qint64>(size) &&
           file.flush();
}

} // namespace

bool WriteBitmap24(const QString &path, const QImage &picture)
{
    if (picture.isNull())
        return false;
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    const std::size_t width = static_cast<std::size_t>(bgr.width());
    const std::size_t height = static_cast<std::size_t>(bgr.height());
    const std::size_t rowBytes = (width * 3 + 3) / 4 * 4;
    constexpr std::size_t headerBytes = 14 + 40;
    const std::size_t pixelBytes = rowBytes * height;
    std::vector<unsigned char> out(headerBytes + pixelBytes, 0);
    // BITMAPFILEHEADER
    out[0] = 'B';
    out[1] = 'M';
    PutLe32(out, 2, static_cast<std::uint32_t>(out.size()));
    PutLe32(out, 10, headerBytes);
    // BITMAPINFOHEADER: positive height, so rows go from the bottom up; no compression.
    PutLe32(out, 14, 40);
    PutLe32(out, 18, static_cast<std::uint32_t>(width));
    PutLe32(out, 22, static_cast<std::uint32_t>(height));
    PutLe16(out, 26, 1);
    PutLe16(out, 28, 24);
    PutLe32(out, 34, static_cast<std::uint32_t>(pixelBytes));
    PutLe32(out, 38, 2835); // 72 dots per inch
    PutLe32(out, 42, 2835);
    for (std::size_t row = 0; row < height; ++row)
        std::memcpy(out.data() + headerBytes + (height - 1 - row) * rowBytes, bgr.constScanLine(static_cast<int>(row)),
                    width * 3);
    return WriteBytes(path, out.data(), out.size());
}

bool WriteJpeg(const QString &path, const QImage &picture, int quality)
{
    if (picture.isNull())
        return false;
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    tjhandle compressor = tjInitCompress();
    if (!compressor)
        return false;
    unsigned char *jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int result = tjCompress2(compressor, bgr.constBits(), bgr.width(), static_cast<int>(bgr.bytesPerLine()),
                                   bgr.height(), TJPF_BGR, &jpeg, &jpegSize, TJSAMP_444, quality, 0);
    bool written = false;
    if (result == 0 && jpeg)
        written = WriteBytes(path, jpeg, jpegSize);
    tjFree(jpeg);
    tjDestroy(compressor);
    return written;
}
