#include "ui/OptionBridge.h"

#include <windows.h>

#include "ui/Options.h"

namespace corvello {

wchar_t UserDecimalSeparator()
{
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1)
        return buffer[0];
    return L'.';
}

OptionBridge::OptionBridge(AppBase& application, const std::wstring& name, const VersionArray& version,
                           const std::wstring& url, std::uint32_t registryRoot, const std::wstring& registryKey)
    : ProductIdentity(name, version, registryRoot, registryKey), application_(application), url_(url)
{
}

int OptionBridge::OptionFindIndex(const std::wstring& name)
{
    return FindOptionIndex(name);
}

std::wstring OptionBridge::OptionGet(int index)
{
    switch (index) {
    case OptionAutoRun:
        return BooleanToText(application_.AutoRun());
    case OptionOnline:
        return BooleanToText(application_.OnlineEnabled());
    case OptionConfirm:
        return BooleanToText(application_.Confirmations());
    default:
        return {};
    }
}

void OptionBridge::OptionSet(int index, const std::wstring& value)
{
    const auto parsed = TextToBoolean(value, UserDecimalSeparator());
    switch (index) {
    case OptionAutoRun:
        application_.SetAutoRun(parsed.value_or(application_.AutoRun()));
        break;
    case OptionOnline:
        application_.SetOnlineEnabled(parsed.value_or(application_.OnlineEnabled()));
        break;
    case OptionConfirm:
        application_.SetConfirmations(parsed.value_or(application_.Confirmations()));
        break;
    default:
        break;
    }
    application_.Update();
}

}  // namespace corvello
