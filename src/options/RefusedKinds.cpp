#include "RefusedKinds.h"

#include <QFileInfo>

QString ClipExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const int dot = static_cast<int>(name.lastIndexOf(QLatin1Char('.')));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

bool IsTooWide(int width, int maxWidth)
{
    return maxWidth > 0 && width > maxWidth;
}

bool IsRefusedKind(const QString &path, const QString &format, int width, const QStringList &refusedExtensions,
                   const QStringList &refusedFormats, int maxWidth)
{
    return refusedExtensions.contains(ClipExtension(path), Qt::CaseInsensitive)
        || refusedFormats.contains(format, Qt::CaseInsensitive) || IsTooWide(width, maxWidth);
}
