#include "actions/KeyboardActions.h"

#include <array>
#include <cstddef>
#include <exception>

namespace corvello::keyboard {
namespace {

// The keys this operation has pressed. Whatever ends the operation, a
// return or an exception (from the wait, whose message handling runs other
// code), releases them, the last pressed first.
class HeldKeys {
public:
    explicit HeldKeys(KeyboardRequests& requests) noexcept : requests_(requests) {}
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys()
    {
        try {
            ReleaseAll();
        } catch (...) {
            requests_.LogCurrentException(L"releasing a key");
        }
    }

    void Press(const Key& key)
    {
        requests_.KeyEvent(key.VirtualKey, key.ScanCode, KeyDown);
        held_[count_++] = key;
    }

    // Every key goes up even when one of them fails; the first failure is
    // passed on afterwards, any further one is logged.
    void ReleaseAll()
    {
        std::exception_ptr failure;
        while (count_ > 0) {
            const Key key = held_[--count_];
            try {
                requests_.KeyEvent(key.VirtualKey, key.ScanCode, KeyUp);
            } catch (...) {
                if (failure)
                    requests_.LogCurrentException(L"releasing a key");
                else
                    failure = std::current_exception();
            }
        }
        if (failure)
            std::rethrow_exception(failure);
    }

private:
    KeyboardRequests& requests_;
    std::array<Key, 3> held_{};
    std::size_t count_ = 0;
};

void PressAndRelease(KeyboardRequests& requests, const Key& key)
{
    HeldKeys keys(requests);
    keys.Press(key);
    keys.ReleaseAll();
}

// The key operations report an escaped exception as false instead of
// passing it on into the message loop.
template <typename Operation>
bool Guarded(KeyboardRequests& requests, const wchar_t* what, Operation operation) noexcept
{
    try {
        operation();
        return true;
    } catch (...) {
        requests.LogCurrentException(what);
        return false;
    }
}

bool IsToggled(KeyboardRequests& requests, std::uint8_t virtualKey)
{
    return (requests.KeyState(virtualKey) & 1) != 0;
}

}  // namespace

void SwitchLock(KeyboardRequests& requests, int index)
{
    static constexpr Key locks[] = {NumLockKey, CapsLockKey, ScrollLockKey};
    if (index < 1 || index > 3)
        return;
    PressAndRelease(requests, locks[index - 1]);
}

bool SwitchNumLock(KeyboardRequests& requests)
{
    return Guarded(requests, L"switching Num Lock", [&] { SwitchLock(requests, 1); });
}

bool SwitchCapsLock(KeyboardRequests& requests)
{
    return Guarded(requests, L"switching Caps Lock", [&] { SwitchLock(requests, 2); });
}

bool SwitchScrollLock(KeyboardRequests& requests)
{
    return Guarded(requests, L"switching Scroll Lock", [&] { SwitchLock(requests, 3); });
}

bool PressCtrlShiftEsc(KeyboardRequests& requests)
{
    return Guarded(requests, L"pressing Ctrl+Shift+Esc", [&] {
        HeldKeys keys(requests);
        keys.Press(ControlKey);
        keys.Press(ShiftKey);
        keys.Press(EscapeKey);
        requests.Wait(CtrlShiftEscHoldMs);
        keys.ReleaseAll();
    });
}

bool PressPrintScreen(KeyboardRequests& requests)
{
    return Guarded(requests, L"pressing Print Screen", [&] { PressAndRelease(requests, PrintScreenKey); });
}

bool PostCtrlAltDel(KeyboardRequests& requests)
{
    const auto station = requests.OpenNamedWindowStation(InteractiveWindowStation, false, WindowStationAllAccess);
    if (!station || !requests.SetProcessWindowStation(station))
        return false;
    const auto desktop = requests.OpenNamedDesktop(LogonDesktop, 0, false, DesktopAllAccess);
    if (!desktop || !requests.SetThreadDesktop(desktop))
        return false;
    return requests.PostBroadcast(HotKeyMessage, 0, CtrlAltDelHotKey);
}

bool PressCtrlAltDel(KeyboardRequests& requests, bool isWinVistaOrHigher, const std::function<void()>& warn)
{
    if (isWinVistaOrHigher) {
        if (warn)
            warn();
        return false;
    }
    return PostCtrlAltDel(requests);
}

bool IsCapsLockOn(KeyboardRequests& requests)
{
    return IsToggled(requests, CapsLockKey.VirtualKey);
}

bool IsNumLockOn(KeyboardRequests& requests)
{
    return IsToggled(requests, NumLockKey.VirtualKey);
}

bool IsScrollLockOn(KeyboardRequests& requests)
{
    return IsToggled(requests, ScrollLockKey.VirtualKey);
}

}  // namespace corvello::keyboard
