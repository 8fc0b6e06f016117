#include "toolkit/TrayIcon.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "toolkit/Log.h"

namespace tk {

TrayIcon::TrayIcon() : taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated"))
{
    // A hidden top-level window: message-only windows miss the broadcast
    // that announces a new task bar.
    CreateOwnClass(L"tk.TrayIcon", WS_EX_TOOLWINDOW, WS_POPUP, RECT{0, 0, 0, 0}, nullptr, 0);
}

TrayIcon::~TrayIcon()
{
    SetVisible(false);
}

bool TrayIcon::Notify(DWORD command, UINT flags)
{
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
    if (::Shell_NotifyIconW(command, &data))
        return true;
    LogLastError(L"Shell_NotifyIcon " + std::to_wstring(command));
    return false;
}

bool TrayIcon::SetVisible(bool visible)
{
    if (!Handle())
        return false;
    if (visible == visible_)
        return true;
    if (visible) {
        if (!Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP))
            return false;
        Notify(NIM_SETVERSION, 0);
        visible_ = true;
    } else {
        Notify(NIM_DELETE, 0);
        visible_ = false;
    }
    return true;
}

void TrayIcon::SetHint(const std::wstring& hint)
{
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
        }
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
            if (Menu && Menu->AutoPopup)
                Menu->Popup(GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam));
            break;
        default:
            break;
        }
        return 0;
    }
    return Window::WndProc(message, wParam, lParam);
}

}  // namespace tk
