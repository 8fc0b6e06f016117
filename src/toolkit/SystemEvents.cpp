#include "toolkit/SystemEvents.h"

#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace tk {
namespace {

// From wtsapi32.dll, which is loaded only for these (and only from the
// system directory).
using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);
constexpr DWORD NotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION

const SystemLibrary& SessionLibrary()
{
    static const SystemLibrary library(L"wtsapi32.dll");
    return library;
}

}  // namespace

SystemEvents::SystemEvents() : taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated"))
{
    // Top-level: a message-only window hears no broadcast.
    CreateOwnClass(L"tk.SystemEvents", WS_EX_TOOLWINDOW, WS_POPUP, RECT{0, 0, 0, 0}, nullptr, 0);
    if (!Handle())
        return;
    const auto registerFn = SessionLibrary().Proc<RegisterFn>("WTSRegisterSessionNotification");
    sessionNotices_ = registerFn && registerFn(Handle(), NotifyForThisSession);
    if (!sessionNotices_)
        LogLastError(L"asking for the session's notices (an unlock will not be heard)");
}

SystemEvents::~SystemEvents()
{
    if (watchingKeys_ && Handle()) {
        RAWINPUTDEVICE keyboard{1, 6, RIDEV_REMOVE, nullptr};
        ::RegisterRawInputDevices(&keyboard, 1, sizeof keyboard);
    }
    if (sessionNotices_ && Handle())
        if (const auto unregisterFn = SessionLibrary().Proc<UnregisterFn>("WTSUnRegisterSessionNotification"))
            unregisterFn(Handle());
}

bool SystemEvents::WatchLockKeys()
{
    if (watchingKeys_ || !Handle())
        return watchingKeys_;
    // The generic desktop keyboard (usage page 1, usage 6), delivered here
    // whichever window has the focus.
    RAWINPUTDEVICE keyboard{1, 6, RIDEV_INPUTSINK, Handle()};
    watchingKeys_ = ::RegisterRawInputDevices(&keyboard, 1, sizeof keyboard) != FALSE;
    if (!watchingKeys_)
        LogLastError(L"asking for the keyboard's raw input (lock keys are read on the window's timer only)");
    return watchingKeys_;
}

LRESULT SystemEvents::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto fire = [](const std::function<void()>& handler) {
        if (handler)
            handler();
    };
    switch (message) {
    case WM_HOTKEY:
        if (OnHotKey)
            OnHotKey(static_cast<int>(wParam));
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMSUSPEND) {
            suspended_ = true;
            fire(OnSuspend);
        } else if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            // Both come after a resume by the user; once is enough. A resume
            // without a notice of the sleep (one the program slept through
            // starting) counts all the same.
            if (suspended_ || wParam == PBT_APMRESUMEAUTOMATIC) {
                suspended_ = false;
                fire(OnResume);
            }
        }
        return TRUE;
    case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_UNLOCK)
            fire(OnSessionUnlock);
        return 0;
    case WM_INPUT: {
        // Only whether one of the three lock keys went up is taken from it.
        RAWINPUT input{};
        UINT size = sizeof input;
        if (::GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size,
                              sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
            input.header.dwType == RIM_TYPEKEYBOARD && (input.data.keyboard.Flags & RI_KEY_BREAK) != 0) {
            const unsigned key = input.data.keyboard.VKey;
            if ((key == VK_CAPITAL || key == VK_NUMLOCK || key == VK_SCROLL) && OnLockKeyUp)
                OnLockKeyUp(key, input.header.hDevice != nullptr, input.data.keyboard.MakeCode);
        }
        // Windows frees what it kept for the message.
        return Window::WndProc(message, wParam, lParam);
    }
    case WM_TIMECHANGE:
        fire(OnTimeChange);
        return 0;
    case WM_CLOSE:
        // Nobody outside closes it: it lives as long as the program.
        return 0;
    default:
        break;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        fire(OnTaskbarCreated);
        return 0;
    }
    return Window::WndProc(message, wParam, lParam);
}

}  // namespace tk
