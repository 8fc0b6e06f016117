// Settings kept as plain structs. A struct's defaults are its members'
// initial values; it lists its stored values once, as a table of fields
// (registry name, member, range), and one pair of routines loads and saves
// any such struct against a registry key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/Registry.h"

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

// A stored number within the bounds; nothing when it is missing, or damaged
// or out of range (logged).
std::optional<std::uint32_t> LoadStoredNumber(const tk::RegKey& key, const wchar_t* name, std::uint32_t min,
                                              std::uint32_t max);
// A stored text of at most maxChars characters; nothing when it is missing,
// or of another type or longer (logged).
std::optional<std::wstring> LoadStoredText(const tk::RegKey& key, const wchar_t* name, std::size_t maxChars);

// The settings as stored below the key: each value that is there and can be
// read; every other one keeps its default. A missing key gives the defaults.
template <typename Settings, std::size_t Count>
Settings LoadSettings(const tk::RegKey& key, const StoredField<Settings> (&fields)[Count])
{
    Settings settings{};
    if (!key)
        return settings;
    using Kind = typename StoredField<Settings>::Kind;
    for (const StoredField<Settings>& field : fields) {
        switch (field.Type) {
        case Kind::Number:
            if (const auto value = LoadStoredNumber(key, field.Name, field.Min, field.Max))
                settings.*field.Number = *value;
            break;
        case Kind::Switch:
            if (const auto value = LoadStoredNumber(key, field.Name, 0, 1))
                settings.*field.Switch = *value != 0;
            break;
        case Kind::Text:
            if (auto value = LoadStoredText(key, field.Name, field.MaxChars))
                settings.*field.Text = std::move(*value);
            break;
        }
    }
    return settings;
}

// Writes every value of the settings below the key; false when one could
// not be written (logged by the key).
template <typename Settings, std::size_t Count>
bool SaveSettings(const tk::RegKey& key, const Settings& settings, const StoredField<Settings> (&fields)[Count])
{
    if (!key)
        return false;
    using Kind = typename StoredField<Settings>::Kind;
    bool written = true;
    for (const StoredField<Settings>& field : fields) {
        switch (field.Type) {
        case Kind::Number:
            written = key.WriteDword(field.Name, settings.*field.Number) && written;
            break;
        case Kind::Switch:
            written = key.WriteDword(field.Name, settings.*field.Switch ? 1 : 0) && written;
            break;
        case Kind::Text:
            written = key.WriteString(field.Name, settings.*field.Text) && written;
            break;
        }
    }
    return written;
}

}  // namespace corvello
