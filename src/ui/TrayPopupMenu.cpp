#include "ui/TrayPopupMenu.h"

namespace corvello {

void TrayPopupMenu::Popup(int x, int y)
{
    visible_ = true;
    try {
        tk::PopupMenu::Popup(x, y);
        if (OnClose)
            OnClose(*this);
    } catch (...) {
        visible_ = false;
        throw;
    }
    visible_ = false;
}

}  // namespace corvello
