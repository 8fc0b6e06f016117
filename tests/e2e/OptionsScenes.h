// The Options window's pages and the countdown window as the end-to-end
// tests look them over, at every scaling: each page in turn and the
// countdown of an action set for later, checked for layout and keyboard
// faults, with a picture of each.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "e2e/CorvelloProcess.h"
#include "e2e/ProgramSpy.h"
#include "support/LayoutFaults.h"
#include "support/ScreenPixels.h"

namespace testsupport {

// The pages, in the order of their tabs, and their pictures' names.
struct OptionsPageName {
    const wchar_t* Caption;
    const wchar_t* Picture;
};
inline constexpr OptionsPageName OptionsPages[] = {
    {L"Shortcuts", L"options-shortcuts"}, {L"Timer", L"options-timer"}, {L"Lock keys", L"options-lockkeys"}};

inline HWND TabsOf(HWND options)
{
    for (const HWND child : Descendants(options))
        if (ClassOf(child) == WC_TABCONTROLW)
            return child;
    return nullptr;
}

// The page's panel (it carries the tab's caption).
inline HWND OptionsPage(HWND options, const wchar_t* caption)
{
    for (const HWND child : Descendants(options))
        if (ClassOf(child) == L"TPanel" && TextOf(child) == caption)
            return child;
    return nullptr;
}

// Chooses the page as a click on its tab does; true once it shows.
inline bool ShowOptionsPage(HWND options, std::size_t index)
{
    const HWND page = OptionsPage(options, OptionsPages[index].Caption);
    ::SendMessageW(TabsOf(options), TCM_SETCURFOCUS, index, 0);
    return page && WaitUntil([&] { return ::IsWindowVisible(page) != FALSE; }, 5000);
}

// Each page of the Options window, whose client area is the size given in
// pixels, then the countdown window: no layout or keyboard fault; pictures
// named <page><suffix>.png and countdown<suffix>.png.
inline void ExpectOptionsAndCountdownWellMade(SIZE client, const std::wstring& suffix)
{
    Corvello program(L"/options");
    ASSERT_TRUE(program.WaitRunning());
    // The spy keeps the session's end from Windows, should the countdown run out.
    const ProgramSpy spy(program.AppWindow());
    ASSERT_TRUE(spy.CallsInPlace());
    const ProgramUser user(program.Id());
    const HWND options = user.WaitWindow(L"TfrmOptions");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(ClientRectOf(options).right, client.cx);
    EXPECT_EQ(ClientRectOf(options).bottom, client.cy);
    for (std::size_t i = 0; i < std::size(OptionsPages); ++i) {
        ASSERT_TRUE(ShowOptionsPage(options, i)) << Narrow(OptionsPages[i].Caption);
        EXPECT_EQ(Lines(LayoutFaults(options)), "") << Narrow(OptionsPages[i].Caption);
        EXPECT_EQ(Lines(KeyboardFaults(options)), "") << Narrow(OptionsPages[i].Caption);
        EXPECT_TRUE(SaveWindowPng(options, OptionsPages[i].Picture + suffix + L".png"));
    }

    const Corvello later(L"/do:shutdown /in:31s");
    ASSERT_EQ(later.WaitExit(15000), std::optional<DWORD>(0));
    const HWND countdown = user.WaitWindow(L"TfrmCountdown", 10000);
    ASSERT_NE(countdown, nullptr);
    EXPECT_EQ(Lines(LayoutFaults(countdown)), "");
    EXPECT_EQ(Lines(KeyboardFaults(countdown)), "");
    EXPECT_TRUE(SaveWindowPng(countdown, L"countdown" + suffix + L".png"));
    ClickButton(ChildWithText(countdown, L"Cancel"));
    EXPECT_TRUE(user.WaitNone(L"TfrmCountdown"));
    EXPECT_TRUE(spy.Calls(spy::Call::ExitWindows).empty());
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

}  // namespace testsupport
