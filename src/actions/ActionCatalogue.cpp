#include "actions/ActionCatalogue.h"

namespace corvello::catalogue {

bool NeedsConfirmation(int tag, bool confirmationsBoxChecked) noexcept
{
    if (!confirmationsBoxChecked)
        return false;
    const ActionEntry* entry = FindAction(tag);
    return entry && entry->Confirmed;
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
