#include "ui/OptionBridge.h"

#include <windows.h>

#include "core/AppBase.h"
#include "ui/Options.h"

namespace corvello {

OptionBridge* ProgramOptions = nullptr;

wchar_t UserDecimalSeparator()
{
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1)
        return buffer[0];
    return L'.';
}

OptionBridge::OptionBridge(const std::wstring& name, const VersionArray& version, const std::wstring& url,
                           std::uint32_t registryRoot, const std::wstring& registryKey)
    : ProductIdentity(name, version, registryRoot, registryKey), url_(url)
{
}

int OptionBridge::OptionFindIndex(const std::wstring& name)
{
    return FindOptionIndex(name);
}

std::wstring OptionBridge::OptionGet(int index)
{
    if (!AppObject)
        return {};
    switch (index) {
    case OptionAutoRun:
        return BooleanToText(AppObject->AutoRun());
    case OptionOnline:
        return BooleanToText(AppObject->OnlineEnabled());
    case OptionConfirm:
        return BooleanToText(AppObject->Confirmations());
    default:
        return {};
    }
}

void OptionBridge::OptionSet(int index, const std::wstring& value)
{
    if (!AppObject)
        return;
    const auto parsed = TextToBoolean(value, UserDecimalSeparator());
    switch (index) {
    case OptionAutoRun:
        AppObject->SetAutoRun(parsed.value_or(AppObject->AutoRun()));
        break;
    case OptionOnline:
        AppObject->SetOnlineEnabled(parsed.value_or(AppObject->OnlineEnabled()));
        break;
    case OptionConfirm:
        AppObject->SetConfirmations(parsed.value_or(AppObject->Confirmations()));
        break;
    default:
        break;
    }
    AppObject->Update();
}

}  // namespace corvello
