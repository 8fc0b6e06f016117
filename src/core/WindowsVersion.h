// Classification of the running Windows from what the version query reports.
// No Windows types here: the inputs arrive as plain numbers and text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvello {

enum class WindowsVersion : int {
    Unknown = 0,
    WinNT3,
    Win95,
    Win95OSR2,
    WinNT4,
    Win98,
    Win98SE,
    WinME,
    Win2000,
    WinXP,
    Win2003,
    WinVista,
    WinServer2008,
    Win7,
};

struct VersionQuery {
    std::uint32_t PlatformId = 0;  // 1 Windows 9x, 2 Windows NT
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    std::wstring ServicePack;  // the CSD version text
};

struct VersionFlags {
    bool IsWinNT = false;
    bool IsWin95 = false;
    bool IsWin95OSR2 = false;
    bool IsWinVistaOrHigher = false;
};

struct VersionResult {
    WindowsVersion Version = WindowsVersion::Unknown;
    VersionFlags Flags;
};

// productType is asked only for NT 6.x: 1 workstation, 2 server, 3 domain
// controller, 0 unknown.
VersionResult ClassifyWindowsVersion(const VersionQuery& query, const std::function<int()>& productType);

// "WinNT" 1, "ServerNT" 2, "LanmanNT" 3, in any case; anything else 0.
int ProductTypeFromText(const std::wstring& text);

}  // namespace corvello
