// The identity every settings-keeping object carries: name, version and the
// registry root and key of its settings.
#pragma once

#include <cstdint>
#include <string>

#include "core/Identity.h"

namespace corvello {

class TAppApiBaseClass {
public:
    // An empty registry key is composed from the name and the major version.
    TAppApiBaseClass(const std::wstring& AName, const TVersionArray& AVersionArray, std::uint32_t ARegistryRoot,
                     const std::wstring& ARegistryKey);
    virtual ~TAppApiBaseClass();
    TAppApiBaseClass(const TAppApiBaseClass&) = delete;
    TAppApiBaseClass& operator=(const TAppApiBaseClass&) = delete;

    const std::wstring& Name() const noexcept { return FName; }
    const TVersionArray& VersionArray() const noexcept { return FVersionArray; }
    std::wstring Version() const { return GetVersion(); }
    std::wstring Edition() const { return GetEdition(); }
    std::wstring FullName() const { return GetFullName(); }
    std::wstring FullVersion() const { return GetFullVersion(); }
    std::uint32_t RR() const noexcept { return FRR; }
    const std::wstring& RK() const noexcept { return FRK; }
    bool Terminated() const { return GetTerminated(); }

    virtual void SetName(const std::wstring& Value);
    virtual std::wstring GetVersion() const;
    virtual std::wstring GetEdition() const;
    virtual std::wstring GetFullName() const;
    virtual std::wstring GetFullVersion() const;
    virtual bool GetTerminated() const;
    virtual void SettingsReset() = 0;
    virtual bool SettingsRead() = 0;
    virtual bool SettingsWrite() = 0;
    // Deletes the settings key with everything below it; the parents stay.
    virtual void RegistryClear();

protected:
    std::wstring FName;
    TVersionArray FVersionArray{};
    std::uint32_t FRR = 0;
    std::wstring FRK;
    bool FTerminated = false;

private:
    void BasicInit(const std::wstring& AName, const TVersionArray& AVersionArray, std::uint32_t ARegistryRoot,
                   const std::wstring& ARegistryKey);
};

}  // namespace corvello
