#include "core/WindowsVersion.h"

#include "core/Text.h"

namespace corvello {
namespace {

constexpr std::uint32_t PlatformWindows = 1;
constexpr std::uint32_t PlatformNT = 2;

WindowsVersion ClassifyWin9x(const VersionQuery& query)
{
    switch (query.Minor) {
    case 0:
        return TrimBlanks(query.ServicePack) == L"B" ? WindowsVersion::Win95OSR2 : WindowsVersion::Win95;
    case 10:
        return TrimBlanks(query.ServicePack) == L"A" ? WindowsVersion::Win98SE : WindowsVersion::Win98;
    case 90:
        return WindowsVersion::WinME;
    default:
        return WindowsVersion::Unknown;
    }
}

WindowsVersion ClassifyNT(const VersionQuery& query, const std::function<int()>& productType)
{
    switch (query.Major) {
    case 3:
        return WindowsVersion::WinNT3;
    case 4:
        return WindowsVersion::WinNT4;
    case 5:
        if (query.Minor == 1)
            return WindowsVersion::WinXP;
        return query.Minor == 2 ? WindowsVersion::Win2003 : WindowsVersion::Win2000;
    case 6: {
        const int type = productType ? productType() : 0;
        if (type == 2 || type == 3)
            return WindowsVersion::WinServer2008;
        return query.Minor == 1 ? WindowsVersion::Win7 : WindowsVersion::WinVista;
    }
    default:
        return WindowsVersion::Unknown;
    }
}

}  // namespace

VersionResult ClassifyWindowsVersion(const VersionQuery& query, const std::function<int()>& productType)
{
    VersionResult result;
    if (query.PlatformId == PlatformWindows) {
        result.Version = ClassifyWin9x(query);
    } else if (query.PlatformId == PlatformNT) {
        result.Flags.IsWinNT = true;
        result.Version = ClassifyNT(query, productType);
    }
    result.Flags.IsWin95 = result.Version == WindowsVersion::Win95;
    result.Flags.IsWin95OSR2 = result.Version == WindowsVersion::Win95OSR2;
    result.Flags.IsWinVistaOrHigher = result.Version == WindowsVersion::Unknown ||
                                      static_cast<int>(result.Version) >= static_cast<int>(WindowsVersion::WinVista);
    return result;
}

int ProductTypeFromText(const std::wstring& text)
{
    const std::wstring lower = LowerAscii(text);
    if (lower == L"winnt")
        return 1;
    if (lower == L"servernt")
        return 2;
    if (lower == L"lanmannt")
        return 3;
    return 0;
}

}  // namespace corvello
