// Settings kept as plain structs. A struct's defaults are its members'
// initial values; it lists its stored values once, as a table of fields
// (StoredFields.h), and one pair of routines loads and saves any such struct
// against a registry key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/StoredFields.h"
#include "toolkit/Registry.h"

namespace corvello {

// How a stored value looks to the reading of a struct: nothing when it is
// missing, too large when it is larger than maxBytes.
std::optional<StoredValue> LookUpStoredValue(const tk::RegKey& key, const wchar_t* name, std::size_t maxBytes);
// A value that could not be taken, in the log.
void LogDamagedSetting(const wchar_t* name, const std::wstring& why);

// The settings as stored below the key: each value that is there and can be
// read; every other one keeps its default. A missing key gives the defaults.
template <typename Settings, std::size_t Count>
Settings LoadSettings(const tk::RegKey& key, const StoredField<Settings> (&fields)[Count])
{
    if (!key)
        return Settings{};
    return ReadSettings(
        fields, [&key](const wchar_t* name, std::size_t maxBytes) { return LookUpStoredValue(key, name, maxBytes); },
        LogDamagedSetting);
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
