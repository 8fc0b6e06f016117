// The Options window: every setting beyond the main window, on pages with
// tabs. A page is a small class of its own (OptionsPage.h); the window is
// handed its pages, in the order of their tabs.
#pragma once

#include <memory>
#include <vector>

#include "actions/ActionCatalogue.h"
#include "app/options/OptionsPage.h"
#include "toolkit/Controls.h"
#include "ui/PersistentForm.h"

namespace corvello {

class OptionsWindow : public PersistentForm {
public:
    // The pages, in the order of their tabs.
    enum class PageId { Shortcuts, Timer, LockKeys };

    // The pages in the order of PageId.
    OptionsWindow(AppBase& application, std::vector<std::unique_ptr<OptionsPage>> pages);
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
    std::unique_ptr<tk::Button> close_;
};

}  // namespace corvello
