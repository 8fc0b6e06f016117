#include "online/Links.h"

#include <windows.h>
#include <shellapi.h>

#include "online/LinkStrings.h"
#include "toolkit/OleSession.h"
#include "toolkit/Application.h"
#include "toolkit/Concat.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"
#include "toolkit/Resources.h"

namespace corvello {

namespace {

// The shell's ShellExecuteW, loaded at the first link the user opens and kept:
// the shell may go on working for the call after it returned.
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

ShellExecuteFn ShellExecuteEntry()
{
    static const tk::SystemLibrary shell(L"shell32.dll");
    static const auto entry = shell.Proc<ShellExecuteFn>("ShellExecuteW");
    return entry;
}

void ShellOpen(const std::wstring& address)
{
    // The shell may hand the address to a COM extension.
    const tk::OleSession ole;
    const auto execute = ShellExecuteEntry();
    if (!execute) {
        tk::LogLastError(L"loading ShellExecuteW");
        return;
    }
    // Values above 32 mean success.
    const auto result = reinterpret_cast<INT_PTR>(
        execute(tk::Application::Current().Handle(), L"open", address.c_str(), nullptr, nullptr, SW_SHOW));
    if (result <= 32)
        tk::LogFailure(tk::Concat({L"opening ", address}), static_cast<unsigned long>(result));
}

}  // namespace

void FillLinks(LinkSet& links, const std::wstring& appName)
{
    LinkHints hints;
    hints.Web = tk::LoadResourceString(IDS_LINK_WEB);
    hints.Email = tk::LoadResourceString(IDS_LINK_EMAIL);
    hints.RSS = tk::LoadResourceString(IDS_LINK_RSS);
    hints.Facebook = tk::LoadResourceString(IDS_LINK_FACEBOOK);
    hints.Gplus = tk::LoadResourceString(IDS_LINK_GPLUS);
    hints.Twitter = tk::LoadResourceString(IDS_LINK_TWITTER);
    hints.Delicious = tk::LoadResourceString(IDS_LINK_DELICIOUS);
    hints.StumbleUpon = tk::LoadResourceString(IDS_LINK_STUMBLEUPON);
    ComposeLinks(links, appName, hints, &ToAnsi);
}

std::string ToAnsi(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

void OpenUrl(const std::wstring& address)
{
    ShellOpen(ComposeOpenUrl(address));
}

void ComposeMail(const std::wstring& address, const std::wstring& subject, const std::wstring& body)
{
    ShellOpen(ComposeMailUrl(address, ToAnsi(subject), ToAnsi(body)));
}

}  // namespace corvello
