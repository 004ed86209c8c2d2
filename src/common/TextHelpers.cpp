#include "TextHelpers.h"

QString TwoDigitText(int n)
{
    return n < 10 ? QLatin1Char('0') + QString::number(n) : QString::number(n);
}

QString TimeText(int seconds)
{
    return TwoDigitText(seconds / 3600) + QLatin1Char(':') + TwoDigitText(seconds % 3600 / 60)
        + QLatin1Char(':') + TwoDigitText(seconds % 60);
}

QString OutputNumberText(int n)
{
    if (n >= 10000)
        n %= 10000;
    if (n < 1)
        return QStringLiteral("8888");
    return QString::number(n).rightJustified(4, QLatin1Char('0'));
}
