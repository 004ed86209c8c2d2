#include "mainform/ClipRowFont.h"

#include "mainform/ClipTexts.h"
#include "skin/SkinPalette.h"

#include <QFontMetrics>

namespace {

// The moving panel shows this much of a row; the rest is cut off.
constexpr int VisibleRowWidth = 527;
constexpr int LastSecond = MaxClipSeconds - 1;

bool FitsEveryColumn(const QFont &font)
{
    const QFontMetrics metrics(font);
    for (const ClipRowColumn &column : ClipRowColumns())
        for (const QString &text : column.widest)
            if (metrics.horizontalAdvance(text) + ClipColumnGap > column.room)
                return false;
    return true;
}

} // namespace

const QList<ClipRowColumn> &ClipRowColumns()
{
    // The name's label is cut to its own width of 120 on purpose; the others reach to the
    // row's end, so each must stop short of the next.
    static const QList<ClipRowColumn> columns = {
        {"Label_VideoLength", 128, 248 - 128, {VideoLengthText(0), VideoLengthText(LastSecond)}},
        {"Label_VideoSize", 248, 364 - 248,
         {PictureInfoFor(1, 1920, 1080).sizeText, PictureInfoFor(1, 4096, 2160).sizeText,
          PictureInfoFor(0, 0, 0).sizeText}},
        {"Label_Beginning", 364, 414 - 364, {BeginningText(0), BeginningText(LastSecond)}},
        {"Label_Ending", 414, 465 - 414, {EndingText(0, 0), EndingText(LastSecond, 0)}},
        {"Label_OutputName", 465, VisibleRowWidth - 465, {OutputNameFor(8888, 0), OutputNameFor(8888, 1)}},
    };
    return columns;
}

QFont ClipRowFont()
{
    static const QFont chosen = [] {
        const QFont base = skin::ControlFont();
        QFont font = base;
        for (const qreal points : {8.0, 7.5, 7.0, 6.5, 6.0}) {
            for (const int stretch : {int(QFont::Unstretched), int(QFont::SemiCondensed), int(QFont::Condensed)}) {
                font = base;
                font.setPointSizeF(points);
                font.setStretch(stretch);
                if (FitsEveryColumn(font))
                    return font;
            }
        }
        return font;
    }();
    return chosen;
}
