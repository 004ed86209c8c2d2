#pragma once

#include "KrodecDLL.h"
#include "platform/Library.h"

#include <string>

// The program's binding to the conversion engine. The engine is loaded by name at run time
// and reached only through one named function set at a time; a set resolves as a whole or
// not at all, and a failed load leaves nothing loaded.
namespace engine {

inline constexpr const char *EngineLibraryName = "KrodecDLL.dll";

// The functions the probe uses.
struct ProbeFunctions {
    decltype(&X_GetFileinfo_GetPic) GetFileinfo_GetPic = nullptr;
    decltype(&X_Get_Frame) Get_Frame = nullptr;
};

// X_GetFileinfo_GetPic on a UTF-8 path into the 40-byte record. The engine may write into the
// path's buffer, so it gets a copy with room to spare.
int32_t ProbeFileInfo(const ProbeFunctions &engine, const std::string &utf8Path, void *record);

// The functions the preview uses; it resolves the probe function too, but never calls it.
struct PreviewFunctions {
    decltype(&X_GetFileinfo_GetPic) GetFileinfo_GetPic = nullptr;
    decltype(&X_Get_Frame) Get_Frame = nullptr;
    decltype(&X_GetFrame_Init) GetFrame_Init = nullptr;
    decltype(&X_Set_NextFrame_Time) Set_NextFrame_Time = nullptr;
    decltype(&X_GetFrame_UnInit) GetFrame_UnInit = nullptr;
};

// The functions of a conversion.
struct ConversionFunctions {
    decltype(&X_Get_Info) Get_Info = nullptr;
    decltype(&X_StopConvert) StopConvert = nullptr;
    decltype(&X_SetPar_D2IPOD_VIDEO) ConvertIPodVideo = nullptr;
    decltype(&X_SetPar_D2IPOD_MP3) ConvertIPodMusic = nullptr;
    decltype(&X_SetPar_D2APPLETV_VIDEO) ConvertAppleTV = nullptr;
    decltype(&X_SetPar_D2IPHONE_VIDEO) ConvertIPhone = nullptr;
};

// One load of the engine library; released when it goes out of scope or by Release().
class EngineLibrary {
public:
    EngineLibrary() = default;
    ~EngineLibrary() { Release(); }
    EngineLibrary(const EngineLibrary &) = delete;
    EngineLibrary &operator=(const EngineLibrary &) = delete;
    EngineLibrary(EngineLibrary &&other) noexcept;
    EngineLibrary &operator=(EngineLibrary &&other) noexcept;

    // Load the library and resolve the set; false (and nothing loaded) when the library does
    // not load or any function of the set is missing.
    bool Load(ProbeFunctions &functions);
    bool Load(PreviewFunctions &functions);
    bool Load(ConversionFunctions &functions);

    bool IsLoaded() const { return m_handle != nullptr; }
    void Release();
    // Gives up ownership without unloading: the library then stays for the process's life.
    void Abandon() { m_handle = nullptr; }

private:
    bool open();
    template <typename F>
    bool resolve(F &function, const char *name);

    platform::LibraryHandle m_handle = nullptr;
};

} // namespace engine
