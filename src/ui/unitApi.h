// The settings option bridge: options by index or name, values as text; every
// change goes to the application object and is saved at once.
#pragma once

#include <string>

#include "core/SharedClasses.h"

namespace corvello {

class TApiClass : public TAppApiBaseClass {
public:
    TApiClass(const std::wstring& AName, const TVersionArray& AVersionArray, const std::wstring& AURL,
              std::uint32_t ARegistryRoot, const std::wstring& ARegistryKey);

    const std::wstring& URL() const noexcept { return FURL; }

    // The bridge keeps nothing of its own: the options live in the
    // application object, which stores them.
    void SettingsReset() override {}
    bool SettingsRead() override { return true; }
    bool SettingsWrite() override { return true; }

protected:
    std::wstring FURL;
};

class TApi : public TApiClass {
public:
    using TApiClass::TApiClass;

    virtual int OptionFindIndex(const std::wstring& Name);
    virtual std::wstring OptionGet(int Index);
    // Sets option 1, 2 or 3 from the text, then updates the application
    // (which saves the settings), whatever the index.
    virtual void OptionSet(int Index, const std::wstring& Value);

    std::wstring OptionGet(const std::wstring& Name) { return OptionGet(OptionFindIndex(Name)); }
    void OptionSet(const std::wstring& Name, const std::wstring& Value) { OptionSet(OptionFindIndex(Name), Value); }
};

// The program's option bridge, owned by the start-up routine; null outside
// its lifetime.
extern TApi* Api;

}  // namespace corvello
