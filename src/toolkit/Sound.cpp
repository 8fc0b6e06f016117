#include "toolkit/Sound.h"

#include <windows.h>

#include "toolkit/Handles.h"

namespace tk {
namespace {

// PlaySoundW's flags (mmsystem.h).
constexpr DWORD Async = 0x0001;      // SND_ASYNC
constexpr DWORD NoDefault = 0x0002;  // SND_NODEFAULT: nothing instead of the default sound
constexpr DWORD FromFile = 0x00020000;
constexpr DWORD FromResource = 0x00040004;

bool Play(const wchar_t* sound, HMODULE module, DWORD flags) noexcept
{
    using PlaySoundFn = BOOL(WINAPI*)(const wchar_t*, HMODULE, DWORD);
    static const SystemLibrary winmm(L"winmm.dll");
    static const auto play = winmm.Proc<PlaySoundFn>("PlaySoundW");
    return play && play(sound, module, flags | Async | NoDefault);
}

}  // namespace

bool PlayWaveFile(const std::wstring& path) noexcept
{
    // Started in the background, a missing file would fail unseen.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return Play(path.c_str(), nullptr, FromFile);
}

bool PlayWaveResource(const wchar_t* name) noexcept
{
    return Play(name, ::GetModuleHandleW(nullptr), FromResource);
}

}  // namespace tk
