#include "toolkit/TrayIcon.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"
#include "toolkit/Log.h"

namespace tk {

TrayIcon::TrayIcon(const wchar_t* windowClass) : taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated"))
{
    // A hidden top-level window: message-only windows miss the broadcast
    // that announces a new task bar.
    CreateOwnClass(windowClass, WS_EX_TOOLWINDOW, WS_POPUP, RECT{0, 0, 0, 0}, nullptr, 0);
}

TrayIcon::~TrayIcon()
{
    SetVisible(false);
}

bool TrayIcon::Notify(DWORD command, UINT flags)
{
    const bool retrying = command == NIM_ADD && !visible_ && retries_ > 0;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Handle();
    data.uID = IconId;
    data.uFlags = flags;
    data.uCallbackMessage = CallbackMessage;
    data.hIcon = icon_;
    const std::size_t tipLength = std::min(hint_.size(), std::size(data.szTip) - 1);
    std::copy_n(hint_.c_str(), tipLength, data.szTip);
    data.uVersion = NOTIFYICON_VERSION_4;
    if (::Shell_NotifyIconW(command, &data)) {
        if (retrying)
            LogFailure(Concat({L"adding the tray icon (it is there now, after ", tk::Decimal(retries_), L" retries)"}), 0);
        retries_ = 0;
        return true;
    }
    // A retry that fails again is not logged once more.
    if (!retrying)
        LogLastError(tk::Concat({L"Shell_NotifyIcon ", tk::Decimal(command)}));
    if (command == NIM_ADD)
        ++retries_;
    return false;
}

bool TrayIcon::SetVisible(bool visible)
{
    if (!Handle())
        return false;
    wanted_ = visible;
    if (visible == visible_)
        return true;
    if (visible)
        return Add();
    ::KillTimer(Handle(), RetryTimerId);
    Notify(NIM_DELETE, 0);
    visible_ = false;
    return true;
}

bool TrayIcon::Add()
{
    if (Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP)) {
        Notify(NIM_SETVERSION, 0);
        visible_ = true;
        ::KillTimer(Handle(), RetryTimerId);
        return true;
    }
    // No task bar yet (a start with Windows comes before it): try again
    // until the icon is there; a new task bar announces itself as well.
    if (!::SetTimer(Handle(), RetryTimerId, RetryInterval, nullptr))
        LogLastError(L"starting the tray icon's retry timer");
    return false;
}

int TrayIcon::IconSize() noexcept
{
    return ::GetSystemMetrics(SM_CXSMICON);
}

void TrayIcon::SetHint(const std::wstring& hint)
{
    // Set again on every show and every opening of the menu; each change
    // is a round trip to the shell.
    if (hint == hint_)
        return;
    hint_ = hint;
    if (visible_)
        Notify(NIM_MODIFY, NIF_TIP | NIF_SHOWTIP);
}

void TrayIcon::SetIcon(HICON icon)
{
    icon_ = icon;
    if (visible_)
        Notify(NIM_MODIFY, NIF_ICON);
}

bool TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonKind kind)
{
    if (!visible_)
        return false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Handle();
    data.uID = IconId;
    data.uFlags = NIF_INFO;
    std::copy_n(text.c_str(), std::min(text.size(), std::size(data.szInfo) - 1), data.szInfo);
    std::copy_n(title.c_str(), std::min(title.size(), std::size(data.szInfoTitle) - 1), data.szInfoTitle);
    switch (kind) {
    case BalloonKind::Info:
        data.dwInfoFlags = NIIF_INFO;
        break;
    case BalloonKind::Warning:
        data.dwInfoFlags = NIIF_WARNING;
        break;
    case BalloonKind::Error:
        data.dwInfoFlags = NIIF_ERROR;
        break;
    case BalloonKind::None:
        data.dwInfoFlags = NIIF_NONE;
        break;
    }
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

LRESULT TrayIcon::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // A new task bar: the icon is to be added anew (where the old one
        // somehow survived, it is brought up to date instead).
        if (visible_) {
            if (Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP))
                Notify(NIM_SETVERSION, 0);
            else
                Notify(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
        } else if (wanted_) {
            Add();
        }
        return 0;
    }
    // The window lives as long as its object: a close sent from outside
    // would take the icon away for the rest of the run.
    if (message == WM_CLOSE)
        return 0;
    if (message == WM_TIMER && wParam == RetryTimerId) {
        if (wanted_ && !visible_)
            Add();
        else
            ::KillTimer(Handle(), RetryTimerId);
        return 0;
    }
    if (message == CallbackMessage) {
        // Version 4: the event in the low word, the anchor point in wParam.
        switch (LOWORD(lParam)) {
        case NIN_SELECT:
        case NIN_KEYSELECT:
            if (OnClick)
                OnClick(*this);
            break;
        case WM_LBUTTONDBLCLK:
            if (OnDblClick)
                OnDblClick(*this);
            break;
        case WM_CONTEXTMENU:
            // A right click, or the menu key or Shift+F10 on the focused icon.
            // The automatic pop-up stays off while the menu shows.
            if (Menu && Menu->AutoPopup) {
                Menu->AutoPopup = false;
                Menu->Popup(GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam));
                Menu->AutoPopup = true;
            }
            break;
        default:
            break;
        }
        return 0;
    }
    return Window::WndProc(message, wParam, lParam);
}

}  // namespace tk
