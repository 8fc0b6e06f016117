#include "core/FileVersion.h"

#include <windows.h>

#include <vector>

#include "toolkit/Handles.h"

namespace corvello {

bool GetFileVersion(const std::wstring& fileName, VersionArray& version)
{
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    const tk::SystemLibrary library(L"version.dll");
    const auto getSize = library.Proc<SizeFn>("GetFileVersionInfoSizeW");
    const auto getInfo = library.Proc<InfoFn>("GetFileVersionInfoW");
    const auto query = library.Proc<QueryFn>("VerQueryValueW");
    if (!getSize || !getInfo || !query)
        return false;

    DWORD ignored = 0;
    const DWORD size = getSize(fileName.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    if (!getInfo(fileName.c_str(), 0, size, buffer.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!query(buffer.data(), L"\\", reinterpret_cast<LPVOID*>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    version = VersionFromWords(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    return true;
}

std::wstring GetModulePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace corvello
