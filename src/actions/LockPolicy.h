// The lock keys as the program watches them: their names on the screen, the
// policy that keeps a key on or off, and the limit that makes the program
// give way to another program that keeps switching the key back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "actions/ActionCatalogue.h"
#include "actions/KeyboardActions.h"

namespace corvello {

// The three lock keys, in the order the program shows them.
inline constexpr LockKey WatchedLocks[] = {LockKey::Caps, LockKey::Num, LockKey::Scroll};

// The key's place in WatchedLocks (0 for None).
constexpr std::size_t LockIndex(LockKey key) noexcept
{
    return key == LockKey::Num ? 1 : key == LockKey::Scroll ? 2 : 0;
}

// The lock key of a virtual-key code; None for any other key.
constexpr LockKey LockOfVirtualKey(unsigned virtualKey) noexcept
{
    return virtualKey == keyboard::CapsLockKey.VirtualKey     ? LockKey::Caps
           : virtualKey == keyboard::NumLockKey.VirtualKey    ? LockKey::Num
           : virtualKey == keyboard::ScrollLockKey.VirtualKey ? LockKey::Scroll
                                                              : LockKey::None;
}

// A set of lock keys as bits: 1 Caps Lock, 2 Num Lock, 4 Scroll Lock.
constexpr std::uint32_t LockBit(LockKey key) noexcept
{
    return key == LockKey::None ? 0 : 1u << LockIndex(key);
}
constexpr bool HasLock(std::uint32_t bits, LockKey key) noexcept
{
    return (bits & LockBit(key)) != 0;
}

// What the program does when something switches the key.
enum class LockPolicy : std::uint32_t { None = 0, AlwaysOn = 1, AlwaysOff = 2 };

// Whether the policy wants a key in this state switched.
constexpr bool PolicyWantsSwitch(LockPolicy policy, bool on) noexcept
{
    return (policy == LockPolicy::AlwaysOn && !on) || (policy == LockPolicy::AlwaysOff && on);
}

// The key's name as the buttons and menus show it ("Caps Lock").
const wchar_t* LockName(LockKey key) noexcept;
// "Caps Lock on", "Num Lock off"; "Num Lock kept on" after the policy switched
// the key back.
std::wstring LockStateText(LockKey key, bool on, bool kept);
// Why the program stopped keeping the key as its policy says.
std::wstring GaveWayText(LockKey key, LockPolicy policy);

// Who switched a key: a key of a keyboard (the user), or a program.
enum class SwitchedBy { Program, Keyboard };

// Who let a lock key go, from its raw input. Windows gives input a program
// injects (SendInput, keybd_event) no device; a keyboard's key always has a
// scan code, which a program sending the virtual key alone leaves 0 (under
// Wine, where injected input has the keyboard's device too).
constexpr SwitchedBy LetGoBy(bool hasDevice, unsigned scanCode) noexcept
{
    return hasDevice && scanCode != 0 ? SwitchedBy::Keyboard : SwitchedBy::Program;
}

// Counts one key's corrections. When another program switches the key back
// more than MostCorrections times within WithinMs, the program gives way:
// it stops correcting that key until Reset (the next unlock or start). The
// user's own presses are corrected without being counted: no fight.
class CorrectionLimit {
public:
    static constexpr std::size_t MostCorrections = 5;
    static constexpr std::uint32_t WithinMs = 10000;

    enum class Answer {
        Correct,   // go ahead (counted when a program switched the key)
        GiveWay,   // this one passes the limit: stop now (say so once)
        GaveWay,   // stopped already
    };
    // A correction is due at now, a tick count in milliseconds (it may wrap).
    Answer Ask(std::uint32_t now, SwitchedBy by = SwitchedBy::Program) noexcept;
    bool Stopped() const noexcept { return stopped_; }
    void Reset() noexcept;

private:
    std::uint32_t times_[MostCorrections] = {};
    std::size_t count_ = 0;
    std::size_t next_ = 0;
    bool stopped_ = false;
};

}  // namespace corvello
