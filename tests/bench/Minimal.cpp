// The yardstick: the least a tray program does. One copy per user (a second
// start hands over to the first through its window and ends), a shown window
// and an icon in the notification area, then the message loop.
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    ::CreateMutexW(nullptr, FALSE, L"MinimalWin32.OneInstance");
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (const HWND first = ::FindWindowW(L"MinimalWin32", L"Minimal"))
            ::PostMessageW(first, WM_USER, 0, 0);
        return 0;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MinimalWin32";
    ::RegisterClassW(&wc);
    const HWND window = ::CreateWindowExW(0, L"MinimalWin32", L"Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                          CW_USEDEFAULT, CW_USEDEFAULT, 336, 448, nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    icon.uCallbackMessage = WM_APP;
    icon.hIcon = wc.hIcon;
    ::lstrcpyW(icon.szTip, L"Minimal");
    ::Shell_NotifyIconW(NIM_ADD, &icon);
    ::ShowWindow(window, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
