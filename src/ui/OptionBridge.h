// The settings option bridge: options by index or name, values as text; every
// change goes to the application object and is saved at once.
#pragma once

#include <string>

#include "core/AppBase.h"
#include "core/ProductIdentity.h"

namespace corvello {

class OptionBridge : public ProductIdentity {
public:
    // The options are the application's.
    OptionBridge(AppBase& application, const std::wstring& name, const VersionArray& version, const std::wstring& url,
                 std::uint32_t registryRoot, const std::wstring& registryKey);

    const std::wstring& Url() const noexcept { return url_; }

    // The bridge keeps nothing of its own: the options live in the
    // application object, which stores them.
    void SettingsReset() override {}
    bool SettingsRead() override { return true; }
    bool SettingsWrite() override { return true; }

    virtual int OptionFindIndex(const std::wstring& name);
    // The option's value as text ("-1" or "0"); empty for an index without a
    // value.
    virtual std::wstring OptionGet(int index);
    // Sets option 1, 2 or 3 from the text, then updates the application
    // (which saves the settings), whatever the index.
    virtual void OptionSet(int index, const std::wstring& value);

    std::wstring OptionGet(const std::wstring& name) { return OptionGet(OptionFindIndex(name)); }
    void OptionSet(const std::wstring& name, const std::wstring& value) { OptionSet(OptionFindIndex(name), value); }

private:
    AppBase& application_;
    std::wstring url_;
};

// The user's decimal separator, with which option texts are read as numbers.
wchar_t UserDecimalSeparator();

}  // namespace corvello
