#include "core/Shortcut.h"

#include <array>
#include <cwchar>

#include "core/Text.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"

namespace corvello {
namespace {

// Keys with a name of their own, one after the other: the key's code as one
// character, then its name and a 0. Letters, digits and function keys are
// named by rule.
constexpr wchar_t NamedKeys[] =
    L"\x03" L"Break\0"
    L"\x08" L"Backspace\0"
    L"\x09" L"Tab\0"
    L"\x0C" L"Clear\0"
    L"\x0D" L"Enter\0"
    L"\x13" L"Pause\0"
    L"\x14" L"Caps Lock\0"
    L"\x1B" L"Esc\0"
    L"\x20" L"Space\0"
    L"\x21" L"Page Up\0"
    L"\x22" L"Page Down\0"
    L"\x23" L"End\0"
    L"\x24" L"Home\0"
    L"\x25" L"Left\0"
    L"\x26" L"Up\0"
    L"\x27" L"Right\0"
    L"\x28" L"Down\0"
    L"\x2C" L"Print Screen\0"
    L"\x2D" L"Insert\0"
    L"\x2E" L"Delete\0"
    L"\x5D" L"Menu\0"
    L"\x5F" L"Sleep\0"
    L"\x6A" L"Num *\0"
    L"\x6B" L"Num +\0"
    L"\x6D" L"Num -\0"
    L"\x6E" L"Num .\0"
    L"\x6F" L"Num /\0"
    L"\x90" L"Num Lock\0"
    L"\x91" L"Scroll Lock\0"
    L"\xA6" L"Browser Back\0"
    L"\xA7" L"Browser Forward\0"
    L"\xA8" L"Browser Refresh\0"
    L"\xA9" L"Browser Stop\0"
    L"\xAA" L"Browser Search\0"
    L"\xAB" L"Browser Favorites\0"
    L"\xAC" L"Browser Home\0"
    L"\xAD" L"Volume Mute\0"
    L"\xAE" L"Volume Down\0"
    L"\xAF" L"Volume Up\0"
    L"\xB0" L"Next Track\0"
    L"\xB1" L"Previous Track\0"
    L"\xB2" L"Stop Media\0"
    L"\xB3" L"Play/Pause\0"
    L"\xB4" L"Mail\0"
    L"\xB5" L"Media\0"
    L"\xB6" L"App 1\0"
    L"\xB7" L"App 2\0"
    L"\xBA" L";\0"
    L"\xBB" L"=\0"
    L"\xBC" L",\0"
    L"\xBD" L"-\0"
    L"\xBE" L".\0"
    L"\xBF" L"/\0"
    L"\xC0" L"`\0"
    L"\xDB" L"[\0"
    L"\xDC" L"\\\0"
    L"\xDD" L"]\0"
    L"\xDE" L"'\0"
    L"\xE2" L"<\0";

struct NamedModifier {
    std::uint8_t Bit;
    const wchar_t* Name;
};

// In the order a shortcut's text writes them.
constexpr std::array<NamedModifier, 4> Modifiers{{
    {modifier::Control, L"Ctrl"},
    {modifier::Alt, L"Alt"},
    {modifier::Shift, L"Shift"},
    {modifier::Win, L"Win"},
}};

// Combinations Windows and nearly every program use: switching windows and
// tabs, closing, the system and Start menus, the clipboard, find, new, open,
// print, save, undo and redo, help and the context menu.
constexpr Shortcut CommonCombinations[] = {
    {0x09, modifier::Alt},                       // Alt+Tab
    {0x09, modifier::Alt | modifier::Shift},     // Alt+Shift+Tab
    {0x09, modifier::Control},                   // Ctrl+Tab
    {0x09, modifier::Control | modifier::Shift}, // Ctrl+Shift+Tab
    {0x73, modifier::Alt},                       // Alt+F4
    {0x1B, modifier::Alt},                       // Alt+Esc
    {0x20, modifier::Alt},                       // Alt+Space
    {0x1B, modifier::Control},                   // Ctrl+Esc
    {'A', modifier::Control}, {'C', modifier::Control}, {'F', modifier::Control}, {'N', modifier::Control},
    {'O', modifier::Control}, {'P', modifier::Control}, {'S', modifier::Control}, {'V', modifier::Control},
    {'W', modifier::Control}, {'X', modifier::Control}, {'Y', modifier::Control}, {'Z', modifier::Control},
    {0x70, 0},                                   // F1
    {0x79, modifier::Shift},                     // Shift+F10
};

}  // namespace

bool IsModifierKey(std::uint8_t key) noexcept
{
    // Shift, Ctrl, Alt (0x10-0x12), their left and right keys (0xA0-0xA5)
    // and the Windows keys.
    return (key >= 0x10 && key <= 0x12) || (key >= 0xA0 && key <= 0xA5) || key == 0x5B || key == 0x5C;
}

bool IsStandaloneKey(std::uint8_t key) noexcept
{
    return (key >= 0x70 && key <= 0x87) || key == 0x13 || (key >= 0xA6 && key <= 0xB7);
}

std::wstring KeyName(std::uint8_t key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= 0x60 && key <= 0x69)
        return L"Num " + std::wstring(1, static_cast<wchar_t>(L'0' + key - 0x60));
    if (key >= 0x70 && key <= 0x87)
        return tk::Concat({L"F", tk::Decimal(key - 0x70 + 1)});
    for (const wchar_t* named = NamedKeys; *named; named += std::wcslen(named) + 1)
        if (*named == key)
            return named + 1;
    return {};
}

std::optional<Shortcut> DecodeShortcut(std::uint32_t stored) noexcept
{
    if (stored == 0)
        return Shortcut{};
    if ((stored & 0xFF00u) != 0 || (stored >> 16) > modifier::All)
        return std::nullopt;
    const Shortcut shortcut{static_cast<std::uint8_t>(stored & 0xFFu), static_cast<std::uint8_t>(stored >> 16)};
    if (CheckShortcut(shortcut) == ShortcutProblem::Impossible)
        return std::nullopt;
    return shortcut;
}

ShortcutProblem CheckShortcut(Shortcut shortcut) noexcept
{
    if (shortcut.Empty() || (shortcut.Modifiers & ~modifier::All) != 0 || IsModifierKey(shortcut.Key) ||
        KeyName(shortcut.Key).empty())
        return ShortcutProblem::Impossible;
    const bool plain = (shortcut.Modifiers & ~modifier::Shift) == 0;
    if (plain && shortcut.Modifiers == 0 && shortcut.Key == 0x7B)
        return ShortcutProblem::Reserved;
    if (plain && !IsStandaloneKey(shortcut.Key))
        return ShortcutProblem::PlainKey;
    for (const Shortcut& common : CommonCombinations)
        if (common == shortcut)
            return ShortcutProblem::Common;
    return ShortcutProblem::None;
}

std::wstring ShortcutProblemText(ShortcutProblem problem)
{
    switch (problem) {
    case ShortcutProblem::None:
        return {};
    case ShortcutProblem::Impossible:
        return L"Not a key a shortcut can use";
    case ShortcutProblem::PlainKey:
        return L"Hold Ctrl, Alt or the Windows key with it";
    case ShortcutProblem::Reserved:
        return L"F12 alone is kept for debuggers";
    case ShortcutProblem::Common:
        return L"Windows and most programs use it; a shortcut would take it from them";
    }
    return {};
}

std::wstring ShortcutText(Shortcut shortcut)
{
    if (shortcut.Empty())
        return {};
    std::wstring text;
    for (const NamedModifier& named : Modifiers)
        if (shortcut.Modifiers & named.Bit)
            text += std::wstring(named.Name) + L"+";
    return text + KeyName(shortcut.Key);
}

std::optional<Shortcut> ParseShortcut(std::wstring_view text)
{
    if (text.empty())
        return Shortcut{};
    const auto keyNamed = [](const std::wstring& name) -> std::uint8_t {
        for (int key = 1; key < 0xFF; ++key) {
            const std::wstring keyName = KeyName(static_cast<std::uint8_t>(key));
            if (!keyName.empty() && LowerAscii(keyName) == name)
                return static_cast<std::uint8_t>(key);
        }
        return 0;
    };
    Shortcut shortcut;
    std::size_t start = 0;
    while (start < text.size()) {
        // The rest may be the key itself, whose name can hold a "+" (Num +).
        if (const std::uint8_t key = keyNamed(LowerAscii(std::wstring(text.substr(start))))) {
            shortcut.Key = key;
            return shortcut;
        }
        const std::size_t end = text.find(L'+', start);
        if (end == std::wstring_view::npos)
            return std::nullopt;
        const std::wstring part = LowerAscii(std::wstring(text.substr(start, end - start)));
        bool known = false;
        for (const NamedModifier& named : Modifiers) {
            if (LowerAscii(named.Name) != part)
                continue;
            if (shortcut.Modifiers & named.Bit)
                return std::nullopt;
            shortcut.Modifiers |= named.Bit;
            known = true;
        }
        if (!known)
            return std::nullopt;
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace corvello
