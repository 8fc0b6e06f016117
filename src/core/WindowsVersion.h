// Classification of the running Windows from what the version query reports.
// No Windows types here: the inputs arrive as plain numbers and text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvello {

enum class TWindowsVersion : int {
    wvUnknown = 0,
    wvWinNT3,
    wvWin95,
    wvWin95OSR2,
    wvWinNT4,
    wvWin98,
    wvWin98SE,
    wvWinME,
    wvWin2000,
    wvWinXP,
    wvWin2003,
    wvWinVista,
    wvWinServer2008,
    wvWin7,
};

struct TVersionQuery {
    std::uint32_t PlatformId = 0;  // 1 Windows 9x, 2 Windows NT
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    std::wstring ServicePack;  // the CSD version text
};

struct TVersionFlags {
    bool IsWinNT = false;
    bool IsWin95 = false;
    bool IsWin95OSR2 = false;
    bool IsWinVistaOrHigher = false;
};

struct TVersionResult {
    TWindowsVersion Version = TWindowsVersion::wvUnknown;
    TVersionFlags Flags;
};

// productType is asked only for NT 6.x: 1 workstation, 2 server, 3 domain
// controller, 0 unknown.
TVersionResult ClassifyWindowsVersion(const TVersionQuery& query, const std::function<int()>& productType);

// "WinNT" 1, "ServerNT" 2, "LanmanNT" 3, in any case; anything else 0.
int ProductTypeFromText(const std::wstring& text);

}  // namespace corvello
