// The actions a command line runs by name ("/do:NAME"), and the message by
// which a starting copy hands such a name to the copy that runs already: a
// WM_COPYDATA with a tag of our own and the name as UTF-16 text with its
// terminating null. The running copy takes a message only when all of it is
// as this file writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "actions/ActionCatalogue.h"

namespace corvello {

struct NamedAction {
    // Lower case; compared with the letters A to Z in any case.
    const wchar_t* Name;
    // The catalogue's action, whose operation, confirmation rule, caption
    // and hint apply.
    int Tag;
};

namespace commandline {

inline constexpr NamedAction Actions[] = {
    {L"monitoroff", 1},
    {L"monitoron", 16},
    {L"screensaver", 2},
    {L"lock", 3},
    {L"sleep", 4},
    {L"hibernate", 5},
    {L"logoff", 6},
    {L"restart", 7},
    {L"shutdown", 8},
    {L"poweroff", 9},
    {L"capslock", 10},
    {L"numlock", 11},
    {L"scrolllock", 12},
    {L"ctrlshiftesc", 14},
    {L"printscreen", 15},
};

// The action of that name, the letters A to Z in any case; null for none.
const NamedAction* FindAction(std::wstring_view name) noexcept;

// The hand-over message's tag (COPYDATASTRUCT::dwData). The running copy
// answers a message it takes with the tag itself, anything else with 0.
inline constexpr std::uintptr_t HandOverTag = 0x4376446F;
// The longest text a hand-over carries, in bytes: the longest name and its
// terminating null.
inline constexpr std::size_t MaxHandOverBytes = (12 + 1) * sizeof(char16_t);

// The text a starting copy hands over for the action: its name and a
// terminating null, which is part of the string.
std::u16string HandOverText(const NamedAction& action);

// The action a handed-over message names, or null when it is not one: a tag
// of another, a size that is not a whole number of UTF-16 units between one
// name and MaxHandOverBytes, no null at the end or one before it, or a text
// that is not one of the names as the table writes them. Nothing beyond
// MaxHandOverBytes is read.
const NamedAction* ReadHandOver(std::uintptr_t tag, const void* data, std::size_t size) noexcept;

}  // namespace commandline
}  // namespace corvello
