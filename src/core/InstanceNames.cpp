#include "core/InstanceNames.h"

namespace corvello {

std::wstring UpperAscii(std::wstring text)
{
    for (auto& c : text)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

TInstanceNames ComposeInstanceNames(const TInstanceNameParts& parts)
{
    std::wstring stem;
    if (parts.UseUserName)
        stem += parts.UserName + L'.';
    stem += parts.UseExeName ? UpperAscii(parts.ExeFileName) : parts.AppTitle;
    if (!parts.Extra.empty())
        stem += L'.' + parts.Extra;
    stem += L".OneInstance.";
    return {stem + L"CriticalSection", stem + L"Default"};
}

}  // namespace corvello
