// The Options window: every setting beyond the main window, on pages with
// tabs. A page is a small class of its own; adding one is a line in the
// window's list of pages.
#pragma once

#include <memory>
#include <vector>

#include "actions/ActionCatalogue.h"
#include "toolkit/Controls.h"
#include "ui/PersistentForm.h"

namespace corvello {

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

class OptionsWindow : public PersistentForm {
public:
    // The pages, in the order of their tabs.
    enum class PageId { Shortcuts, Timer, LockKeys };

    OptionsWindow();
    ~OptionsWindow() override;

    // Shows the window with the page chosen (and the action on it).
    void ShowPage(PageId page, const ActionEntry* action = nullptr);
    // Every page shows what the settings say now.
    void Refresh();
    // A shortcut of the program pressed: true when a page that records keys
    // has the keyboard and takes them (the action does not run).
    bool TakeShortcutKeys(const ActionEntry& pressed);
    OptionsPage& Page(PageId page) const { return *pages_.at(static_cast<std::size_t>(page)); }

protected:
    void CreateControls() override;
    void DoEnter() override;

private:
    std::vector<std::unique_ptr<OptionsPage>> pages_;
    std::unique_ptr<tk::TabControl> tabs_;
    std::unique_ptr<tk::Button> btnClose_;
};

}  // namespace corvello
