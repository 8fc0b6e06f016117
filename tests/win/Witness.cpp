// corvello_witness: a program of its own, there to see what another program
// does to every top-level window and to the input stream.
//
// Without arguments: a hidden top-level window counts the WM_SYSCOMMAND
// messages that reach it until the "CorvelloWitnessPing" broadcast arrives,
// and the program exits with that count (255 when no ping came within 20
// seconds, so a broadcast would not have reached it either).
//
// corvello_witness record <file> [desktop <name>]: a hidden top-level window
// and a low-level keyboard hook write what they see to <file>, one line each,
// as it happens (the file outlives a session that ends):
//   ready                          the window and the hook are in place
//   key down|up <vk> <scan> [injected] [extended]
//   syscommand <wParam hex> <lParam>   (recorded, not carried out)
//   hotkey <wParam hex> <lParam hex>
//   queryendsession <lParam hex>       (answered yes)
//   endsession <wParam>
//   ping <n>                       a thread message WM_APP+1 with wParam n;
//                                  what was posted before it is above it
// With "desktop <name>" the window lives on that desktop of the window
// station, made when it does not exist (no keyboard hook there). WM_CLOSE
// to the window, or two minutes, end the program.
//
// corvello_witness press <vk>: presses and lets go of the key with
// SendInput, as any program may, and exits with 0 once both were sent.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

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

int CountSystemCommands(HINSTANCE instance)
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

// --- record mode

constexpr UINT RecordPing = WM_APP + 1;
HANDLE RecordFile = INVALID_HANDLE_VALUE;

void Record(const char* format, ...)
{
    char line[160];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    if (length <= 0)
        return;
    const int size = length < static_cast<int>(sizeof line - 1) ? length : static_cast<int>(sizeof line - 2);
    line[size] = '\n';
    DWORD written = 0;
    ::WriteFile(RecordFile, line, static_cast<DWORD>(size + 1), &written, nullptr);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool up = wParam == WM_KEYUP || wParam == WM_SYSKEYUP;
        Record("key %s %lu %lu%s%s", up ? "up" : "down", key->vkCode, key->scanCode,
               (key->flags & LLKHF_INJECTED) ? " injected" : "", (key->flags & LLKHF_EXTENDED) ? " extended" : "");
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RecordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        Record("syscommand %llx %lld", static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
        return 0;
    case WM_HOTKEY:
        Record("hotkey %llx %llx", static_cast<unsigned long long>(wParam),
               static_cast<unsigned long long>(lParam));
        return 0;
    case WM_QUERYENDSESSION:
        Record("queryendsession %llx", static_cast<unsigned long long>(lParam));
        return TRUE;
    case WM_ENDSESSION:
        Record("endsession %llu", static_cast<unsigned long long>(wParam));
        return 0;
    case WM_TIMER:
    case WM_CLOSE:
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

int RecordWhatArrives(HINSTANCE instance, const wchar_t* path, const wchar_t* desktopName)
{
    RecordFile = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (RecordFile == INVALID_HANDLE_VALUE)
        return 253;
    if (desktopName) {
        // Before this thread owns any window or hook.
        HDESK desktop = ::OpenDesktopW(desktopName, 0, FALSE, GENERIC_ALL);
        if (!desktop)
            desktop = ::CreateDesktopW(desktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (!desktop || !::SetThreadDesktop(desktop)) {
            Record("desktop %ls refused %lu", desktopName, ::GetLastError());
            return 252;
        }
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &RecordProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"CorvelloRecordingWitness";
    ::RegisterClassExW(&wc);
    const HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Corvello witness", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                          100, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 254;
    HHOOK hook = nullptr;
    if (!desktopName && !(hook = ::SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook, instance, 0))) {
        Record("hook refused %lu", ::GetLastError());
        return 251;
    }
    ::SetTimer(window, 1, 120000, nullptr);
    Record("ready");
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == RecordPing) {
            Record("ping %llu", static_cast<unsigned long long>(msg.wParam));
            continue;
        }
        ::DispatchMessageW(&msg);
    }
    if (hook)
        ::UnhookWindowsHookEx(hook);
    ::CloseHandle(RecordFile);
    return 0;
}

// --- press mode

int Press(WORD key)
{
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2 ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    int code = 0;
    if (args && count >= 3 && std::wcscmp(args[1], L"record") == 0) {
        const wchar_t* desktop = count >= 5 && std::wcscmp(args[3], L"desktop") == 0 ? args[4] : nullptr;
        code = RecordWhatArrives(instance, args[2], desktop);
    } else if (args && count >= 3 && std::wcscmp(args[1], L"press") == 0) {
        code = Press(static_cast<WORD>(std::wcstoul(args[2], nullptr, 0)));
    } else {
        code = CountSystemCommands(instance);
    }
    ::LocalFree(args);
    return code;
}
