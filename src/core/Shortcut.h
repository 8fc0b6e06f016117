// A keyboard shortcut: a key and the modifiers held with it, as stored in
// the registry, checked before it is given to an action, and written as text
// ("Ctrl+Alt+M"). No Windows types here: keys are virtual-key codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvello {

// The modifiers as RegisterHotKey takes them.
namespace modifier {
inline constexpr std::uint8_t Alt = 1;
inline constexpr std::uint8_t Control = 2;
inline constexpr std::uint8_t Shift = 4;
inline constexpr std::uint8_t Win = 8;
inline constexpr std::uint8_t All = Alt | Control | Shift | Win;
}  // namespace modifier

struct Shortcut {
    std::uint8_t Key = 0;        // the virtual-key code; 0 for no shortcut
    std::uint8_t Modifiers = 0;  // modifier:: bits
    constexpr bool Empty() const noexcept { return Key == 0; }
    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

// Why a combination cannot be a shortcut.
enum class ShortcutProblem {
    None,
    // No key, a key Windows does not define, a modifier or mouse button as
    // the key, or modifiers RegisterHotKey does not know.
    Impossible,
    // A letter, digit or other typing key with no modifier but Shift: it
    // would be taken from every program the user types in.
    PlainKey,
    // F12 alone belongs to the debugger.
    Reserved,
    // A combination Windows or every program has a meaning for (Alt+F4,
    // Ctrl+C, F1, Ctrl+Tab...): taken from all of them, it would break them.
    Common,
};

// The stored form: the key in the low word, the modifiers in the high word;
// 0 for none.
constexpr std::uint32_t EncodeShortcut(Shortcut shortcut) noexcept
{
    return shortcut.Empty() ? 0 : (static_cast<std::uint32_t>(shortcut.Modifiers) << 16) | shortcut.Key;
}
// The shortcut a stored value holds: Empty for 0; nothing for a value that
// is no possible combination (bits outside the key's byte and the
// modifiers, or what CheckShortcut calls Impossible).
std::optional<Shortcut> DecodeShortcut(std::uint32_t stored) noexcept;

ShortcutProblem CheckShortcut(Shortcut shortcut) noexcept;
// The reason shown beside the field when a combination is refused; empty
// for None.
std::wstring ShortcutProblemText(ShortcutProblem problem);

// Keys that may stand alone: the function keys, Pause and the media,
// volume, browser and launch keys.
bool IsStandaloneKey(std::uint8_t key) noexcept;
// Shift, Ctrl, Alt and the Windows keys, on either side.
bool IsModifierKey(std::uint8_t key) noexcept;

// The key's name as shortcuts write it ("M", "5", "F10", "Page Up",
// "Num 5"); empty for a key without one.
std::wstring KeyName(std::uint8_t key);
// "Ctrl+Alt+Shift+Win+" as held, then the key's name; empty for none.
std::wstring ShortcutText(Shortcut shortcut);
// The shortcut that text names: the modifiers in any order and letter case,
// "+" between the parts, the key's name last. Nothing for a text that names
// no key or a part twice. The empty text is Empty.
std::optional<Shortcut> ParseShortcut(std::wstring_view text);

}  // namespace corvello
