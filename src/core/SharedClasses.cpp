#include "core/SharedClasses.h"

#include "toolkit/Registry.h"

namespace corvello {

TAppApiBaseClass::TAppApiBaseClass(const std::wstring& AName, const TVersionArray& AVersionArray,
                                   std::uint32_t ARegistryRoot, const std::wstring& ARegistryKey)
{
    BasicInit(AName, AVersionArray, ARegistryRoot, ARegistryKey);
}

TAppApiBaseClass::~TAppApiBaseClass()
{
    FTerminated = true;
}

void TAppApiBaseClass::BasicInit(const std::wstring& AName, const TVersionArray& AVersionArray,
                                 std::uint32_t ARegistryRoot, const std::wstring& ARegistryKey)
{
    // A class that extends SetName repeats it in its own constructor: C++ does
    // not reach derived overrides from here.
    SetName(AName);
    FVersionArray = AVersionArray;
    FRR = ARegistryRoot;
    FRK = ARegistryKey.empty() ? ComposeSettingsKey(FName, FVersionArray) : ARegistryKey;
}

void TAppApiBaseClass::SetName(const std::wstring& Value)
{
    FName = Value;
}

std::wstring TAppApiBaseClass::GetVersion() const
{
    return VersionToText(FVersionArray);
}

std::wstring TAppApiBaseClass::GetEdition() const
{
    return {};
}

std::wstring TAppApiBaseClass::GetFullName() const
{
    return ComposeFullName(FName, GetFullVersion());
}

std::wstring TAppApiBaseClass::GetFullVersion() const
{
    return ComposeFullVersion(GetVersion(), GetEdition());
}

bool TAppApiBaseClass::GetTerminated() const
{
    return FTerminated;
}

void TAppApiBaseClass::RegistryClear()
{
    tk::RegKey::DeleteTree(tk::RootKey(FRR), FRK);
}

}  // namespace corvello
