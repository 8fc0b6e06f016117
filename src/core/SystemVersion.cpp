#include "core/SystemVersion.h"

#include <windows.h>

#include "toolkit/Registry.h"

namespace corvello {

bool IsWinNT = false;
bool IsWin95 = false;
bool IsWin95OSR2 = false;
bool IsWinVistaOrHigher = false;
bool IsWin7OrHigher = false;

WindowsVersion DetectWindowsVersion()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // the manifest makes this report the true version
#endif
    ::GetVersionExW(&info);
    const VersionQuery query{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion};
    const VersionResult result = ClassifyWindowsVersion(query, &GetWindowsProductType);
    IsWinNT = result.Flags.IsWinNT;
    IsWin95 = result.Flags.IsWin95;
    IsWin95OSR2 = result.Flags.IsWin95OSR2;
    IsWinVistaOrHigher = result.Flags.IsWinVistaOrHigher;
    IsWin7OrHigher = result.Flags.IsWinNT &&
                     (info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 1));
    return result.Version;
}

int GetWindowsProductType()
{
    const auto key = tk::RegKey::Open(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\ProductOptions");
    return ProductTypeFromText(key.ReadString(L"ProductType").value_or(L""));
}

}  // namespace corvello
