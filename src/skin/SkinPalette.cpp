#include "skin/SkinPalette.h"

#include <QFile>
#include <QFontDatabase>

namespace skin {
namespace {

// Wine's Tahoma is shipped outside the system's font folders; the program loads it itself.
void LoadWineTahoma()
{
    static const bool loaded = [] {
        if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
            return true;
        for (const char *file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            if (QFile::exists(QString::fromLatin1(file)))
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        return true;
    }();
    Q_UNUSED(loaded);
}

} // namespace

QFont ControlFont()
{
    LoadWineTahoma();
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont HeadingFont(int pixelHeight)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

} // namespace skin
