#include "TMediaInfoInterfa.h"

#include "platform/Library.h"

#include <cstddef>

namespace {

// MediaInfo's C interface, 8-bit texts.
using NewFn = void *(*)();
using OpenFn = std::size_t (*)(void *, const char *);
using GetFn = const char *(*)(void *, int streamKind, std::size_t streamNumber, const char *parameter,
                              int infoKind, int searchKind);
using CloseFn = void (*)(void *);
using DeleteFn = void (*)(void *);
using OptionFn = const char *(*)(void *, const char *option, const char *value);

constexpr int StreamGeneral = 0;
constexpr int InfoName = 0;
constexpr int InfoText = 1;

struct MediaInfoLibrary {
    bool tried = false;
    platform::LibraryHandle handle = nullptr;
    NewFn New = nullptr;
    OpenFn Open = nullptr;
    GetFn Get = nullptr;
    OptionFn Option = nullptr;
    CloseFn Close = nullptr;
    DeleteFn Delete = nullptr;
    QString name = QStringLiteral("MediaInfo.dll");

    bool usable() const { return New && Open && Get && Close && Delete; }
};

MediaInfoLibrary &library()
{
    static MediaInfoLibrary lib;
    return lib;
}

template <typename F>
F resolve(platform::LibraryHandle handle, const char *name)
{
    return reinterpret_cast<F>(platform::GetProcAddress(handle, name));
}

MediaInfoLibrary &loadedLibrary()
{
    MediaInfoLibrary &lib = library();
    if (lib.tried)
        return lib;
    lib.tried = true;
    lib.handle = platform::LoadLibrary(lib.name);
    if (!lib.handle)
        return lib;
    lib.New = resolve<NewFn>(lib.handle, "MediaInfoA_New");
    lib.Open = resolve<OpenFn>(lib.handle, "MediaInfoA_Open");
    lib.Get = resolve<GetFn>(lib.handle, "MediaInfoA_Get");
    lib.Close = resolve<CloseFn>(lib.handle, "MediaInfoA_Close");
    lib.Delete = resolve<DeleteFn>(lib.handle, "MediaInfoA_Delete");
    // Our 8-bit texts are UTF-8, also for file names.
    lib.Option = resolve<OptionFn>(lib.handle, "MediaInfoA_Option");
    if (lib.Option)
        lib.Option(nullptr, "CharSet", "UTF-8");
    return lib;
}

} // namespace

void TMediaInfoInterfa::ReadFormat(const QString &path, TMediaInfo &result) const
{
    result = TMediaInfo();
    MediaInfoLibrary &lib = loadedLibrary();
    if (!lib.usable()) {
        result.GeneralFormat = QStringLiteral("Unable to load MediaInfo.dll");
        return;
    }
    void *handle = lib.New();
    if (!handle) {
        result.GeneralFormat = QStringLiteral("Unable to load MediaInfo.dll");
        return;
    }
    // The container's name is known from its first bytes; a full parse of an MPEG program
    // stream or a Matroska file would cost more than the rest of adding the file.
    if (lib.Option)
        lib.Option(handle, "ParseSpeed", "0");
    lib.Open(handle, path.toUtf8().constData());
    const char *format = lib.Get(handle, StreamGeneral, 0, "Format", InfoText, InfoName);
    result.GeneralFormat = format ? QString::fromUtf8(format) : QString();
    lib.Close(handle);
    lib.Delete(handle);
}

void SetMediaInfoLibraryName(const QString &name)
{
    MediaInfoLibrary &lib = library();
    platform::FreeLibrary(lib.handle);
    lib = MediaInfoLibrary();
    lib.name = name;
}
