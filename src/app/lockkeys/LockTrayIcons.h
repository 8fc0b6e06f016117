// An icon in the notification area for each lock key the settings choose:
// the LED glyph at the tray's size with the key's mark on it ("A" for Caps
// Lock, "1" for Num Lock, an arrow for Scroll Lock), the state in its tip.
// A click switches the key; a right click opens the program's tray menu.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "actions/LockPolicy.h"
#include "app/running/ActionRunner.h"
#include "toolkit/Graphics.h"
#include "toolkit/Menus.h"
#include "toolkit/TrayIcon.h"

namespace corvello {

class LockTrayIcons {
public:
    // The class of the icons' hidden windows, apart from the program's own
    // icon's.
    static constexpr const wchar_t* WindowClass = L"tk.TrayIcon.Lock";

    // A click runs the key's action through the runner, as its button would.
    explicit LockTrayIcons(ActionRunner& runner) : runner_(runner) {}

    // Shows the icons of the keys chosen (LockBit), each only while its key
    // is on where asked, with its state; the menu is the program's tray menu.
    void Update(std::uint32_t keys, bool onlyWhileOn, const std::array<bool, 3>& on, tk::PopupMenu* menu);

private:
    struct Slot {
        std::unique_ptr<tk::TrayIcon> Icon;
        tk::Icon Lit;
        tk::Icon Unlit;
        int Size = 0;
    };
    void Draw(LockKey key, Slot& slot);

    ActionRunner& runner_;
    std::array<Slot, 3> slots_;
};

}  // namespace corvello
