#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

QString &overriddenFolder()
{
    static QString folder;
    return folder;
}

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace

QString ProgramFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    return withSlash(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const QString &folder)
{
    overriddenFolder() = folder.isEmpty() ? QString() : withSlash(folder);
}

bool FolderExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool CreateFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (FolderExists(path))
        return true;
    QString clean = QDir::cleanPath(path);
    return QDir().mkdir(clean);
}

QStringList FixedRoots()
{
    QStringList roots{QDir::homePath()};
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!videos.isEmpty() && videos != QDir::homePath())
        roots << videos;
    return roots;
}

QString LastExistingRoot(const QStringList &roots)
{
    for (auto it = roots.crbegin(); it != roots.crend(); ++it) {
        if (FolderExists(*it))
            return withSlash(*it);
    }
    return {};
}

} // namespace platform
