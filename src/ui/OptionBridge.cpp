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
    if (!AppObject || !member)
        return {};
    return BooleanToText(AppObject->Settings().*member);
}

void OptionBridge::OptionSet(int index, const std::wstring& value)
{
    if (!AppObject)
        return;
    const auto member = SwitchOf(index);
    if (!member) {
        AppObject->Update();
        return;
    }
    GeneralSettings settings = AppObject->Settings();
    settings.*member = TextToBoolean(value, UserDecimalSeparator()).value_or(settings.*member);
    AppObject->ChangeSettings(settings);
}

}  // namespace corvello
