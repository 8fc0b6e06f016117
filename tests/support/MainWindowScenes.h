// The real program's main window, tray menu and questions as a user meets
// them: what they should look like, and a fixture that starts every test
// from nothing stored, with page loads going to a listener of the test's own.
// Shared by the tests at every scaling.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "support/HttpListener.h"
#include "support/NothingStoredTest.h"
#include "support/OnlineTestSupport.h"
#include "support/ProgramSettings.h"
#include "support/ProgramUser.h"
#include "support/ReferenceMenu.h"
#include "support/RegistryTestSupport.h"
#include "support/ScreenPixels.h"
#include "toolkit/Graphics.h"
#include "toolkit/Registry.h"

namespace testsupport {

inline constexpr const wchar_t* Description =
    L"Software combines many useful but hidden actions in a single place. You can turn off monitor, hibernate the "
    L"system, start screensaver immediately, change keyboard lock, emulate useful key combinations, and press "
    L"missing system keys.";
inline constexpr const wchar_t* AutoRunCaption = L"Automatically run program on system start";
inline constexpr const wchar_t* OnlineCaption = L"Online features (verify updates, Tickover\u2122 statistics)";
inline constexpr const wchar_t* ConfirmationsCaption = L"Show confirmations for irreversible actions";
inline constexpr const wchar_t* CloseQuestion =
    L"Do you really want to close \"Corvello\" application and disable all its features?";

// The tray menu as it should look; while a user action runs, "Settings" and
// "About" greyed.
inline std::vector<MenuLine> TrayMenuLines(bool userActionRunning)
{
    return {{L"System", true},
            {L"Keyboard", true},
            {L"Settings", false, true, userActionRunning},
            {L"About", false, false, userActionRunning},
            {L"-"},
            {L"Close"}};
}

// The program's own icon at the standard size, loaded from its file as it
// loads it.
inline HICON ProgramIcon()
{
    static const HMODULE file = ::LoadLibraryExW((BinDir() + L"corvello.exe").c_str(), nullptr,
                                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return static_cast<HICON>(::LoadImageW(file, L"MAINICON", IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
}

// How far the picture a dialog shows lies from the icon drawn here at the
// picture's size on the dialog's background: 0 for the same pixels, 255 for
// a dialog without a picture.
inline double IconDifference(HWND dialog, HICON icon)
{
    for (HWND child : Descendants(dialog)) {
        if (ClassOf(child) == L"Static" && (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return IconControlDifference(child, icon);
    }
    return 255;
}

// For a failure's message.
inline std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

inline UINT ScreenDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

// The text of a label or check box fits it, drawn in the windows' own font
// at the screen's scaling: nothing of it is cut off. A check box's text
// starts after the box and a gap (13 and 6 pixels at 96 dpi).
inline bool TextFits(HWND control)
{
    const UINT dpi = ScreenDpi();
    const bool checkBox = ClassOf(control) == L"Button";
    const int textLeft = checkBox ? tk::Scale(13 + 6, dpi) : 0;
    const RECT client = ClientRectOf(control);
    const tk::Font font = tk::CreateFontFor(tk::FontSpec{}, dpi);
    const HDC dc = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, font.Get());
    const std::wstring text = TextOf(control);
    RECT needed{0, 0, client.right - textLeft, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_NOPREFIX | (checkBox ? DT_SINGLELINE : DT_WORDBREAK));
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return needed.right <= client.right - textLeft && needed.bottom <= client.bottom;
}

// A label's text shows in full, as the label draws it: the text drawn here in
// the windows' own font on the same background, compared with the screen
// where the label is. Anything covering a part of it, or a label too small
// for it, shows as a difference (0 for the same pixels).
inline double LabelTextDifference(HWND label)
{
    const UINT dpi = ScreenDpi();
    const RECT at = WindowRect(label);
    const int width = at.right - at.left;
    const tk::Font font = tk::CreateFontFor(tk::FontSpec{}, dpi);
    const std::wstring text = TextOf(label);
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HGDIOBJ oldFont = ::SelectObject(memory, font.Get());
    RECT needed{0, 0, width, 0};
    ::DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    needed.right = width;
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, needed.bottom);
    const HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    const HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(memory, &needed, face);
    ::SetBkMode(memory, TRANSPARENT);
    ::SetTextColor(memory, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &needed, DT_NOPREFIX | DT_WORDBREAK);
    const Pixels drawn = CopyPixels(memory, needed);
    ::SelectObject(memory, oldBitmap);
    ::SelectObject(memory, oldFont);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    const Pixels shown =
        CaptureScreen({at.left, at.top, at.right, at.top + needed.bottom}, {::GetAncestor(label, GA_ROOT)});
    return MeanDifference(shown, drawn);
}

// The program has ended, with 0, and stored the main window where it was,
// visible or not.
inline void ExpectEndedStoringThePlace(std::optional<DWORD> exitCode, const RECT& placed, DWORD visible)
{
    EXPECT_EQ(exitCode, std::optional<DWORD>(0));
    EXPECT_EQ(StoredSz(HKEY_CURRENT_USER, MainFormKey, corvello::registry::Bounds), BoundsText(placed));
    EXPECT_EQ(StoredDword(HKEY_CURRENT_USER, MainFormKey, corvello::registry::Visible), visible);
}

// Every test starts from nothing stored and leaves nothing behind; page
// loads of the program go through the loopback proxy to the listener.
class ProgramUserTest : public NothingStoredTest {
protected:
    void SetUp() override
    {
        NothingStoredTest::SetUp();
        BecomeDpiAware();
        // The pointer out of the way of the menus.
        ::SetCursorPos(0, 0);
        ASSERT_NE(listener_.Port(), 0);
    }

    // The tray menu, opened, comes to look exactly like the lines (it is
    // drawn when the program gets round to it); when it does not, both
    // pictures are kept for a person to compare.
    static void ExpectTrayMenuLooks(const ProgramUser& user, const std::vector<MenuLine>& lines,
                                    const std::wstring& name)
    {
        RECT drawnAt{};
        const Pixels drawn = DrawReferenceMenu(ProgramUser::TrayAnchor(), lines, &drawnAt);
        const HWND menu = user.OpenTrayMenu();
        ASSERT_NE(menu, nullptr);
        Pixels shown;
        const bool same = WaitUntil(
            [&] {
                shown = CaptureScreen(WindowRect(menu), {menu});
                return MeanDifference(shown, drawn) == 0.0;
            },
            5000);
        const RECT shownAt = WindowRect(menu);
        EXPECT_TRUE(::EqualRect(&shownAt, &drawnAt));
        EXPECT_TRUE(same);
        if (!same) {
            SavePng(shown, name + L"-shown.png");
            SavePng(drawn, name + L"-expected.png");
        }
        EXPECT_TRUE(user.CloseMenus());
    }

    // The tray menu with "System" open, both menus in one picture.
    static void SaveTrayMenuWithSystemOpen(const ProgramUser& user, const std::wstring& fileName)
    {
        const HWND menu = user.OpenTrayMenu();
        ASSERT_NE(menu, nullptr);
        ProgramUser::Key(menu, VK_DOWN);
        ProgramUser::Key(menu, VK_RIGHT);
        ASSERT_TRUE(user.WaitMenus(2));
        const auto open = user.Menus();
        EXPECT_TRUE(SavePng(CaptureScreen(BoundsOf(open), open), fileName));
        EXPECT_TRUE(user.CloseMenus());
    }

    HttpListener listener_;
    LoopbackProxy proxy_{listener_.Port()};
};

}  // namespace testsupport
