// A popup menu this process draws itself, from the entries a test expects,
// at the place where the program's menu opens: same system, same fonts, same
// metrics, so a menu of the same entries comes out pixel for pixel the same.
// A difference in a text, the order, the default (bold) entry, a greyed
// entry, a separator or a submenu arrow shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/ScreenPixels.h"
#include "support/WinTestSupport.h"

namespace testsupport {

struct MenuLine {
    std::wstring Text;  // "-" for a separator
    bool Submenu = false;
    bool Default = false;
    bool Greyed = false;
};

namespace reference_menu {

struct Capture {
    Pixels Shown;
    RECT Where{};
    DWORD Started = 0;
};

inline Capture*& Current()
{
    static Capture* current = nullptr;
    return current;
}

inline HWND OwnMenuWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t name[16] = {};
            ::GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32768" && ::IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs inside the menu's loop: once the menu shows, its pixels are read and
// the menu ends.
inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Capture* capture = Current();
    const HWND menu = OwnMenuWindow();
    if (menu) {
        ::RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW);
        ::GetWindowRect(menu, &capture->Where);
        capture->Shown = CaptureScreen(capture->Where);
    }
    if (menu || ::GetTickCount() - capture->Started > 5000)
        ::EndMenu();
}

}  // namespace reference_menu

// Draws the menu with the flags the program uses, anchored where its menu
// was, and returns what the screen showed; where gets the menu's rectangle.
inline Pixels DrawReferenceMenu(POINT anchor, const std::vector<MenuLine>& lines, RECT* where = nullptr)
{
    TestWindow owner(L"CorvelloReferenceMenuOwner", L"");
    const HMENU menu = ::CreatePopupMenu();
    UINT id = 1;
    for (const MenuLine& line : lines) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        std::wstring text = line.Text;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.fType = line.Text == L"-" ? MFT_SEPARATOR : MFT_STRING;
        info.fState = (line.Default ? MFS_DEFAULT : 0u) | (line.Greyed ? MFS_DISABLED | MFS_GRAYED : 0u);
        info.wID = id++;
        info.dwTypeData = text.data();
        if (line.Submenu) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = ::CreatePopupMenu();
            ::AppendMenuW(info.hSubMenu, MF_STRING, 100, L"-");
        }
        ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &info);
    }
    reference_menu::Capture capture;
    capture.Started = ::GetTickCount();
    reference_menu::Current() = &capture;
    const UINT_PTR timer = ::SetTimer(owner.Handle(), 1, 50, &reference_menu::Tick);
    const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON |
                       (::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    ::TrackPopupMenuEx(menu, flags, anchor.x, anchor.y, owner.Handle(), nullptr);
    ::KillTimer(owner.Handle(), timer);
    reference_menu::Current() = nullptr;
    ::DestroyMenu(menu);
    if (where)
        *where = capture.Where;
    return capture.Shown;
}

}  // namespace testsupport
