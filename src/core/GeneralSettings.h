// The program's general settings: starting with Windows, the online
// features and the confirmations. One struct with its defaults and the table
// of its stored values, below the settings key itself (RegistryLayout.h).
// No Windows types: the caller looks the values up.
#pragma once

#include <cstddef>
#include <optional>

#include "core/StoredFields.h"

namespace corvello {

struct GeneralSettings {
    // The program starts with Windows (the Run entry, RegistryLayout.h).
    bool AutoRun = true;
    // The statistics pings and the online links.
    bool Online = true;
    // The actions that cannot be undone ask first.
    bool Confirmations = true;

    bool operator==(const GeneralSettings&) const = default;
};

namespace registry {
inline constexpr const wchar_t* AutoRun = L"AutoRun";              // REG_DWORD, 0 or 1
inline constexpr const wchar_t* Online = L"Online";                // REG_DWORD, 0 or 1
inline constexpr const wchar_t* Confirmations = L"Confirmations";  // REG_DWORD, 0 or 1
}  // namespace registry

inline constexpr StoredField<GeneralSettings> GeneralFields[] = {
    SwitchField(registry::AutoRun, &GeneralSettings::AutoRun),
    SwitchField(registry::Online, &GeneralSettings::Online),
    SwitchField(registry::Confirmations, &GeneralSettings::Confirmations),
};

// A general switch as stored, read as well as a damaged value allows: a
// missing one is whenMissing; one that reads as a number (StoredNumber.h) is
// on unless it is 0; any other (too large, bytes, a list) is off, never back
// to its default: damage must not turn the statistics or autorun on by
// itself.
bool StoredSwitch(const std::optional<StoredValue>& value, bool whenMissing);

// The settings from what lookup(name, maxBytes) finds (an optional
// StoredValue, as for ReadSettings); a missing value keeps what the settings
// had.
template <typename Lookup>
GeneralSettings ReadGeneralSettings(GeneralSettings settings, Lookup&& lookup)
{
    for (const StoredField<GeneralSettings>& field : GeneralFields)
        settings.*field.Switch = StoredSwitch(lookup(field.Name, MaxStoredBytes(field)), settings.*field.Switch);
    return settings;
}

// The general settings are switches only: a field of another kind needs its
// rule for damaged values above.
constexpr bool OnlySwitches() noexcept
{
    for (const StoredField<GeneralSettings>& field : GeneralFields)
        if (field.Type != StoredField<GeneralSettings>::Kind::Switch)
            return false;
    return true;
}
static_assert(OnlySwitches());

}  // namespace corvello
