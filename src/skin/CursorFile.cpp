#include "skin/CursorFile.h"

#include <QFile>
#include <QPixmap>
#include <QSaveFile>

#include <cstdint>
#include <cstring>

namespace skin {
namespace {

constexpr int DirectorySize = 6;
constexpr int EntrySize = 16;
constexpr int InfoHeaderSize = 40;
constexpr int CursorType = 2;
constexpr int ShippedSide = 32;
constexpr int MaxSide = 256;
constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

int stride(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

void put16(QByteArray &out, int value)
{
    const auto v = static_cast<quint16>(value);
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray &out, qint64 value)
{
    const auto v = static_cast<quint32>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((v >> shift) & 0xFF));
}

// Little-endian reads over the whole file; a read past the end gives 0, and callers check
// has() first for anything they rely on.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_data(reinterpret_cast<const uchar *>(bytes.constData())), m_size(bytes.size())
    {
    }
    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }
    quint16 u16(qint64 offset) const
    {
        return has(offset, 2) ? quint16(m_data[offset] | m_data[offset + 1] << 8) : 0;
    }
    quint32 u32(qint64 offset) const
    {
        if (!has(offset, 4))
            return 0;
        return quint32(m_data[offset]) | quint32(m_data[offset + 1]) << 8
            | quint32(m_data[offset + 2]) << 16 | quint32(m_data[offset + 3]) << 24;
    }
    qint32 i32(qint64 offset) const { return static_cast<qint32>(u32(offset)); }
    const uchar *at(qint64 offset) const { return m_data + offset; }
    QByteArray slice(qint64 offset, qint64 length) const
    {
        return QByteArray(reinterpret_cast<const char *>(m_data + offset), length);
    }

private:
    const uchar *m_data;
    qint64 m_size;
};

bool isPng(const Reader &file, qint64 offset, qint64 length)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    return length >= 8 && std::memcmp(file.at(offset), signature, 8) == 0;
}

bool andBit(const uchar *row, int x)
{
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

QRgb dibPixel(const uchar *row, int x, int bitsPerPixel, const QRgb *palette)
{
    switch (bitsPerPixel) {
    case 32:
        return qRgba(row[x * 4 + 2], row[x * 4 + 1], row[x * 4], row[x * 4 + 3]);
    case 24:
        return qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    case 8:
        return palette[row[x]];
    case 4:
        return palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
    default:
        return palette[andBit(row, x) ? 1 : 0];
    }
}

bool decodeDib(const Reader &file, qint64 offset, qint64 length, QImage *image)
{
    if (length < InfoHeaderSize || !file.has(offset, InfoHeaderSize))
        return false;
    const quint32 headerSize = file.u32(offset);
    const qint32 width = file.i32(offset + 4);
    const qint32 doubleHeight = file.i32(offset + 8);
    const int planes = file.u16(offset + 12);
    const int bits = file.u16(offset + 14);
    const quint32 compression = file.u32(offset + 16);
    const quint32 coloursUsed = file.u32(offset + 32);
    if (headerSize < InfoHeaderSize || headerSize > static_cast<quint32>(length))
        return false;
    if (width <= 0 || width > MaxSide || doubleHeight <= 0 || doubleHeight % 2
        || doubleHeight / 2 > MaxSide || planes != 1 || compression != 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return false;
    const int height = doubleHeight / 2;
    const quint32 paletteMax = bits <= 8 ? (1u << bits) : 0u;
    if (coloursUsed > paletteMax)
        return false;
    const qint64 paletteSize = bits <= 8 ? (coloursUsed ? coloursUsed : paletteMax) : 0;
    const qint64 xorStride = stride(width, bits);
    const qint64 andStride = stride(width, 1);
    const qint64 paletteAt = offset + headerSize;
    const qint64 xorAt = paletteAt + paletteSize * 4;
    const qint64 andAt = xorAt + xorStride * height;
    const qint64 end = andAt + andStride * height;
    if (end > offset + length || !file.has(offset, end - offset))
        return false;

    QRgb palette[256] = {};
    for (qint64 i = 0; i < paletteSize; ++i) {
        const uchar *c = file.at(paletteAt + i * 4);
        palette[i] = qRgb(c[2], c[1], c[0]);
    }

    // A 32-bit image whose alpha is all zero is an old-style one that relies on the mask.
    bool alphaPresent = false;
    if (bits == 32) {
        for (int y = 0; y < height && !alphaPresent; ++y)
            for (int x = 0; x < width && !alphaPresent; ++x)
                alphaPresent = file.at(xorAt + y * xorStride)[x * 4 + 3] != 0;
    }

    QImage result(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const int row = height - 1 - y; // rows are stored bottom-up
        const uchar *xorRow = file.at(xorAt + row * xorStride);
        const uchar *andRow = file.at(andAt + row * andStride);
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb colour = dibPixel(xorRow, x, bits, palette);
            if (alphaPresent) {
                out[x] = colour;
                continue;
            }
            const bool transparent = andBit(andRow, x);
            const bool inverting = transparent && (colour & 0x00FFFFFFu) != 0;
            // Screen-inverting pixels cannot be shown by every desktop; black keeps them visible.
            if (inverting)
                out[x] = qRgba(0, 0, 0, 255);
            else
                out[x] = transparent ? qRgba(0, 0, 0, 0) : (colour | 0xFF000000u);
        }
    }
    *image = result;
    return true;
}

} // namespace

QByteArray encodeCursorFile(const QImage &image, QPoint hotSpot)
{
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.size() != QSize(ShippedSide, ShippedSide))
        argb = argb.scaled(ShippedSide, ShippedSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int side = ShippedSide;
    const int xorBytes = stride(side, 32) * side;
    const int andStride = stride(side, 1);
    const int andBytes = andStride * side;
    const int imageBytes = InfoHeaderSize + xorBytes + andBytes;

    QByteArray out;
    out.reserve(DirectorySize + EntrySize + imageBytes);
    put16(out, 0);
    put16(out, CursorType);
    put16(out, 1);
    out.append(static_cast<char>(side));
    out.append(static_cast<char>(side));
    out.append('\0'); // no palette
    out.append('\0');
    put16(out, qBound(0, hotSpot.x(), side - 1));
    put16(out, qBound(0, hotSpot.y(), side - 1));
    put32(out, imageBytes);
    put32(out, DirectorySize + EntrySize);

    put32(out, InfoHeaderSize);
    put32(out, side);
    put32(out, side * 2); // colour rows and mask rows together
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, xorBytes + andBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    for (int y = side - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < side; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
            out.append(static_cast<char>(qAlpha(row[x])));
        }
    }
    for (int y = side - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        QByteArray mask(andStride, '\0');
        for (int x = 0; x < side; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

bool writeCursorFile(const QString &path, const QImage &image, QPoint hotSpot)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeCursorFile(image, hotSpot);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool decodeCursorFile(const QByteArray &bytes, CursorImage *out)
{
    const Reader file(bytes);
    if (!file.has(0, DirectorySize + EntrySize))
        return false;
    if (file.u16(0) != 0 || file.u16(2) != CursorType || file.u16(4) == 0)
        return false;
    const QPoint hotSpot(file.u16(DirectorySize + 4), file.u16(DirectorySize + 6));
    const qint64 length = file.u32(DirectorySize + 8);
    const qint64 offset = file.u32(DirectorySize + 12);
    if (!file.has(offset, length))
        return false;

    QImage image;
    if (isPng(file, offset, length)) {
        image = QImage::fromData(file.slice(offset, length), "PNG").convertToFormat(QImage::Format_ARGB32);
        if (image.isNull() || image.width() > MaxSide || image.height() > MaxSide)
            return false;
    } else if (!decodeDib(file, offset, length, &image)) {
        return false;
    }
    if (!QRect(QPoint(0, 0), image.size()).contains(hotSpot))
        return false;
    if (out)
        *out = {image, hotSpot};
    return true;
}

QCursor loadCursorFile(const QString &path, bool *ok)
{
    if (ok)
        *ok = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return QCursor(Qt::ArrowCursor);
    CursorImage cursor;
    if (!decodeCursorFile(file.readAll(), &cursor))
        return QCursor(Qt::ArrowCursor);
    if (ok)
        *ok = true;
    return QCursor(QPixmap::fromImage(cursor.image), cursor.hotSpot.x(), cursor.hotSpot.y());
}

} // namespace skin
