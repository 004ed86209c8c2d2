#include "mainform/ClipProbe.h"

#include "common/DisplayAspect.h"
#include "engine/EngineBinding.h"
#include "mainform/ClipTexts.h"


#include <cstddef>
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

static_assert(sizeof(KrodecProbeInfo) == ProbeRecordSize, "the engine's probe record is 40 bytes");
static_assert(offsetof(KrodecProbeInfo, audioBitRate) == 32 && offsetof(KrodecProbeInfo, displayAspectFlag) == 36,
              "the engine's probe record keeps its documented offsets");

namespace {

template <typename T>
T fieldAt(const unsigned char (&bytes)[ProbeRecordSize], int offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

int raisedToMultipleOf4(std::int64_t side)
{
    if (side % 4 != 0)
        side += 4 - side % 4;
    return static_cast<int>(side);
}

// The exact multiple of 4/3 as the main thread compares it.
constexpr double FourThirds = 4.0 / 3.0;

} // namespace

ProbeRecord ReadProbeRecord(const unsigned char (&bytes)[ProbeRecordSize])
{
    ProbeRecord r;
    r.seconds = fieldAt<std::int32_t>(bytes, 0);
    r.frameRate = fieldAt<float>(bytes, 4);
    r.videoBitRate = fieldAt<float>(bytes, 8);
    r.width = fieldAt<std::int32_t>(bytes, 12);
    r.height = fieldAt<std::int32_t>(bytes, 16);
    r.aspectCode = fieldAt<std::int32_t>(bytes, 20);
    r.sampleRate = fieldAt<std::int32_t>(bytes, 24);
    r.audioBitRate = fieldAt<float>(bytes, 32);
    r.displayAspectFlag = fieldAt<std::int32_t>(bytes, 36);
    return r;
}

ThumbnailSize FitThumbnail(int width, int height, bool useDisplayAspect, int aspectIndex)
{
    if (width <= 0 || height <= 0)
        return {};
    std::int64_t w = width;
    if (useDisplayAspect)
        w = TruncatedProduct(height, DisplayAspect(aspectIndex, width, height));
    const double r = static_cast<double>(w) / static_cast<double>(height);
    if (!(r > 0) || r == std::numeric_limits<double>::infinity())
        return {};
    ThumbnailSize size;
    if (r < FourThirds) {
        size.height = ThumbnailBoxHeight;
        size.width = std::min(raisedToMultipleOf4(TruncatedProduct(ThumbnailBoxHeight, r)), ThumbnailBoxWidth);
    } else {
        size.width = ThumbnailBoxWidth;
        size.height = std::min(raisedToMultipleOf4(TruncatedQuotient(ThumbnailBoxWidth, r)), ThumbnailBoxHeight);
    }
    // A sliver of a picture still gets a side the engine can scale to.
    size.width = std::max(size.width, 4);
    size.height = std::max(size.height, 4);
    return size;
}

QImage ThumbnailFromBgr(const unsigned char *pixels, int width, int height)
{
    QImage picture(width, height, QImage::Format_BGR888);
    if (picture.isNull())
        return picture;
    if (!pixels) {
        picture.fill(Qt::black);
        return picture.convertToFormat(QImage::Format_RGB888);
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int row = 0; row < height; ++row)
        std::memcpy(picture.scanLine(row), pixels + static_cast<std::size_t>(row) * rowBytes, rowBytes);
    return picture.convertToFormat(QImage::Format_RGB888);
}

QString ClipInfoHint(const QString &fileName, const ProbeRecord &record, const QLocale &locale)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto fraction = [&numbers](float value) { return numbers.toString(static_cast<double>(value), 'f', 2); };
    return QStringLiteral("Clip Name : ") + fileName + QStringLiteral("\nVideo : Size ") + QString::number(record.width)
        + QLatin1Char('X') + QString::number(record.height) + QStringLiteral(" , Bitrate ")
        + fraction(record.videoBitRate) + QStringLiteral(" , FPS ") + fraction(record.frameRate)
        + QStringLiteral("\nAudio : Bitrate ") + fraction(record.audioBitRate) + QStringLiteral(", Samplerate ")
        + QString::number(record.sampleRate);
}

ProbedClip ProbeClipFile(const QString &path)
{
    ProbedClip probed;
    engine::EngineLibrary library;
    engine::ProbeFunctions engine;
    if (!library.Load(engine))
        return probed;

    alignas(KrodecProbeInfo) unsigned char record[ProbeRecordSize] = {};
    if (engine::ProbeFileInfo(engine, path.toUtf8().toStdString(), record) == -1)
        return probed;
    probed.record = ReadProbeRecord(record);

    const ProbeRecord &r = probed.record;
    const ThumbnailSize size =
        FitThumbnail(r.width, r.height, r.displayAspectFlag == 0, PictureInfoFor(r.aspectCode, r.width, r.height).aspectIndex);
    // The result is not looked at: a clip without pictures (sound only) still gets the
    // engine's black picture, or a black one of our own when none came.
    unsigned char *pixels = nullptr;
    std::int32_t frameSeconds = 0;
    engine.Get_Frame(size.width, size.height, "2.bmp", &pixels, &frameSeconds);
    probed.thumbnail = ThumbnailFromBgr(pixels, size.width, size.height);
    probed.accepted = true;
    return probed;
}
