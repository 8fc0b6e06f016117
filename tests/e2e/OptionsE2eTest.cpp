// The Options window and the countdown window as a keyboard user meets them:
// every page well laid out and named, the keyboard going round the tabs,
// the page and Close, Ctrl+Tab switching pages from anywhere, Enter doing
// the page's main thing and Escape closing; the access keys of the action
// buttons' menu and of the main window's system menu.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e/CorvelloProcess.h"
#include "e2e/OptionsScenes.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using testsupport::ChildWithText;
using testsupport::ClassOf;
using testsupport::Corvello;
using testsupport::PressKeys;
using testsupport::ProgramUser;
using testsupport::TextOf;
using testsupport::WaitUntil;

namespace {

class OptionsE2e : public testsupport::ProgramUserTest {
protected:
    // The program started with the Options window in front, where Wine
    // delivers the keys.
    void Start(const wchar_t* arguments = L"/options")
    {
        program_.emplace(arguments);
        ASSERT_TRUE(program_->WaitRunning());
        user_.emplace(program_->Id());
        options_ = user_->WaitWindow(L"TfrmOptions");
        ASSERT_NE(options_, nullptr);
        ::SetForegroundWindow(options_);
        ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == options_; }, 5000));
    }

    HWND Focus() const { return program_->ThreadInfo().hwndFocus; }
    // The focus once it has moved to a control that answers the test.
    HWND WaitFocus(const std::function<bool(HWND)>& wanted) const
    {
        HWND focus = nullptr;
        WaitUntil([&] { return (focus = Focus()) != nullptr && wanted(focus); }, 5000);
        return focus;
    }
    HWND WaitFocusMoved(HWND from) const
    {
        return WaitFocus([from](HWND focus) { return focus != from; });
    }
    bool PageShows(std::size_t index) const
    {
        const HWND page = testsupport::OptionsPage(options_, testsupport::OptionsPages[index].Caption);
        return WaitUntil([&] { return ::IsWindowVisible(page) != FALSE; }, 5000);
    }
    bool OnPage(HWND control, std::size_t index) const
    {
        return ::GetParent(control) == testsupport::OptionsPage(options_, testsupport::OptionsPages[index].Caption);
    }
    // The text that starts so shows on the window.
    bool Shows(const std::wstring& start) const
    {
        return WaitUntil(
            [&] {
                for (const HWND child : testsupport::Descendants(options_))
                    if (::IsWindowVisible(child) && TextOf(child).rfind(start, 0) == 0)
                        return true;
                return false;
            },
            5000);
    }

    std::optional<Corvello> program_;
    std::optional<ProgramUser> user_;
    HWND options_ = nullptr;
};

}  // namespace

TEST_F(OptionsE2e, EveryPageAndTheCountdownAreLaidOutAndNamedForTheKeyboard)
{
    testsupport::ExpectOptionsAndCountdownWellMade({440, 468}, L"-96");
}

TEST_F(OptionsE2e, TheKeyboardGoesRoundTabsPageAndCloseAndCtrlTabSwitchesPagesFromAnywhere)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    // Opened: on the page's first control, the list of actions.
    const HWND list = WaitFocus([](HWND focus) { return ClassOf(focus) == WC_LISTVIEWW; });
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(OnPage(list, 0));
    // Back to the tabs, then once round: the page's controls, Close, the tabs.
    PressKeys({VK_SHIFT, VK_TAB});
    const HWND tabs = WaitFocus([](HWND focus) { return ClassOf(focus) == WC_TABCONTROLW; });
    ASSERT_NE(tabs, nullptr);
    std::vector<std::wstring> round;
    for (HWND at = tabs; round.size() < 8;) {
        PressKeys({VK_TAB});
        at = WaitFocusMoved(at);
        round.push_back(ClassOf(at) + L" " + testsupport::WithoutAccessKey(TextOf(at)));
        if (at == tabs)
            break;
    }
    EXPECT_EQ(round, (std::vector<std::wstring>{L"SysListView32 ", L"Edit ", L"Button Clear", L"Button Close",
                                                 L"SysTabControl32 "}));

    // Ctrl+Tab in the shortcut field: the next page, on its first control.
    PressKeys({VK_TAB});
    const HWND field = WaitFocus([](HWND focus) { return ClassOf(focus) == L"Edit"; });
    ASSERT_NE(field, nullptr);
    PressKeys({VK_CONTROL, VK_TAB});
    ASSERT_TRUE(PageShows(1));
    const HWND action = WaitFocus([&](HWND focus) { return OnPage(focus, 1); });
    EXPECT_EQ(ClassOf(action), L"ComboBox");
    EXPECT_EQ(TextOf(::GetWindow(action, GW_HWNDPREV)), L"&Action:");
    // Backwards, and round from the first page to the last.
    PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
    ASSERT_TRUE(PageShows(0));
    EXPECT_EQ(WaitFocus([&](HWND focus) { return OnPage(focus, 0); }), list);
    PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
    ASSERT_TRUE(PageShows(2));
    const HWND box = WaitFocus([&](HWND focus) { return OnPage(focus, 2); });
    EXPECT_EQ(testsupport::WithoutAccessKey(TextOf(box)), L"Caps Lock");
    // From Close the page changes and the keyboard stays on Close.
    PressKeys({VK_SHIFT, VK_TAB});
    WaitFocus([&](HWND focus) { return focus == tabs; });
    PressKeys({VK_SHIFT, VK_TAB});
    const HWND close = WaitFocus([](HWND focus) { return TextOf(focus) == L"&Close"; });
    ASSERT_NE(close, nullptr);
    PressKeys({VK_CONTROL, VK_TAB});
    ASSERT_TRUE(PageShows(0));
    EXPECT_EQ(Focus(), close);
    EXPECT_TRUE(::IsWindowVisible(options_));
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(OptionsE2e, EnterOnTheTimerPageStartsTheTimerAndEscapeCloses)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(WaitFocus([](HWND focus) { return ClassOf(focus) == WC_LISTVIEWW; }), nullptr);
    PressKeys({VK_CONTROL, VK_TAB});
    ASSERT_TRUE(PageShows(1));
    ASSERT_TRUE(Shows(L"Nothing waits."));
    // Alt and the time label's key: to the time field, where Enter starts
    // the timer and leaves the window open.
    PressKeys({VK_MENU, 'T'});
    const HWND time = WaitFocus([](HWND focus) { return ClassOf(focus) == L"Edit"; });
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(TextOf(::GetWindow(time, GW_HWNDPREV)), L"&Time:");
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Shows(L"Waiting: Monitor Off at "));
    EXPECT_TRUE(::IsWindowVisible(options_));
    // Keep Awake's buttons by their keys.
    PressKeys({VK_MENU, 'W'});
    EXPECT_TRUE(Shows(L"Keeping awake"));
    EXPECT_TRUE(testsupport::SaveWindowPng(options_, L"options-timer-enter.png"));
    PressKeys({VK_MENU, 'P'});
    EXPECT_TRUE(Shows(L"The computer sleeps when its power plan says."));
    // Escape closes the window (from a control that is still enabled: Stop
    // turns itself off and leaves the keyboard nowhere).
    PressKeys({VK_MENU, 'F'});
    WaitFocus([](HWND focus) { return ClassOf(focus) == L"ComboBox"; });
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(user_->WaitNone(L"TfrmOptions"));
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(OptionsE2e, TheButtonsMenuAndTheSystemMenuTakeTheirAccessKeys)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    // "At a time..." by its key: the Timer page, on the time field.
    const HWND button = ChildWithText(main, L"Shut Down");
    ASSERT_NE(button, nullptr);
    HWND menu = user.OpenContextMenu(button);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(testsupport::SaveWindowPng(menu, L"button-menu.png"));
    ::PostMessageW(menu, WM_CHAR, L'a', 1);
    const HWND options = user.WaitWindow(L"TfrmOptions");
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(testsupport::OptionsPage(options, L"Timer")) != FALSE; },
                          5000));
    EXPECT_TRUE(WaitUntil([&] { return ClassOf(program.ThreadInfo().hwndFocus) == L"Edit"; }, 5000));
    ::PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(user.WaitNone(L"TfrmOptions"));
    // The system menu's "Options..." by its key.
    ::PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    menu = user.WaitWindow(L"#32768");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(testsupport::SaveWindowPng(menu, L"system-menu.png"));
    ::PostMessageW(menu, WM_CHAR, L'o', 1);
    EXPECT_NE(user.WaitWindow(L"TfrmOptions"), nullptr);
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}
