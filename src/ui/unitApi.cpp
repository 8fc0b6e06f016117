#include "ui/unitApi.h"

#include <windows.h>

#include "core/unitApp.h"
#include "ui/Options.h"

namespace corvello {

TApi* Api = nullptr;

namespace {

wchar_t UserDecimalSeparator()
{
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1)
        return buffer[0];
    return L'.';
}

}  // namespace

TApiClass::TApiClass(const std::wstring& AName, const TVersionArray& AVersionArray, const std::wstring& AURL,
                     std::uint32_t ARegistryRoot, const std::wstring& ARegistryKey)
    : TAppApiBaseClass(AName, AVersionArray, ARegistryRoot, ARegistryKey), FURL(AURL)
{
}

int TApi::OptionFindIndex(const std::wstring& Name)
{
    return FindOptionIndex(Name);
}

std::wstring TApi::OptionGet(int Index)
{
    if (!App)
        return {};
    switch (Index) {
    case OptionAutoRun:
        return BooleanToText(App->AutoRun());
    case OptionOnline:
        return BooleanToText(App->OnlineEnabled());
    case OptionConfirm:
        return BooleanToText(App->Confirmations());
    default:
        return {};
    }
}

void TApi::OptionSet(int Index, const std::wstring& Value)
{
    if (!App)
        return;
    const auto value = TextToBoolean(Value, UserDecimalSeparator());
    switch (Index) {
    case OptionAutoRun:
        App->SetAutoRun(value.value_or(App->AutoRun()));
        break;
    case OptionOnline:
        App->SetOnlineEnabled(value.value_or(App->OnlineEnabled()));
        break;
    case OptionConfirm:
        App->SetConfirmations(value.value_or(App->Confirmations()));
        break;
    default:
        break;
    }
    App->Update();
}

}  // namespace corvello
