#include "core/WindowsVersion.h"

#include "core/Text.h"

namespace corvello {
namespace {

constexpr std::uint32_t PlatformWindows = 1;
constexpr std::uint32_t PlatformNT = 2;

TWindowsVersion ClassifyWin9x(const TVersionQuery& query)
{
    switch (query.Minor) {
    case 0:
        return TrimBlanks(query.ServicePack) == L"B" ? TWindowsVersion::wvWin95OSR2 : TWindowsVersion::wvWin95;
    case 10:
        return TrimBlanks(query.ServicePack) == L"A" ? TWindowsVersion::wvWin98SE : TWindowsVersion::wvWin98;
    case 90:
        return TWindowsVersion::wvWinME;
    default:
        return TWindowsVersion::wvUnknown;
    }
}

TWindowsVersion ClassifyNT(const TVersionQuery& query, const std::function<int()>& productType)
{
    switch (query.Major) {
    case 3:
        return TWindowsVersion::wvWinNT3;
    case 4:
        return TWindowsVersion::wvWinNT4;
    case 5:
        if (query.Minor == 1)
            return TWindowsVersion::wvWinXP;
        return query.Minor == 2 ? TWindowsVersion::wvWin2003 : TWindowsVersion::wvWin2000;
    case 6: {
        const int type = productType ? productType() : 0;
        if (type == 2 || type == 3)
            return TWindowsVersion::wvWinServer2008;
        return query.Minor == 1 ? TWindowsVersion::wvWin7 : TWindowsVersion::wvWinVista;
    }
    default:
        return TWindowsVersion::wvUnknown;
    }
}

}  // namespace

TVersionResult ClassifyWindowsVersion(const TVersionQuery& query, const std::function<int()>& productType)
{
    TVersionResult result;
    if (query.PlatformId == PlatformWindows) {
        result.Version = ClassifyWin9x(query);
    } else if (query.PlatformId == PlatformNT) {
        result.Flags.IsWinNT = true;
        result.Version = ClassifyNT(query, productType);
    }
    result.Flags.IsWin95 = result.Version == TWindowsVersion::wvWin95;
    result.Flags.IsWin95OSR2 = result.Version == TWindowsVersion::wvWin95OSR2;
    result.Flags.IsWinVistaOrHigher = result.Version == TWindowsVersion::wvUnknown ||
                                      static_cast<int>(result.Version) >= static_cast<int>(TWindowsVersion::wvWinVista);
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
