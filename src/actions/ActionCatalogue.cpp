#include "actions/ActionCatalogue.h"

namespace corvello::catalogue {

const ActionEntry* FindActionNamed(std::wstring_view name) noexcept
{
    for (const ActionEntry& entry : Actions)
        if (name == entry.Name)
            return &entry;
    return nullptr;
}

bool NeedsConfirmation(const ActionEntry& entry, bool confirmationsBoxChecked) noexcept
{
    return confirmationsBoxChecked && entry.Confirmed;
}

std::wstring DialogCaption(const std::wstring& actionCaption, bool mainWindowVisible, const std::wstring& appName)
{
    return mainWindowVisible ? actionCaption : appName + L" - " + actionCaption;
}

bool UsesApplicationIcon(bool mainWindowVisible) noexcept
{
    return !mainWindowVisible;
}

}  // namespace corvello::catalogue
