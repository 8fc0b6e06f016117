// The yardstick: the least a Win32 program does before its message loop.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MinimalWin32";
    ::RegisterClassW(&wc);
    ::CreateWindowExW(0, L"MinimalWin32", L"Minimal", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
