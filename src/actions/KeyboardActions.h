// Keyboard actions: the lock keys, Ctrl+Shift+Esc, Print Screen and
// Ctrl+Alt+Del, made of injected key events, and the readers of the lock
// states. The requests go through an interface, so the key sequences are
// checked without touching the keyboard.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvello {

class KeyboardRequests {
public:
    // A window station or desktop as Windows hands it out; null on failure.
    using Handle = void*;

    virtual ~KeyboardRequests() = default;
    // Injects one key event (keybd_event) with extra information 0.
    virtual void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) = 0;
    // The key's state as GetKeyState reports it: the high bit while it is
    // down, the low bit while it is toggled on.
    virtual std::int16_t KeyState(std::uint8_t virtualKey) = 0;
    // Waits while the program's messages keep flowing.
    virtual void Wait(std::uint32_t milliseconds) = 0;

    virtual Handle OpenNamedWindowStation(const std::wstring& name, bool inherit, std::uint32_t access) = 0;
    virtual bool SetProcessWindowStation(Handle station) = 0;
    virtual Handle OpenNamedDesktop(const std::wstring& name, std::uint32_t flags, bool inherit,
                                    std::uint32_t access) = 0;
    virtual bool SetThreadDesktop(Handle desktop) = 0;
    // Posts (never sends) a message to every top-level window.
    virtual bool PostBroadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

    // Called from inside a catch block for an exception that is swallowed.
    virtual void LogCurrentException(const std::wstring& what) noexcept = 0;
};

namespace keyboard {

// The Windows values, named apart from the macros of windows.h.
inline constexpr std::uint32_t KeyDown = 0x0;
inline constexpr std::uint32_t KeyUp = 0x2;  // KEYEVENTF_KEYUP; KEYEVENTF_EXTENDEDKEY is never set

struct Key {
    std::uint8_t VirtualKey;
    std::uint8_t ScanCode;
};

// The three lock keys, with the keyboard's own scan codes; SwitchLock takes
// them by the index 1 (Num Lock), 2 (Caps Lock) and 3 (Scroll Lock).
inline constexpr Key NumLockKey{0x90, 0x45};
inline constexpr Key CapsLockKey{0x14, 0x3A};
inline constexpr Key ScrollLockKey{0x91, 0x46};
// These carry the virtual-key code as their scan byte.
inline constexpr Key ControlKey{0x11, 0x11};
inline constexpr Key ShiftKey{0x10, 0x10};
inline constexpr Key EscapeKey{0x1B, 0x1B};
inline constexpr Key PrintScreenKey{0x2C, 0x2C};

// How long Ctrl, Shift and Esc stay down together.
inline constexpr std::uint32_t CtrlShiftEscHoldMs = 50;

// Ctrl+Alt+Del as the logon desktop hears it (Windows before Vista).
inline constexpr const wchar_t* InteractiveWindowStation = L"winsta0";
inline constexpr std::uint32_t WindowStationAllAccess = 0x37F;
inline constexpr const wchar_t* LogonDesktop = L"Winlogon";
inline constexpr std::uint32_t DesktopAllAccess = 0x1FF;
inline constexpr unsigned HotKeyMessage = 0x0312;                  // WM_HOTKEY
inline constexpr std::intptr_t CtrlAltDelHotKey = 0x002E0003;     // VK_DELETE with MOD_ALT | MOD_CONTROL

// Presses and releases the lock key of row 1 (Num Lock), 2 (Caps Lock) or
// 3 (Scroll Lock); any other index does nothing. The state is not read
// first: one press toggles the lock.
void SwitchLock(KeyboardRequests& requests, int index);
// SwitchLock 1, 2, 3; false only when an exception escaped it (logged).
bool SwitchNumLock(KeyboardRequests& requests);
bool SwitchCapsLock(KeyboardRequests& requests);
bool SwitchScrollLock(KeyboardRequests& requests);

// Ctrl, Shift, Esc down; a 50 ms wait; Esc, Shift, Ctrl up. Whatever
// happens in between, no key is left down. True, or false when an exception
// escaped (logged).
bool PressCtrlShiftEsc(KeyboardRequests& requests);
// Print Screen down and up at once. True, or false as above.
bool PressPrintScreen(KeyboardRequests& requests);

// The five steps, each only when the one before succeeded; false at the
// first failure. The handles stay open and the process's window station and
// the thread's desktop are not switched back.
bool PostCtrlAltDel(KeyboardRequests& requests);
// On Vista or later (or a Windows not recognised) Ctrl+Alt+Del cannot be
// emulated: warn() tells the user so and the answer is false. Earlier
// versions go through PostCtrlAltDel.
bool PressCtrlAltDel(KeyboardRequests& requests, bool isWinVistaOrHigher, const std::function<void()>& warn);

// Whether the lock's toggle bit is set.
bool IsCapsLockOn(KeyboardRequests& requests);
bool IsNumLockOn(KeyboardRequests& requests);
bool IsScrollLockOn(KeyboardRequests& requests);

}  // namespace keyboard
}  // namespace corvello
