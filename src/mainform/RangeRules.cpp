#include "mainform/RangeRules.h"

int ClampRange(int v, int low, int high)
{
    if (high < low)
        return low;
    return v < low ? low : v > high ? high : v;
}

int RangeLeftFor(float startFraction)
{
    // Exact in double: a float's 24 bits times 134 fit.
    return ClampRange(static_cast<int>(static_cast<double>(startFraction) * RangeTrackLength + 0.5), 0,
                      RangeTrackLength);
}

int RangeRightFor(float endFraction)
{
    return ClampRange(static_cast<int>(static_cast<double>(endFraction) * RangeTrackLength + RangeHandleWidth + 0.5),
                      RangeHandleWidth, RangeHandleWidth + RangeTrackLength);
}

float StartFractionAt(int startLeft)
{
    // One correctly rounded float division, as the quotient stored in a 32-bit float.
    return static_cast<float>(startLeft) / static_cast<float>(RangeTrackLength);
}

float EndFractionAt(int endLeft)
{
    return static_cast<float>(endLeft - RangeHandleWidth) / static_cast<float>(RangeTrackLength);
}

int TimeAtFraction(int duration, float fraction)
{
    // The product of a 32-bit int and a float's 24 bits is exact in double.
    return static_cast<int>(static_cast<double>(duration) * static_cast<double>(fraction));
}

int DraggedStartLeft(int x, int endLeft)
{
    return ClampRange(x, 0, endLeft - RangeHandleWidth);
}

int DraggedEndLeft(int x, int startLeft, int trackWidth, int endHandleWidth)
{
    return ClampRange(x, startLeft + RangeHandleWidth, trackWidth - endHandleWidth);
}

int DraggedStretchLeft(int x, int trackWidth, int endHandleWidth, int stretchWidth)
{
    return ClampRange(x, RangeHandleWidth, trackWidth - endHandleWidth - stretchWidth);
}

int SeekTimeFor(int t, int duration)
{
    const int seek = t > duration - 10 ? t - 10 : t;
    return seek < 1 ? 1 : seek;
}

namespace {

int DigitAt(const QString &text, int position)
{
    const int i = position - 1;
    if (i >= text.size())
        return 0;
    const QChar c = text.at(i);
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0;
}

int TwoDigitsAt(const QString &text, int position)
{
    return DigitAt(text, position) * 10 + DigitAt(text, position + 1);
}

} // namespace

int TimeBoxValue(const QString &text)
{
    return TwoDigitsAt(text, 1) * 3600 + TwoDigitsAt(text, 4) * 60 + TwoDigitsAt(text, 7);
}

bool StartTimeInvalid(int value, int endTime)
{
    return value < 0 || value > endTime;
}

bool EndTimeInvalid(int value, int startTime, int duration)
{
    return value > duration || value < startTime;
}
