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

namespace {

// The setting behind an option index; null for an index without one.
bool GeneralSettings::*SwitchOf(int index) noexcept
{
    switch (index) {
    case OptionAutoRun:
        return &GeneralSettings::AutoRun;
    case OptionOnline:
        return &GeneralSettings::Online;
    case OptionConfirm:
        return &GeneralSettings::Confirmations;
    default:
        return nullptr;
    }
}

}  // namespace

std::wstring OptionBridge::OptionGet(int index)
{
    const auto member = SwitchOf(index);
    if (!member)
        return {};
    return BooleanToText(application_.Settings().*member);
}

void OptionBridge::OptionSet(int index, const std::wstring& value)
{
    const auto member = SwitchOf(index);
    if (!member) {
        application_.Update();
        return;
    }
    GeneralSettings settings = application_.Settings();
    settings.*member = TextToBoolean(value, UserDecimalSeparator()).value_or(settings.*member);
    application_.ChangeSettings(settings);
}

}  // namespace corvello
