#include "mainform/ClipTexts.h"

#include "common/DisplayAspect.h"
#include "common/TextHelpers.h"

int ClampClipTime(int seconds)
{
    if (seconds > MaxClipSeconds || seconds < 0)
        seconds = 0;
    const int hours = seconds / 3600;
    const int minutes = (seconds % 3600) / 60;
    return hours * 3600 + minutes * 60 + seconds % 60;
}

QString ClipNameText(const QString &fileName)
{
    const QString name = LeftCharacters(fileName, ClipNameWidth);
    return QStringLiteral("      ") + name + QString(ClipNameWidth - CharacterCount(name), QLatin1Char(' '));
}

QString VideoLengthText(int durationSeconds)
{
    return QStringLiteral("Video Length : ") + TimeText(durationSeconds);
}

QString BeginningText(int startSeconds)
{
    return startSeconds == 0 ? QStringLiteral("Beginning") : TimeText(startSeconds);
}

QString EndingText(int endSeconds, int durationSeconds)
{
    return endSeconds == durationSeconds ? QStringLiteral("Ending") : TimeText(endSeconds);
}

ClipPictureInfo PictureInfoFor(int aspectCode, int width, int height)
{
    ClipPictureInfo info;
    QString size = QString::number(width) + QLatin1Char('X') + QString::number(height);
    info.pictureAspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    info.aspectIndex = AspectIndexOfCode(aspectCode);
    if (info.aspectIndex == AspectOwn && (width < 10 || height < 10))
        size = QStringLiteral("Unknown");
    info.sizeText = QStringLiteral("Video Size : ") + size;
    return info;
}

QString OutputNameFor(int number, int deviceType)
{
    return OutputNumberText(number) + (deviceType == 1 ? QStringLiteral(".mp3") : QStringLiteral(".mp4"));
}

int ClipScrollOffset(int count, int thumbTop)
{
    if (count <= VisibleClipRows)
        return 0;
    return static_cast<int>(static_cast<long long>(count - VisibleClipRows) * (thumbTop - ThumbTopMin) /
                            (ThumbTopMax - ThumbTopMin));
}

int ClampThumbTop(int top)
{
    return top < ThumbTopMin ? ThumbTopMin : top > ThumbTopMax ? ThumbTopMax : top;
}
