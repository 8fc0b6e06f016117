// One page of the Options window, as the window sees it: each feature's page
// implements it, and the window lists them.
#pragma once

#include "actions/ActionCatalogue.h"
#include "core/AppBase.h"
#include "toolkit/Controls.h"
#include "toolkit/Registry.h"

namespace corvello {

// The settings subkey a page saves its feature's settings in.
struct SettingsKey {
    const AppBase& Application;
    const wchar_t* Name;

    // Created where it is not there yet.
    tk::RegKey Open() const { return Application.OpenSettingsSubkey(Name, true); }
};

// One page of the Options window.
class OptionsPage {
public:
    virtual ~OptionsPage() = default;
    // The space between a page's edges and its controls, at 96 dpi.
    static constexpr int Margin = 8;

    // The tab's caption.
    virtual const wchar_t* Caption() const = 0;
    // Makes the page's controls on its panel, at 96 dpi inside it, as wide
    // as the panel leaves between its margins.
    virtual void Build(tk::Panel& page, int width) = 0;
    // Enter on the page, where no button has the keyboard: its main thing.
    virtual void Enter() {}
    // Shows what the settings say now.
    virtual void Refresh() {}
    // Brings the action forward where the page lists actions.
    virtual void SelectAction(const ActionEntry& entry) { (void)entry; }
    // A shortcut of the program pressed while the page has the keyboard:
    // true when the page takes the keys instead of the action running.
    virtual bool TakeShortcutKeys(const ActionEntry& pressed)
    {
        (void)pressed;
        return false;
    }
};

}  // namespace corvello
