#include "core/ProductIdentity.h"

#include "toolkit/Registry.h"

namespace corvello {

ProductIdentity::ProductIdentity(const std::wstring& name, const VersionArray& version, std::uint32_t registryRoot,
                                 const std::wstring& registryKey)
    : name_(name),
      version_(version),
      registryRoot_(registryRoot),
      registryKey_(registryKey.empty() ? ComposeSettingsKey(name, version) : registryKey)
{
    // A class that extends SetName applies the name in its own constructor:
    // C++ does not reach derived overrides from here.
}

ProductIdentity::~ProductIdentity()
{
    terminated_ = true;
}

void ProductIdentity::SetName(const std::wstring& name)
{
    name_ = name;
}

std::wstring ProductIdentity::Version() const
{
    return VersionToText(version_);
}

std::wstring ProductIdentity::FullName() const
{
    return ComposeFullName(name_, Version());
}

bool ProductIdentity::Terminated() const
{
    return terminated_;
}

void ProductIdentity::RegistryClear()
{
    tk::RegKey::DeleteTree(tk::RootKey(registryRoot_), registryKey_);
}

}  // namespace corvello
