// The Options page "Shortcuts": every action with its keyboard shortcut, and
// a field that records the combination the user presses for the chosen one.
#pragma once

#include <memory>
#include <vector>

#include "app/options/OptionsPage.h"
#include "app/shortcuts/ShortcutKeys.h"
#include "core/Shortcut.h"

namespace corvello {

class ShortcutsPage : public OptionsPage {
public:
    // key is the key the shortcuts are saved in.
    ShortcutsPage(ShortcutKeys& keys, SettingsKey key) : keys_(keys), settingsKey_(key) {}
    const wchar_t* Caption() const override { return L"Shortcuts"; }
    void Build(tk::Panel& page, int width) override;
    void Refresh() override;
    // The field, to press the chosen action's shortcut in.
    void Enter() override;
    void SelectAction(const ActionEntry& entry) override;
    // Windows gives the program's own shortcuts to the program, not to the
    // field: one pressed while the field has the keyboard is recorded.
    bool TakeShortcutKeys(const ActionEntry& pressed) override;

    // What the state column says of a shortcut Windows would not take.
    static constexpr const wchar_t* InUseText = L"in use by another program";

private:
    const ActionEntry* Chosen() const;
    void ShowChosen();
    void Take(Shortcut shortcut);

    ShortcutKeys& keys_;
    SettingsKey settingsKey_;
    std::vector<const ActionEntry*> rows_;
    std::unique_ptr<tk::Label> intro_;
    std::unique_ptr<tk::ListView> list_;
    std::unique_ptr<tk::Label> fieldLabel_;
    std::unique_ptr<tk::ShortcutField> field_;
    std::unique_ptr<tk::Button> clear_;
    std::unique_ptr<tk::Label> reason_;
};

}  // namespace corvello
