// Driving the real program's windows from outside, as a user would reach
// them: buttons by their captions, the tray icon's menu by the keyboard,
// the program's dialogs read control by control, and what the screen shows
// where a control is.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "support/ProgramUser.h"
#include "support/ScreenPixels.h"
#include "support/WinTestSupport.h"

// A namespace of its own: other test headers have helpers of these names.
namespace e2eui {

using testsupport::WaitUntil;

using testsupport::ClassOf;
using testsupport::Descendants;
using testsupport::ProcessOf;
inline std::wstring WindowText(HWND window)
{
    return testsupport::TextOf(window);
}

using testsupport::TopWindows;

// A button below a window by its caption (mnemonic marks included).
inline HWND FindButton(HWND parent, const std::wstring& caption)
{
    for (const HWND child : Descendants(parent))
        if (ClassOf(child) == L"Button" && WindowText(child) == caption)
            return child;
    return nullptr;
}

// A click as the button takes it from the mouse: posted, so a dialog the
// click opens does not hold up the test.
inline void Click(HWND button)
{
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

// --- the tray icon's menu

// Opens the tray icon's menu as a right click on the icon does, and returns
// the menu window once it shows.
inline HWND OpenTrayMenu(DWORD processId)
{
    return testsupport::ProgramUser(processId).OpenTrayMenu();
}

// Keys for the open menu, as the keyboard gives them; the menu's loop takes
// them from its thread's queue in order.
inline void MenuKeys(HWND menu, std::initializer_list<UINT> keys)
{
    for (const UINT key : keys) {
        const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        ::PostMessageW(menu, WM_KEYDOWN, key, scan | 1);
        ::PostMessageW(menu, WM_KEYUP, key, scan | 1 | (1LL << 30) | (1LL << 31));
    }
}

// Waits until no menu of the process shows.
inline bool WaitMenusClosed(DWORD processId, std::uint32_t timeoutMs = 5000)
{
    return WaitUntil([&] { return TopWindows(processId, L"#32768").empty(); }, timeoutMs);
}

// --- the program's dialogs

struct DialogSeen {
    HWND Window = nullptr;
    std::wstring Caption;
    std::wstring Message;
    std::vector<std::wstring> Buttons;
    std::wstring DefaultButton;
    HWND IconControl = nullptr;
};

inline DialogSeen ReadDialog(HWND dialog)
{
    DialogSeen seen;
    seen.Window = dialog;
    seen.Caption = WindowText(dialog);
    for (const HWND child : Descendants(dialog)) {
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (!(style & WS_VISIBLE))
            continue;
        if (ClassOf(child) == L"Button") {
            seen.Buttons.push_back(WindowText(child));
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                seen.DefaultButton = WindowText(child);
        } else if (ClassOf(child) == L"Static") {
            if ((style & SS_TYPEMASK) == SS_ICON)
                seen.IconControl = child;
            else if (!WindowText(child).empty())
                seen.Message = WindowText(child);
        }
    }
    return seen;
}

// The program's message dialog, once one shows.
inline HWND WaitDialog(DWORD processId, std::uint32_t timeoutMs = 10000)
{
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> found = TopWindows(processId, L"TMessageForm");
            dialog = found.empty() ? nullptr : found.front();
            return dialog != nullptr;
        },
        timeoutMs);
    return dialog;
}

// --- what the screen shows

using testsupport::Pixels;

// A colour as the pixels hold it.
inline std::uint32_t PixelOf(COLORREF colour)
{
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// The screen's pixels in a rectangle of screen coordinates.
inline Pixels ScreenPixels(const RECT& r)
{
    return testsupport::CaptureScreen(r);
}

// What a window shows now, once it has painted.
inline Pixels WindowPixels(HWND window)
{
    return testsupport::CaptureScreen(testsupport::WindowRect(window), {window});
}

}  // namespace e2eui
