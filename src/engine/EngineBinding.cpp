#include "EngineBinding.h"

#include <utility>
#include <vector>

namespace engine {

EngineLibrary::EngineLibrary(EngineLibrary &&other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr))
{
}

EngineLibrary &EngineLibrary::operator=(EngineLibrary &&other) noexcept
{
    if (this != &other) {
        Release();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

void EngineLibrary::Release()
{
    platform::FreeLibrary(std::exchange(m_handle, nullptr));
}

bool EngineLibrary::open()
{
    Release();
    m_handle = platform::LoadLibrary(QString::fromLatin1(EngineLibraryName));
    return m_handle != nullptr;
}

template <typename F>
bool EngineLibrary::resolve(F &function, const char *name)
{
    function = reinterpret_cast<F>(platform::GetProcAddress(m_handle, name));
    return function != nullptr;
}

bool EngineLibrary::Load(ProbeFunctions &f)
{
    f = {};
    const bool ok = open() && resolve(f.GetFileinfo_GetPic, "X_GetFileinfo_GetPic") && resolve(f.Get_Frame, "X_Get_Frame");
    if (!ok) {
        Release();
        f = {};
    }
    return ok;
}

bool EngineLibrary::Load(PreviewFunctions &f)
{
    f = {};
    const bool ok = open() && resolve(f.GetFileinfo_GetPic, "X_GetFileinfo_GetPic")
        && resolve(f.Get_Frame, "X_Get_Frame") && resolve(f.GetFrame_Init, "X_GetFrame_Init")
        && resolve(f.Set_NextFrame_Time, "X_Set_NextFrame_Time") && resolve(f.GetFrame_UnInit, "X_GetFrame_UnInit");
    if (!ok) {
        Release();
        f = {};
    }
    return ok;
}

bool EngineLibrary::Load(ConversionFunctions &f)
{
    f = {};
    const bool ok = open() && resolve(f.Get_Info, "X_Get_Info") && resolve(f.StopConvert, "X_StopConvert")
        && resolve(f.ConvertIPodVideo, "X_SetPar_D2IPOD_VIDEO") && resolve(f.ConvertIPodMusic, "X_SetPar_D2IPOD_MP3")
        && resolve(f.ConvertAppleTV, "X_SetPar_D2APPLETV_VIDEO") && resolve(f.ConvertIPhone, "X_SetPar_D2IPHONE_VIDEO");
    if (!ok) {
        Release();
        f = {};
    }
    return ok;
}

int32_t ProbeFileInfo(const ProbeFunctions &engine, const std::string &utf8Path, void *record)
{
    std::vector<char> buffer(utf8Path.begin(), utf8Path.end());
    buffer.resize(buffer.size() + 10, '\0');
    return engine.GetFileinfo_GetPic(buffer.data(), 10, record);
}

} // namespace engine
