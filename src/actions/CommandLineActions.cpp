#include "actions/CommandLineActions.h"

#include <cstring>

#include "core/Text.h"

namespace corvello::commandline {

const NamedAction* FindAction(std::wstring_view name) noexcept
{
    // Longer than any name: not one, whatever its case.
    if (name.size() * sizeof(char16_t) >= MaxHandOverBytes)
        return nullptr;
    const std::wstring lower = LowerAscii(std::wstring(name));
    for (const NamedAction& action : Actions)
        if (lower == action.Name)
            return &action;
    return nullptr;
}

std::u16string HandOverText(const NamedAction& action)
{
    std::u16string text;
    for (const wchar_t* c = action.Name; *c; ++c)
        text += static_cast<char16_t>(*c);
    text += u'\0';
    return text;
}

const NamedAction* ReadHandOver(std::uintptr_t tag, const void* data, std::size_t size) noexcept
{
    if (tag != HandOverTag || !data || size % sizeof(char16_t) != 0 || size < 2 * sizeof(char16_t) ||
        size > MaxHandOverBytes)
        return nullptr;
    char16_t units[MaxHandOverBytes / sizeof(char16_t)] = {};
    std::memcpy(units, data, size);
    const std::size_t count = size / sizeof(char16_t);
    if (units[count - 1] != u'\0')
        return nullptr;
    std::wstring name;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        // A null inside, or anything a name never holds.
        if (units[i] == u'\0' || units[i] > 0x7F)
            return nullptr;
        name += static_cast<wchar_t>(units[i]);
    }
    for (const NamedAction& action : Actions)
        if (name == action.Name)
            return &action;
    return nullptr;
}

}  // namespace corvello::commandline
