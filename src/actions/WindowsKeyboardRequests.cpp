#include "actions/WindowsKeyboardRequests.h"

#include <windows.h>

#include "core/Delay.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"
#include "toolkit/Log.h"

namespace corvello {

void WindowsKeyboardRequests::KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags)
{
    // keybd_event reports nothing, so there is nothing to log.
    ::keybd_event(virtualKey, scanCode, flags, 0);
}

std::int16_t WindowsKeyboardRequests::KeyState(std::uint8_t virtualKey)
{
    return ::GetKeyState(virtualKey);
}

void WindowsKeyboardRequests::Wait(std::uint32_t milliseconds)
{
    Delay(milliseconds);
}

KeyboardRequests::Handle WindowsKeyboardRequests::OpenNamedWindowStation(const std::wstring& name, bool inherit,
                                                                        std::uint32_t access)
{
    HWINSTA station = ::OpenWindowStationW(name.c_str(), inherit, access);
    if (!station)
        tk::LogLastError(tk::Concat({L"OpenWindowStation ", name}));
    return station;
}

bool WindowsKeyboardRequests::SetProcessWindowStation(Handle station)
{
    if (::SetProcessWindowStation(static_cast<HWINSTA>(station)))
        return true;
    tk::LogLastError(L"SetProcessWindowStation");
    return false;
}

KeyboardRequests::Handle WindowsKeyboardRequests::OpenNamedDesktop(const std::wstring& name, std::uint32_t flags,
                                                                  bool inherit, std::uint32_t access)
{
    HDESK desktop = ::OpenDesktopW(name.c_str(), flags, inherit, access);
    if (!desktop)
        tk::LogLastError(tk::Concat({L"OpenDesktop ", name}));
    return desktop;
}

bool WindowsKeyboardRequests::SetThreadDesktop(Handle desktop)
{
    if (::SetThreadDesktop(static_cast<HDESK>(desktop)))
        return true;
    tk::LogLastError(L"SetThreadDesktop");
    return false;
}

bool WindowsKeyboardRequests::PostBroadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (::PostMessageW(HWND_BROADCAST, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)))
        return true;
    tk::LogLastError(tk::Concat({L"broadcasting message ", tk::Decimal(message)}));
    return false;
}

void WindowsKeyboardRequests::LogCurrentException(const std::wstring& what) noexcept
{
    tk::LogCurrentException(what);
}

}  // namespace corvello
