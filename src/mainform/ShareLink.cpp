#include "mainform/ShareLink.h"

QString ShareLinkText(const QString &displayName, const QString &homePage)
{
    return QStringLiteral("mailto:") + QStringLiteral("?subject=Recommend a 100% Free Video Converter") +
           QStringLiteral("&body=Dear ,%0a%0a") + QStringLiteral("I would like to recommend ") + displayName +
           QStringLiteral(" (") + homePage +
           QStringLiteral(") to you. It converts popular video formats for iPhone, iPod touch and Apple TV, "
                          "lets you adjust the video and audio parameters, converts fast and in batches, "
                          "and is free of charge and clean.") +
           QStringLiteral("%0a%0a") + QStringLiteral("You can get it at ") + homePage +
           QStringLiteral("%0a%0aBest Wishes%0aYours,");
}
