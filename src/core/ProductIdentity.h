// The identity every settings-keeping object carries: name, version and the
// registry root and key of its settings.
#pragma once

#include <cstdint>
#include <string>

#include "core/Identity.h"

namespace corvello {

class ProductIdentity {
public:
    // An empty registry key is composed from the name and the major version.
    ProductIdentity(const std::wstring& name, const VersionArray& version, std::uint32_t registryRoot,
                    const std::wstring& registryKey);
    virtual ~ProductIdentity();
    ProductIdentity(const ProductIdentity&) = delete;
    ProductIdentity& operator=(const ProductIdentity&) = delete;

    const std::wstring& Name() const noexcept { return name_; }
    const VersionArray& VersionNumbers() const noexcept { return version_; }
    std::uint32_t RegistryRoot() const noexcept { return registryRoot_; }
    const std::wstring& RegistryKey() const noexcept { return registryKey_; }

    virtual void SetName(const std::wstring& name);
    // "1.2.0.21"
    virtual std::wstring Version() const;
    // "Corvello (1.2.0.21)"
    virtual std::wstring FullName() const;
    virtual bool Terminated() const;

    virtual void SettingsReset() = 0;
    virtual bool SettingsRead() = 0;
    virtual bool SettingsWrite() = 0;
    // Deletes the settings key with everything below it; the parents stay.
    virtual void RegistryClear();

protected:
    std::wstring name_;
    VersionArray version_{};
    std::uint32_t registryRoot_ = 0;
    std::wstring registryKey_;
    bool terminated_ = false;
};

}  // namespace corvello
