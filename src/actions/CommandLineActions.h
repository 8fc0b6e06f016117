// The actions a command line runs by name ("/do:NAME", with "/in:", "/at:",
// "/screen:" or "/off" beside it, or "/cancel" alone), and the message by
// which a starting copy hands such a request to the copy that runs already:
// a WM_COPYDATA with a tag of our own and the request as UTF-16 text with
// its terminating null. A plain name goes as the name alone, as every copy
// of the program knows it; a request with words goes as the name and the
// words after it, which a copy too old to know them refuses. The running
// copy takes a message only when all of it is as this file writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "actions/ActionCatalogue.h"
#include "core/CommandLine.h"

namespace corvello {
namespace commandline {

// The action's name on the command line and in what a starting copy hands
// over: the catalogue's name in lower case ("monitoroff").
std::wstring NameOf(const ActionEntry& action);

// The action the command line offers by that name, the letters A to Z in
// any case; null for none.
const ActionEntry* FindAction(std::wstring_view name) noexcept;

// Whether the words suit the action: none malformed; "/in:" or "/at:" for
// any action (for Keep Awake: how long it holds); "/screen:" only for Keep
// Awake; "/off" only for Keep Awake, and alone. "/cancel" is no word here.
bool WordsFit(const ActionEntry& action, const ActionWords& words) noexcept;
// The action keeps this process: it waits ("/in:", "/at:"), or it is Keep
// Awake (not "/off"). With no copy running, the start becomes the program.
bool Lasts(const ActionEntry& action, const ActionWords& words) noexcept;

// What a starting copy asks of the running one: an action with its words,
// or (no action) to call off what waits.
struct Request {
    const ActionEntry* Action = nullptr;
    ActionWords Words;
};

// The hand-over message's tag (COPYDATASTRUCT::dwData). The running copy
// answers a message it takes with the tag itself, anything else with 0.
inline constexpr std::uintptr_t HandOverTag = 0x4376446F;
// The longest text a hand-over carries, in bytes, its null included.
inline constexpr std::size_t MaxHandOverBytes = 64 * sizeof(char16_t);

// The text a starting copy hands over: the name, then each word given
// (" in:90s", " at:07:05", " screen:on", " off"), or "cancel"; and a
// terminating null, which is part of the string.
std::u16string HandOverText(const Request& request);
std::u16string HandOverText(const ActionEntry& action);

// The request a handed-over message makes, or nullopt when it is not one: a
// tag of another, a size that is not a whole number of UTF-16 units between
// one name and MaxHandOverBytes, no null at the end or one before it, or a
// text that is not exactly as HandOverText writes a request whose words fit
// its action. Nothing beyond MaxHandOverBytes is read.
std::optional<Request> ReadHandOver(std::uintptr_t tag, const void* data, std::size_t size) noexcept;

}  // namespace commandline
}  // namespace corvello
