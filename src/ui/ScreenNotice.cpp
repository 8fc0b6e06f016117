#include "ui/ScreenNotice.h"

#include <windows.h>

#include "toolkit/Registry.h"
#include "ui/NoticePlacement.h"

namespace corvello {
namespace {

Area AreaOf(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
    return TRUE;
}

// The desktop and the shell's own window cover a monitor without being a
// program in front.
bool IsDesktop(HWND window)
{
    if (!window || window == ::GetDesktopWindow() || window == ::GetShellWindow())
        return true;
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring_view(name) == L"Progman" || std::wstring_view(name) == L"WorkerW";
}

// The foreground window's client area on the screen covers its monitor.
bool FullScreenOn(HWND foreground, const MONITORINFO& monitor)
{
    if (IsDesktop(foreground))
        return false;
    RECT client{};
    if (!::GetClientRect(foreground, &client))
        return false;
    ::MapWindowPoints(foreground, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return IsFullScreen(AreaOf(client), AreaOf(monitor.rcMonitor));
}

}  // namespace

ScreenNotice::ScreenNotice() = default;
ScreenNotice::~ScreenNotice() = default;

bool ScreenNotice::AppsUseDarkTheme()
{
    const tk::RegKey personalize = tk::RegKey::Open(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize");
    return personalize.ReadDword(L"AppsUseLightTheme") == std::optional<std::uint32_t>(0);
}

bool ScreenNotice::Show(const std::wstring& text, const wchar_t* iconName, const Options& options)
{
    const HWND foreground = ::GetForegroundWindow();
    const HMONITOR front = ::MonitorFromWindow(foreground, MONITOR_DEFAULTTOPRIMARY);
    std::vector<HMONITOR> monitors;
    if (options.AllMonitors)
        ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back(front);
    NoticeLook look = options.Look;
    look.Dark = AppsUseDarkTheme();
    std::size_t shown = 0;
    for (const HMONITOR monitor : monitors) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!::GetMonitorInfoW(monitor, &info))
            continue;
        if (monitor == front && !options.OverFullScreen && FullScreenOn(foreground, info))
            continue;
        if (windows_.size() <= shown)
            windows_.push_back(std::make_unique<NoticeWindow>());
        windows_[shown++]->Show(text, iconName, AreaOf(info.rcWork), tk::DpiForMonitor(monitor), look);
    }
    for (std::size_t i = shown; i < windows_.size(); ++i)
        windows_[i]->Hide();
    return shown > 0;
}

void ScreenNotice::Hide()
{
    for (const auto& window : windows_)
        window->Hide();
}

}  // namespace corvello
