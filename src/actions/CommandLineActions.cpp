#include "actions/CommandLineActions.h"

#include <cstring>
#include <cwchar>

#include "core/DueTime.h"
#include "core/Text.h"

namespace corvello::commandline {
namespace {

constexpr const wchar_t* CancelWord = L"cancel";

bool IsKeepAwake(const ActionEntry& action) noexcept
{
    return action.Operation == ActionOperation::KeepAwake;
}

void Append(std::u16string& text, std::wstring_view part)
{
    for (const wchar_t c : part)
        text += static_cast<char16_t>(c);
}

}  // namespace

std::wstring NameOf(const ActionEntry& action)
{
    return LowerAscii(action.Name);
}

const ActionEntry* FindAction(std::wstring_view name) noexcept
{
    for (const ActionEntry& action : catalogue::Actions)
        // Lowered only at the length of a name: it comes from anyone.
        if (action.CommandLine == CommandLineName::Offered && name.size() == std::wcslen(action.Name) &&
            LowerAscii(std::wstring(name)) == NameOf(action))
            return &action;
    return nullptr;
}

bool WordsFit(const ActionEntry& action, const ActionWords& words) noexcept
{
    if (words.Malformed)
        return false;
    if (!IsKeepAwake(action))
        return !words.ScreenOn && !words.Off;
    return !words.Off || (words.Wait == WaitKind::None && !words.ScreenOn);
}

bool Lasts(const ActionEntry& action, const ActionWords& words) noexcept
{
    return words.Wait != WaitKind::None || (IsKeepAwake(action) && !words.Off);
}

std::u16string HandOverText(const Request& request)
{
    std::u16string text;
    if (!request.Action) {
        Append(text, CancelWord);
    } else {
        const ActionWords& words = request.Words;
        Append(text, NameOf(*request.Action));
        if (words.Wait == WaitKind::In) {
            Append(text, L" in:");
            Append(text, DurationWord(words.Seconds));
        } else if (words.Wait == WaitKind::At) {
            Append(text, L" at:");
            Append(text, ClockTimeText(words.ClockMinute));
        }
        if (words.ScreenOn)
            Append(text, *words.ScreenOn ? L" screen:on" : L" screen:off");
        if (words.Off)
            Append(text, L" off");
    }
    text += u'\0';
    return text;
}

std::u16string HandOverText(const ActionEntry& action)
{
    return HandOverText(Request{&action, {}});
}

std::optional<Request> ReadHandOver(std::uintptr_t tag, const void* data, std::size_t size) noexcept
{
    if (tag != HandOverTag || !data || size % sizeof(char16_t) != 0 || size < 2 * sizeof(char16_t) ||
        size > MaxHandOverBytes)
        return std::nullopt;
    char16_t units[MaxHandOverBytes / sizeof(char16_t)] = {};
    std::memcpy(units, data, size);
    const std::size_t count = size / sizeof(char16_t);
    if (units[count - 1] != u'\0')
        return std::nullopt;
    std::wstring text;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        // A null inside, or anything a request never holds.
        if (units[i] == u'\0' || units[i] > 0x7F)
            return std::nullopt;
        text += static_cast<wchar_t>(units[i]);
    }
    Request request;
    const std::size_t blank = text.find(L' ');
    const std::wstring name = text.substr(0, blank);
    if (name != CancelWord) {
        for (const ActionEntry& action : catalogue::Actions)
            if (action.CommandLine == CommandLineName::Offered && name == NameOf(action))
                request.Action = &action;
        if (!request.Action)
            return std::nullopt;
    }
    for (std::size_t at = blank; at != std::wstring::npos;) {
        const std::size_t next = text.find(L' ', at + 1);
        const std::wstring_view word = std::wstring_view(text).substr(at + 1, next - at - 1);
        if (!TakeActionWord(word, request.Words))
            return std::nullopt;
        at = next;
    }
    if (request.Action ? !WordsFit(*request.Action, request.Words) : text != CancelWord)
        return std::nullopt;
    // Exactly as a starting copy writes it: case, order, blanks and numbers.
    const std::u16string canonical = HandOverText(request);
    if (canonical.size() != count || std::memcmp(canonical.data(), units, size) != 0)
        return std::nullopt;
    return request;
}

}  // namespace corvello::commandline
