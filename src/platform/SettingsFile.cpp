#include "SettingsFile.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace platform {
namespace {

// A crash during the copy leaves no half file that would then be read instead of the
// program folder's one.
void copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return;
    QSaveFile target(to);
    if (target.open(QIODevice::WriteOnly)) {
        target.write(source.readAll());
        target.commit();
    }
}

} // namespace

QString SettingsFilePath(const SettingsPlaces &places, const QString &name, SettingsAccess access)
{
    const QString programFile = places.programFolder + name;
    if (places.programFolderWritable)
        return programFile;
    const QString userFile = places.userFolder + name;
    if (QFileInfo::exists(userFile))
        return userFile;
    if (access == SettingsAccess::Read)
        return programFile;
    // A failure here shows as the write's own error, naming the user's file.
    if (QDir().mkpath(places.userFolder) && QFileInfo::exists(programFile))
        copyFile(programFile, userFile);
    return userFile;
}

QString UserSettingsFolder(const QString &configHome, const QString &home)
{
    QString base = configHome;
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = home + QStringLiteral("/.config");
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + QStringLiteral("orvo-video-converter/");
}

bool FolderWritable(const QString &folder)
{
    // A file is replaced by writing a new one beside it, then renaming it: the folder needs
    // write and search permission, and the check must see read-only mounts too.
    return !folder.isEmpty() && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

QString ProgramSettingsFile(const QString &name, SettingsAccess access)
{
    SettingsPlaces places;
    places.programFolder = ProgramFolder();
    places.userFolder = UserSettingsFolder(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
    places.programFolderWritable = FolderWritable(places.programFolder);
    return SettingsFilePath(places, name, access);
}

} // namespace platform
