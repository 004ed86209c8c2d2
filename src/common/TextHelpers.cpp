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

QString LeftCharacters(const QString &text, int count)
{
    qsizetype units = 0;
    for (int taken = 0; taken < count && units < text.size(); ++taken) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() && text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

int CharacterCount(const QString &text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return count;
}
