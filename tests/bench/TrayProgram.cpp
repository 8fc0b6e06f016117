#include "TrayProgram.h"

#include <shellapi.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HICON LoadProgramIcon(HINSTANCE instance, const wchar_t* resource, int size)
{
    if (!resource)
        return ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    return static_cast<HICON>(::LoadImageW(instance, resource, IMAGE_ICON, size, size,
                                           LR_SHARED | (size == 0 ? LR_DEFAULTSIZE : 0)));
}

}  // namespace

int RunTrayProgram(const TrayProgram& program, HINSTANCE instance, const wchar_t* commandLine)
{
    wchar_t mutexName[64];
    ::wsprintfW(mutexName, L"%s.OneInstance", program.Name);
    ::CreateMutexW(nullptr, FALSE, mutexName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (const HWND first = ::FindWindowW(program.Name, program.Name))
            ::PostMessageW(first, WM_USER, 0, 0);
        return 0;
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hIcon = LoadProgramIcon(instance, program.IconResource, 0);
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = program.Name;
    ::RegisterClassW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT bounds{0, 0, ::MulDiv(program.ClientWidth, dpi, 96), ::MulDiv(program.ClientHeight, dpi, 96)};
    ::AdjustWindowRectEx(&bounds, style, FALSE, WS_EX_CONTROLPARENT);
    const HWND window = ::CreateWindowExW(WS_EX_CONTROLPARENT, program.Name, program.Name, style, CW_USEDEFAULT,
                                          CW_USEDEFAULT, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                          nullptr, nullptr, instance, nullptr);
    if (program.MakeControls)
        program.MakeControls(window, dpi);

    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    icon.uCallbackMessage = WM_APP;
    icon.hIcon = LoadProgramIcon(instance, program.IconResource, ::GetSystemMetrics(SM_CXSMICON));
    ::lstrcpynW(icon.szTip, program.Name, static_cast<int>(sizeof icon.szTip / sizeof icon.szTip[0]));
    ::Shell_NotifyIconW(NIM_ADD, &icon);
    if (!std::wcsstr(commandLine, L"startup"))
        ::ShowWindow(window, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(window, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
