#include "toolkit/Menus.h"

#include "toolkit/Application.h"
#include "toolkit/Log.h"

namespace tk {

bool InsertNativeItem(HMENU menu, UINT position, const MenuItem& item, UINT id, bool rightToLeft, HMENU subMenu)
{
    std::wstring text = item.Caption();
    if (item.Count() == 0 && !item.ShortCutText.empty())
        text += L'\t' + item.ShortCutText;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | (subMenu ? MIIM_SUBMENU : 0);
    info.fType = item.IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    if (item.RadioItem)
        info.fType |= MFT_RADIOCHECK;
    if (item.Break == MenuBreak::Break)
        info.fType |= MFT_MENUBREAK;
    else if (item.Break == MenuBreak::BarBreak)
        info.fType |= MFT_MENUBARBREAK;
    if (rightToLeft)
        info.fType |= MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
    info.fState = (item.Checked() ? MFS_CHECKED : 0u) | (item.Enabled() ? 0u : MFS_DISABLED | MFS_GRAYED) |
                  (item.Default ? MFS_DEFAULT : 0u);
    info.wID = id;
    info.hSubMenu = subMenu;
    info.dwTypeData = text.data();
    return ::InsertMenuItemW(menu, position, TRUE, &info) != FALSE;
}

UniqueMenu BuildNativeMenu(const MenuItem& root, std::vector<MenuItem*>& byId, UINT firstId)
{
    UniqueMenu menu(::CreatePopupMenu());
    UINT position = 0;
    for (std::size_t i = 0; i < root.Count(); ++i) {
        MenuItem& item = root.Item(i);
        if (!item.Visible)
            continue;
        HMENU sub = nullptr;
        if (item.Count() > 0)
            sub = BuildNativeMenu(item, byId, firstId).Release();
        byId.push_back(&item);
        const UINT id = firstId + static_cast<UINT>(byId.size() - 1);
        if (!InsertNativeItem(menu.Get(), position++, item, id, false, sub) && sub)
            ::DestroyMenu(sub);
    }
    return menu;
}

bool MenuItemInsert(HMENU menu, const MenuItem& item, UINT position, WORD commandId, bool rightToLeft)
{
    if (!item.Visible)
        return false;
    HMENU sub = nullptr;
    std::vector<MenuItem*> byId;
    if (item.Count() > 0)
        sub = BuildNativeMenu(item, byId).Release();
    if (InsertNativeItem(menu, position, item, commandId, rightToLeft, sub))
        return true;
    if (sub)
        ::DestroyMenu(sub);
    return false;
}

namespace {

bool Contains(const MenuItem& root, const MenuItem* item)
{
    for (std::size_t i = 0; i < root.Count(); ++i) {
        if (&root.Item(i) == item || Contains(root.Item(i), item))
            return true;
    }
    return false;
}

}  // namespace

void PopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(*this);
    std::vector<MenuItem*> byId;
    const UniqueMenu menu = BuildNativeMenu(items_, byId);
    const HWND owner = Owner ? Owner : Application::Current().Handle();
    // Without the foreground the menu would not close when clicked away.
    ::SetForegroundWindow(owner);
    const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON |
                       (::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    ::SetLastError(0);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenuEx(menu.Get(), flags, x, y, owner, nullptr));
    if (chosen == 0 && ::GetLastError() != 0)
        LogLastError(L"showing a menu");
    ::PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen < 1 || chosen > byId.size())
        return;
    // The chosen entry runs once the menu is over, as a command from a menu
    // of Windows' own arrives: after the close, from the message loop. The
    // menu or the entry may be gone by then.
    MenuItem* item = byId[chosen - 1];
    Application::Current().Post([life = std::weak_ptr<int>(life_), this, item] {
        if (!life.expired() && Contains(items_, item))
            item->Click();
    });
}

}  // namespace tk
