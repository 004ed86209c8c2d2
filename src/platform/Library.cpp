#include "Library.h"

#include "ProgramFolder.h"

#include <QStringList>

#include <dlfcn.h>

namespace platform {

QStringList LibraryCandidates(const QString &name, const QString &programFolder)
{
    if (name.compare(QLatin1String("MediaInfo.dll"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("libmediainfo.so.0")};
    QString base = name;
    if (base.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        base.chop(4);
    const QString file = QStringLiteral("lib") + base + QStringLiteral(".so");
    return {programFolder + file, file};
}

LibraryHandle LoadLibrary(const QString &name)
{
    for (const QString &candidate : LibraryCandidates(name, ProgramFolder())) {
        if (void *handle = dlopen(candidate.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL))
            return handle;
    }
    return nullptr;
}

void *GetProcAddress(LibraryHandle library, const char *function)
{
    return library ? dlsym(library, function) : nullptr;
}

void FreeLibrary(LibraryHandle library)
{
    if (library)
        dlclose(library);
}

} // namespace platform
