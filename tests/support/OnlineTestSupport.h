// Wine-side set-up for the online tests: the per-user proxy that sends every
// page load to the test's own listener on 127.0.0.1, restored afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/RegistryTestSupport.h"

namespace testsupport {

// Saves a registry value at construction and puts it back (or deletes it,
// when there was none) at destruction.
class SavedValue {
public:
    SavedValue(HKEY root, std::wstring path, std::wstring name)
        : FRoot(root), FPath(std::move(path)), FName(std::move(name)), FOld(ReadValue(FRoot, FPath, FName.c_str()))
    {
    }
    ~SavedValue()
    {
        if (FOld)
            WriteValue(FRoot, FPath, FName.c_str(), FOld->Type, FOld->Data.data(), FOld->Data.size());
        else
            DeleteValue(FRoot, FPath, FName.c_str());
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    HKEY FRoot;
    std::wstring FPath;
    std::wstring FName;
    std::optional<StoredValue> FOld;
};

inline constexpr const wchar_t* InternetSettingsKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Every page load of this process goes through the proxy 127.0.0.1:port, so the
// program's own addresses reach the listener unchanged and nothing leaves the
// machine. Must be in place before the process's first page load: the
// internet layer reads it once.
class LoopbackProxy {
public:
    explicit LoopbackProxy(std::uint16_t port)
    {
        WriteDword(HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyEnable", 1);
        WriteSz(HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyServer", L"127.0.0.1:" + std::to_wstring(port));
        DeleteValue(HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyOverride");
        DeleteValue(HKEY_CURRENT_USER, InternetSettingsKey, L"AutoConfigURL");
    }

private:
    SavedValue FEnable{HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyEnable"};
    SavedValue FServer{HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyServer"};
    SavedValue FOverride{HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyOverride"};
    SavedValue FAutoConfig{HKEY_CURRENT_USER, InternetSettingsKey, L"AutoConfigURL"};
};

}  // namespace testsupport
