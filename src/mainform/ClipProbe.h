#pragma once

#include "options/RefusedKinds.h"

#include <QImage>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>

// Probing a file for the clip list: the engine's record, the thumbnail size and picture,
// the tooltip and the refused-kind rule. No window is involved.

// The engine's 40-byte probe record, read field by field at its documented offsets.
constexpr int ProbeRecordSize = 40;
struct ProbeRecord {
    std::int32_t seconds = 0;
    float frameRate = 0;
    float videoBitRate = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t aspectCode = 0;
    std::int32_t sampleRate = 0;
    float audioBitRate = 0;
    std::int32_t displayAspectFlag = 0; // 0: the aspect code gives the display shape
};
ProbeRecord ReadProbeRecord(const unsigned char (&bytes)[ProbeRecordSize]);

// The thumbnail box is the preview's size.
constexpr int ThumbnailBoxWidth = 240;
constexpr int ThumbnailBoxHeight = 180;

struct ThumbnailSize {
    int width = ThumbnailBoxWidth;
    int height = ThumbnailBoxHeight;
};
// The thumbnail of a picture of width x height, fitted into 240 x 180 with sides raised to a
// multiple of 4. With useDisplayAspect the width is the display width for aspectIndex.
// A picture without height or width (sound only) gets the whole box.
ThumbnailSize FitThumbnail(int width, int height, bool useDisplayAspect, int aspectIndex);

// A picture from the engine's buffer: rows of width x 3 bytes (blue, green, red) from the top,
// without gaps. A null buffer gives a black picture.
QImage ThumbnailFromBgr(const unsigned char *pixels, int width, int height);

// The row's tooltip: three lines with the clip's technical data; the fractions are written
// with two decimals and locale's decimal separator, without grouping.
QString ClipInfoHint(const QString &fileName, const ProbeRecord &record, const QLocale &locale);

// What the engine says about a file. accepted is false when the engine library or one of its
// probe functions is missing or the engine cannot read the file. The library is loaded for
// this call alone and released before it returns.
struct ProbedClip {
    bool accepted = false;
    ProbeRecord record;
    QImage thumbnail;
};
ProbedClip ProbeClipFile(const QString &path);
