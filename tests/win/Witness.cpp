// corvello_witness: a hidden top-level window of a program of its own, there
// to see what other programs post to every top-level window. It counts the
// WM_SYSCOMMAND messages that reach it until the "CorvelloWitnessPing"
// broadcast arrives, and exits with that count (255 when no ping came within
// 20 seconds, so a broadcast would not have reached it either).
#include <windows.h>

namespace {

UINT PingMessage = 0;
int SystemCommands = 0;

LRESULT CALLBACK WitnessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) {
        ++SystemCommands;
        return 0;  // seen, and not carried out
    }
    if (message == PingMessage && PingMessage != 0) {
        ::PostQuitMessage(SystemCommands);
        return 0;
    }
    if (message == WM_TIMER) {
        ::PostQuitMessage(255);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    PingMessage = ::RegisterWindowMessageW(L"CorvelloWitnessPing");
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WitnessProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"CorvelloWitness";
    ::RegisterClassExW(&wc);
    // Never shown, so it takes no focus from the tests.
    const HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Corvello witness", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                          100, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 254;
    ::SetTimer(window, 1, 20000, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    ::DestroyWindow(window);
    return static_cast<int>(msg.wParam);
}
