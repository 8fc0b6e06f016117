// The tray icon's popup menu: it knows whether it is shown and says when it
// has closed.
#pragma once

#include <functional>

#include "toolkit/Menus.h"

namespace corvello {

// A popup menu that knows whether it is shown and says when it has closed.
class TrayPopupMenu : public tk::PopupMenu {
public:
    bool Visible() const noexcept { return visible_; }
    // Runs after the menu has closed; Visible still reads true meanwhile.
    std::function<void(TrayPopupMenu& sender)> OnClose;
    void Popup(int x, int y) override;

private:
    bool visible_ = false;
};

}  // namespace corvello
