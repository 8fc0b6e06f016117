// Wine-side set-up for the online tests: the per-user proxy that sends every
// page load to the test's own listener on 127.0.0.1, and the programs Wine's
// browser launcher starts for web and mail addresses; both restored
// afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CorvelloApp.h"
#include "support/RegistryTestSupport.h"

namespace testsupport {

// The program's application object, links filled, settings under a key of
// the tests' own.
inline std::unique_ptr<corvello::CorvelloApp> MakeOnlineApp()
{
    return std::make_unique<corvello::CorvelloApp>(L"Corvello", corvello::VersionArray{1, 2, 0, 21}, true,
                                            corvello::RegistryRootCurrentUser,
                                            L"\\Software\\QUORVANT\\CorvelloOnlineTest\\1.0");
}

// Saves a registry value at construction and puts it back (or deletes it,
// when there was none) at destruction.
class SavedValue {
public:
    SavedValue(HKEY root, std::wstring path, std::wstring name)
        : root_(root), path_(std::move(path)), name_(std::move(name)), old_(ReadValue(root_, path_, name_.c_str()))
    {
    }
    ~SavedValue()
    {
        if (old_)
            WriteValue(root_, path_, name_.c_str(), old_->Type, old_->data.data(), old_->data.size());
        else
            DeleteValue(root_, path_, name_.c_str());
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    std::optional<StoredValue> old_;
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
    SavedValue enable_{HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyEnable"};
    SavedValue server_{HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyServer"};
    SavedValue override_{HKEY_CURRENT_USER, InternetSettingsKey, L"ProxyOverride"};
    SavedValue autoConfig_{HKEY_CURRENT_USER, InternetSettingsKey, L"AutoConfigURL"};
};

// A request line as the proxy receives it: "GET http://host:80/path?q HTTP/1.1".
struct RequestedAddress {
    std::string Method;
    std::string Host;  // without the default port
    std::string Path;  // with the query
};

inline RequestedAddress ParseRequestLine(const std::string& line)
{
    RequestedAddress parsed;
    std::istringstream words(line);
    std::string target;
    words >> parsed.Method >> target;
    const std::string scheme = "http://";
    if (target.rfind(scheme, 0) == 0)
        target.erase(0, scheme.size());
    const auto slash = target.find('/');
    parsed.Host = target.substr(0, slash);
    parsed.Path = slash == std::string::npos ? "/" : target.substr(slash);
    if (parsed.Host.ends_with(":80"))
        parsed.Host.resize(parsed.Host.size() - 3);
    return parsed;
}

// The Unix path of a Windows path, through Wine's own conversion; empty outside
// Wine.
inline std::string UnixPath(const std::wstring& windowsPath)
{
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    const auto convert = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char* unix = convert(windowsPath.c_str());
    if (!unix)
        return {};
    std::string path(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

inline constexpr const wchar_t* WineBrowserKey = L"Software\\Wine\\WineBrowser";

// Under Wine the shell hands web and mail addresses to winebrowser, which
// starts the Unix programs named in its "Browsers" and "Mailers" values. Both
// name a small shell script here that appends "browser <address>" or
// "mailer <address>" to a log, so the test sees the exact address and no
// real browser or mail program starts.
class ShellRecorder {
public:
    ShellRecorder()
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        directory_ = std::wstring(temp) + L"corvello-shell-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(directory_.c_str(), nullptr);
        const std::string unixDirectory = UnixPath(directory_);
        if (unixDirectory.empty())
            return;
        const std::string script = "#!/bin/sh\nprintf '%s %s\\n' \"$1\" \"$2\" >> '" + unixDirectory + "/opened.log'\n";
        std::ofstream(std::filesystem::path(directory_ + L"\\record.sh"), std::ios::binary) << script;
        const std::wstring command = L"/bin/sh \"" + Widen(unixDirectory) + L"/record.sh\"";
        WriteSz(HKEY_CURRENT_USER, WineBrowserKey, L"Browsers", command + L" browser");
        WriteSz(HKEY_CURRENT_USER, WineBrowserKey, L"Mailers", command + L" mailer");
        ready_ = true;
    }
    ~ShellRecorder()
    {
        ::DeleteFileW((directory_ + L"\\opened.log").c_str());
        ::DeleteFileW((directory_ + L"\\record.sh").c_str());
        ::RemoveDirectoryW(directory_.c_str());
    }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    // False outside Wine, where there is nothing to record with.
    bool Ready() const { return ready_; }

    // The lines recorded so far: "browser http://..." or "mailer mailto:...".
    std::vector<std::string> Lines() const
    {
        std::ifstream log(std::filesystem::path(directory_ + L"\\opened.log"), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

private:
    static std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

    SavedValue browsers_{HKEY_CURRENT_USER, WineBrowserKey, L"Browsers"};
    SavedValue mailers_{HKEY_CURRENT_USER, WineBrowserKey, L"Mailers"};
    std::wstring directory_;
    bool ready_ = false;
};

}  // namespace testsupport
