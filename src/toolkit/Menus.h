// Native menus from the menu model, and the popup menu.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/MenuModel.h"

namespace tk {

// Inserts one entry into a native menu at a position: its caption (with the
// shortcut's text after a tab), separator, radio, check, default, disabled
// and right-to-left flags, the command id and the submenu, if any (the menu
// takes it over). True when Windows took it.
bool InsertNativeItem(HMENU menu, UINT position, const MenuItem& item, UINT id, bool rightToLeft, HMENU subMenu);

// A native popup menu of the visible entries below root; entry i of byId got
// the command id firstId + i.
UniqueMenu BuildNativeMenu(const MenuItem& root, std::vector<MenuItem*>& byId, UINT firstId = 1);

// Inserts a visible entry into a native menu (the system menu, say): caption
// with its shortcut, flags, the given command id. False when nothing was
// inserted.
bool MenuItemInsert(HMENU menu, const MenuItem& item, UINT position, WORD commandId, bool rightToLeft);

class PopupMenu {
public:
    PopupMenu() = default;
    virtual ~PopupMenu() = default;

    MenuItem& Items() noexcept { return items_; }
    // Runs before the menu shows.
    std::function<void(PopupMenu& sender)> OnPopup;
    // Whether the tray icon shows this menu by itself on a right click.
    bool AutoPopup = true;

    // Shows the menu at a screen point; returns when it has closed. The chosen
    // entry's click runs afterwards, from the message loop.
    virtual void Popup(int x, int y);
    // The window that owns the menu while it shows (the application's by default).
    HWND Owner = nullptr;

private:
    MenuItem items_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace tk
