#include "core/Identity.h"

#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"

namespace corvello {

std::wstring VersionToText(const VersionArray& version)
{
    std::wstring text;
    for (std::size_t i = 0; i < version.size(); ++i) {
        if (i != 0)
            text += L'.';
        text += tk::Decimal(version[i]);
    }
    return text;
}

std::wstring ComposeFullName(const std::wstring& name, const std::wstring& version)
{
    return tk::Concat({name, L" (", version, L")"});
}

std::wstring ComposeSettingsKey(const std::wstring& name, const VersionArray& version)
{
    return tk::Concat(
        {L"\\Software\\" CORVELLO_WIDEN(CORVELLO_MAKER) L"\\", name, L"\\", tk::Decimal(version[0]), L".0"});
}

VersionArray VersionFromWords(std::uint32_t mostSignificant, std::uint32_t leastSignificant)
{
    return {static_cast<std::uint16_t>(mostSignificant >> 16), static_cast<std::uint16_t>(mostSignificant & 0xFFFFu),
            static_cast<std::uint16_t>(leastSignificant >> 16), static_cast<std::uint16_t>(leastSignificant & 0xFFFFu)};
}

PathParts SplitPath(const std::wstring& fullPath)
{
    const auto slash = fullPath.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {L"", fullPath};
    return {fullPath.substr(0, slash + 1), fullPath.substr(slash + 1)};
}

std::wstring ChangeFileExt(const std::wstring& path, const std::wstring& extension)
{
    const auto slash = path.find_last_of(L"\\/");
    const auto dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::wstring ComposeHardware(const std::wstring& computerName, const std::wstring& userName)
{
    return tk::Concat({computerName, L"-", userName});
}

std::wstring FormatIsoDate(int year, int month, int day)
{
    auto padded = [](int value, std::size_t width) {
        std::wstring digits = tk::Decimal(value < 0 ? 0 : value);
        return digits.size() >= width ? digits : std::wstring(width - digits.size(), L'0') + digits;
    };
    return tk::Concat({padded(year, 4), L"-", padded(month, 2), L"-", padded(day, 2)});
}

}  // namespace corvello
