#include "core/InstanceNames.h"

#include "core/Text.h"
#include "toolkit/Concat.h"

namespace corvello {

InstanceNames ComposeInstanceNames(const InstanceNameParts& parts)
{
    std::wstring stem;
    if (parts.UseUserName)
        stem += parts.UserName + L'.';
    stem += parts.UseExeName ? UpperAscii(parts.ExeFileName) : parts.AppTitle;
    if (!parts.Extra.empty())
        stem += L'.' + parts.Extra;
    stem += L".OneInstance.";
    return {tk::Concat({stem, L"CriticalSection"}), tk::Concat({stem, L"Default"})};
}

}  // namespace corvello
