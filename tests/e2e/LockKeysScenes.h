// The lock keys as the end-to-end tests meet them: their states, the
// program's on-screen notice, its lock-key tray icons, and where their
// settings are stored. Shared by the tests at every scaling.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "support/ProgramSettings.h"
#include "support/ProgramUser.h"
#include "support/RegistryTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Registry.h"

namespace testsupport {

inline const std::wstring LockKeysKey = ProgramSubkey(corvello::registry::LockKeysKey);
inline constexpr const wchar_t* NoticeClass = L"CorvelloNotice";
inline constexpr const wchar_t* LockIconClass = L"tk.TrayIcon.Lock";
inline constexpr const wchar_t* ThemeKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

inline bool LockOn(WORD key)
{
    return (::GetKeyState(key) & 1) != 0;
}

// Wine takes the lock states from the X server again whenever the input
// focus moves to another shown window, which forgets a toggle sent before:
// every test puts the three locks off at its start and end, and shows no
// window of its own in between.
inline void PutLocksOff()
{
    for (const WORD key : {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL})
        if (LockOn(key)) {
            PressKeys({key});
            WaitUntil([key] { return !LockOn(key); }, 2000);
        }
}

// Another program's window in front, where the user works while the program
// waits in the tray. (Wine hands the keyboard's raw input to no program
// while no window has the foreground; Windows always has one.) Made before
// a lock is switched: its coming to the front resets the locks under Wine.
class OtherProgramInFront {
public:
    OtherProgramInFront() : window_(L"CorvelloLockKeysFront", L"Another program")
    {
        ::ShowWindow(window_.Handle(), SW_SHOWNORMAL);
        ::SetForegroundWindow(window_.Handle());
        WaitUntil([this] { return ::GetForegroundWindow() == window_.Handle(); }, 5000);
    }
    HWND Handle() const { return window_.Handle(); }

private:
    TestWindow window_;
};

// The program's notice while it shows, or null.
inline HWND ShownNotice(DWORD processId)
{
    const std::vector<HWND> shown = TopWindows(processId, NoticeClass);
    return shown.empty() ? nullptr : shown.front();
}

// Waits until a notice of the program shows this text.
inline HWND WaitNotice(DWORD processId, const std::wstring& text, std::uint32_t timeoutMs = 5000)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = ShownNotice(processId);
            return found && TextOf(found) == text;
        },
        timeoutMs);
    return found && TextOf(found) == text ? found : nullptr;
}

// The program's lock-key icons that the notification area holds now (only
// an icon it holds can be modified).
inline std::vector<HWND> HeldLockIcons(DWORD processId)
{
    std::vector<HWND> held;
    for (const HWND window : TopWindows(processId, LockIconClass, false)) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = window;
        data.uID = 1;
        if (::Shell_NotifyIconW(NIM_MODIFY, &data))
            held.push_back(window);
    }
    return held;
}

// Windows' setting for apps: light (1) or dark (0); nothing stored reads as
// light. Put back as it was when the object goes.
class AppsTheme {
public:
    explicit AppsTheme(bool light) : before_(StoredDword(HKEY_CURRENT_USER, ThemeKey, L"AppsUseLightTheme"))
    {
        WriteDword(HKEY_CURRENT_USER, ThemeKey, L"AppsUseLightTheme", light ? 1 : 0);
    }
    ~AppsTheme()
    {
        if (before_)
            WriteDword(HKEY_CURRENT_USER, ThemeKey, L"AppsUseLightTheme", *before_);
        else
            DeleteValue(HKEY_CURRENT_USER, ThemeKey, L"AppsUseLightTheme");
    }
    AppsTheme(const AppsTheme&) = delete;
    AppsTheme& operator=(const AppsTheme&) = delete;

private:
    std::optional<DWORD> before_;
};

}  // namespace testsupport
