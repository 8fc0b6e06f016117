// A settings struct's stored values as a table of fields (registry name,
// member, range), and the reading of such a struct from the values found
// under those names. No Windows types: the caller looks the values up, so the
// rules for damaged and out-of-range values are the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/StoredNumber.h"

namespace corvello {

template <typename Settings>
struct StoredField {
    enum class Kind { Number, Switch, Text };
    Kind Type;
    const wchar_t* Name;
    std::uint32_t Settings::*Number = nullptr;
    bool Settings::*Switch = nullptr;
    std::wstring Settings::*Text = nullptr;
    // A number outside these bounds, or a longer text, counts as damaged.
    std::uint32_t Min = 0;
    std::uint32_t Max = 0xFFFFFFFF;
    std::size_t MaxChars = 0;
};

// A REG_DWORD number from min to max.
template <typename Settings>
constexpr StoredField<Settings> NumberField(const wchar_t* name, std::uint32_t Settings::*member, std::uint32_t min,
                                            std::uint32_t max)
{
    return {StoredField<Settings>::Kind::Number, name, member, nullptr, nullptr, min, max, 0};
}

// A REG_DWORD 0 or 1.
template <typename Settings>
constexpr StoredField<Settings> SwitchField(const wchar_t* name, bool Settings::*member)
{
    return {StoredField<Settings>::Kind::Switch, name, nullptr, member, nullptr, 0, 1, 0};
}

// A REG_SZ of at most maxChars characters.
template <typename Settings>
constexpr StoredField<Settings> TextField(const wchar_t* name, std::wstring Settings::*member, std::size_t maxChars)
{
    return {StoredField<Settings>::Kind::Text, name, nullptr, nullptr, member, 0, 0, maxChars};
}

// A value as it is stored: its type (value_type) and bytes. TooLarge: it is
// there, but larger than a setting of its kind can be, and was not read.
struct StoredValue {
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    bool TooLarge = false;
};

// The bytes a field's value may have at most; a larger one is damaged.
template <typename Settings>
constexpr std::size_t MaxStoredBytes(const StoredField<Settings>& field) noexcept
{
    return field.Type == StoredField<Settings>::Kind::Text ? (field.MaxChars + 1) * sizeof(char16_t) : 256;
}

// The text of a REG_SZ or REG_EXPAND_SZ value, up to its first zero; nothing
// for another type, text torn in the middle of a character, or more than
// maxChars characters.
std::optional<std::wstring> DecodeStoredText(const StoredValue& value, std::size_t maxChars);

// The number a number or switch field takes from the value, a REG_DWORD of
// four bytes within min and max; nothing for any other (why says so, for the
// log).
std::optional<std::uint32_t> StoredFieldNumber(const StoredValue& value, std::uint32_t min, std::uint32_t max,
                                               std::wstring& why);

// The settings from what lookup(name, maxBytes) finds (an optional
// StoredValue: nothing when the value is missing). A value that is missing
// keeps its default; one that is damaged or out of range keeps it too and is
// passed to damaged(name, why). No value's damage costs another its value.
template <typename Settings, std::size_t Count, typename Lookup, typename Damaged>
Settings ReadSettings(const StoredField<Settings> (&fields)[Count], Lookup&& lookup, Damaged&& damaged)
{
    Settings settings{};
    using Kind = typename StoredField<Settings>::Kind;
    for (const StoredField<Settings>& field : fields) {
        const std::optional<StoredValue> value = lookup(field.Name, MaxStoredBytes(field));
        if (!value)
            continue;
        std::wstring why;
        if (value->TooLarge) {
            why = L"too large";
        } else if (field.Type == Kind::Text) {
            if (auto text = DecodeStoredText(*value, field.MaxChars))
                settings.*field.Text = std::move(*text);
            else
                why = L"no text, or too long";
        } else if (const auto number = StoredFieldNumber(*value, field.Min, field.Type == Kind::Switch ? 1 : field.Max,
                                                         why)) {
            if (field.Type == Kind::Switch)
                settings.*field.Switch = *number != 0;
            else
                settings.*field.Number = *number;
        }
        if (!why.empty())
            damaged(field.Name, why + L"; its default stays");
    }
    return settings;
}

}  // namespace corvello
