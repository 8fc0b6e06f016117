// The lock keys as the real program shows and keeps them: the on-screen
// notice when a key changes, whoever switched it; the policy that keeps Num
// Lock on, and that gives way to a program fighting it; the lock-key tray
// icons; damaged settings; and the Options page "Lock keys".
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "e2e/CorvelloProcess.h"
#include "e2e/DebugOutputCapture.h"
#include "e2e/LockKeysScenes.h"
#include "e2e/RecordingWitness.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using testsupport::Corvello;
using testsupport::LockKeysKey;
using testsupport::LockOn;
using testsupport::ProgramUser;
using testsupport::TextOf;
using testsupport::WaitNotice;
using testsupport::WaitUntil;

namespace {

class LockKeysE2e : public testsupport::ProgramUserTest {
protected:
    void SetUp() override
    {
        ProgramUserTest::SetUp();
        testsupport::PutLocksOff();
    }
    void TearDown() override
    {
        if (program_ && program_->Running())
            program_->Stop();
        testsupport::PutLocksOff();
        ProgramUserTest::TearDown();
    }

    // Starts the program, its window shown (and in front) unless started in
    // the tray while another program is in front, and waits until it runs
    // its loop.
    void Start(bool inTray = false)
    {
        if (inTray) {
            testsupport::WriteDword(HKEY_CURRENT_USER, testsupport::MainFormKey, corvello::registry::Visible, 0);
            front_.emplace();
            ASSERT_EQ(::GetForegroundWindow(), front_->Handle());
        }
        program_.emplace(inTray ? L"-startup" : L"");
        ASSERT_TRUE(program_->WaitRunning());
        user_.emplace(program_->Id());
        if (!inTray) {
            ASSERT_TRUE(user_->WaitMainVisible(true));
            main_ = user_->MainWindow();
            ::SetForegroundWindow(main_);
            ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main_; }, 5000));
        }
    }

    DWORD Id() const { return program_->Id(); }

    std::optional<testsupport::OtherProgramInFront> front_;
    std::optional<Corvello> program_;
    std::optional<ProgramUser> user_;
    HWND main_ = nullptr;
};

// Another program switches a lock key with SendInput.
void AnotherProgramPresses(WORD key)
{
    const testsupport::TestedProcess presser(L"corvello_witness.exe", L"press " + std::to_wstring(key));
    ASSERT_TRUE(presser.Started());
    EXPECT_EQ(presser.WaitExit(10000), std::optional<DWORD>(0));
}

std::uint32_t ExStyle(HWND window)
{
    return static_cast<std::uint32_t>(::GetWindowLongW(window, GWL_EXSTYLE));
}

}  // namespace

TEST_F(LockKeysE2e, ACapsLockPressShowsANoticeThatTakesNothingFromTheForegroundAndGoesAfterItsTime)
{
    testsupport::AppsTheme light(true);
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND foreground = ::GetForegroundWindow();

    testsupport::PressKeys({VK_CAPITAL});
    const HWND notice = WaitNotice(Id(), L"Caps Lock on");
    ASSERT_NE(notice, nullptr);
    const DWORD shownAt = ::GetTickCount();
    // A top-most layered window that takes no activation and lets the mouse
    // through to what lies below; the foreground stays where it was.
    const std::uint32_t wanted = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    EXPECT_EQ(ExStyle(notice) & wanted, wanted);
    EXPECT_EQ(::GetForegroundWindow(), foreground);
    EXPECT_EQ(program_->ThreadInfo().hwndActive, main_);
    const RECT at = testsupport::WindowRect(notice);
    EXPECT_NE(::WindowFromPoint({(at.left + at.right) / 2, (at.top + at.bottom) / 2}), notice);
    // 85 % opaque, at the bottom centre of the work area, 24 pixels above its
    // edge.
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(notice, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 85 * 255 / 100);
    EXPECT_TRUE(flags & LWA_ALPHA);
    const RECT work = testsupport::WorkAreaOf(notice);
    EXPECT_LE(std::abs((at.left + at.right) - (work.left + work.right)), 1);
    EXPECT_EQ(at.bottom, work.bottom - 24);
    // The program draws it: light, the LED lit.
    const testsupport::Pixels drawn = testsupport::CaptureScreen(at, {notice});
    EXPECT_GT(drawn.Count([](int r, int g, int b) { return r > 230 && g > 230 && b > 230; }), drawn.Width * 10);
    EXPECT_GT(drawn.Count([](int r, int g, int b) { return r > 180 && g < 100 && b < 100; }), 10);
    EXPECT_TRUE(testsupport::SaveWindowPng(notice, L"notice-light.png"));

    // Gone once its 1.5 s are over, fading out at their end: no sooner, and
    // no later than the fade (240 ms at most) and a margin for a busy machine.
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(notice); }, 1500 + 3000));
    const DWORD shownFor = ::GetTickCount() - shownAt;
    EXPECT_GE(shownFor, 1500u - 300u);
    EXPECT_LE(shownFor, 1500u + 240u + 500u);
    EXPECT_EQ(::GetForegroundWindow(), foreground);

    testsupport::PressKeys({VK_CAPITAL});
    EXPECT_NE(WaitNotice(Id(), L"Caps Lock off"), nullptr);
}

TEST_F(LockKeysE2e, ASecondChangeWhileTheNoticeShowsTakesItsPlaceAndItsTimeStartsAgain)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"NoticeMs", 2000);
    ASSERT_NO_FATAL_FAILURE(Start());
    testsupport::PressKeys({VK_CAPITAL});
    const HWND first = WaitNotice(Id(), L"Caps Lock on");
    ASSERT_NE(first, nullptr);
    testsupport::PressKeys({VK_NUMLOCK});
    const DWORD replacedAt = ::GetTickCount();
    EXPECT_EQ(WaitNotice(Id(), L"Num Lock on"), first);
    EXPECT_EQ(testsupport::TopWindows(Id(), testsupport::NoticeClass).size(), 1u);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(first); }, 2000 + 3000));
    // Two seconds from the second change, not from the first.
    EXPECT_GE(::GetTickCount() - replacedAt, 2000u - 300u);
}

TEST_F(LockKeysE2e, ALockSwitchedByAnotherProgramShowsItsNoticeInTheDarkColoursOfApps)
{
    testsupport::AppsTheme dark(false);
    // In the tray: no window of the program is on the screen.
    ASSERT_NO_FATAL_FAILURE(Start(true));
    ASSERT_NO_FATAL_FAILURE(AnotherProgramPresses(VK_NUMLOCK));
    const HWND notice = WaitNotice(Id(), L"Num Lock on");
    ASSERT_NE(notice, nullptr);
    const testsupport::Pixels shown = testsupport::CaptureScreen(testsupport::WindowRect(notice), {notice});
    EXPECT_GT(shown.Count([](int r, int g, int b) { return r < 60 && g < 60 && b < 60; }), shown.Width * 10);
    EXPECT_TRUE(testsupport::SaveWindowPng(notice, L"notice-dark.png"));
    ASSERT_NO_FATAL_FAILURE(AnotherProgramPresses(VK_NUMLOCK));
    EXPECT_NE(WaitNotice(Id(), L"Num Lock off"), nullptr);
    // Scroll Lock is not among the keys the notice is for by default.
    ASSERT_NO_FATAL_FAILURE(AnotherProgramPresses(VK_SCROLL));
    ASSERT_TRUE(WaitUntil([] { return LockOn(VK_SCROLL); }, 3000));
    EXPECT_FALSE(WaitUntil([&] { return testsupport::ShownNotice(Id()) && TextOf(testsupport::ShownNotice(Id())) ==
                                                                                  L"Scroll Lock on"; },
                           1000));
}

TEST_F(LockKeysE2e, NumLockKeptOnIsOnWithinASecondOfTheStartAndOfAnotherProgramSwitchingItOff)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"NumPolicy", 1);
    ASSERT_FALSE(LockOn(VK_NUMLOCK));
    ASSERT_NO_FATAL_FAILURE(Start(true));
    EXPECT_TRUE(WaitUntil([] { return LockOn(VK_NUMLOCK); }, 1000));
    EXPECT_NE(WaitNotice(Id(), L"Num Lock kept on"), nullptr);

    ASSERT_NO_FATAL_FAILURE(AnotherProgramPresses(VK_NUMLOCK));
    // Off for a moment, then on again.
    EXPECT_TRUE(WaitUntil([] { return LockOn(VK_NUMLOCK); }, 1000));
    EXPECT_NE(WaitNotice(Id(), L"Num Lock kept on"), nullptr);
}

TEST_F(LockKeysE2e, AProgramThatKeepsSwitchingThePolicysKeyBackWinsOnceAndTheUnlockRestoresThePolicy)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"NumPolicy", 1);
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());
    // The witness tells the program's corrections (with Num Lock's own scan
    // code, 69) from this test's presses (none).
    testsupport::RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start(true));
    ASSERT_TRUE(WaitUntil([] { return LockOn(VK_NUMLOCK); }, 3000));
    const auto count = [&](const wchar_t* line) {
        const auto lines = witness.Lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), std::wstring(line)));
    };
    ASSERT_TRUE(WaitUntil([&] { return count(L"key up 144 69 injected") == 1; }, 3000));
    // The start's correction and four more within 10 s; the fifth time the
    // key is switched off, the program gives way.
    for (int i = 1; i <= 5; ++i) {
        testsupport::PressKeys({VK_NUMLOCK});
        ASSERT_TRUE(WaitUntil([&] { return count(L"key up 144 0 injected") == i; }, 3000)) << i;
        const bool corrected =
            WaitUntil([&] { return count(L"key up 144 69 injected") == 1 + i; }, i < 5 ? 3000 : 1500);
        EXPECT_EQ(corrected, i < 5) << i;
        if (i < 5) {
            ASSERT_TRUE(WaitUntil([] { return LockOn(VK_NUMLOCK); }, 3000)) << i;
        }
    }
    EXPECT_TRUE(WaitUntil([] { return !LockOn(VK_NUMLOCK); }, 3000));
    const auto gaveWay = [&] {
        int lines = 0;
        for (const std::wstring& line : log.LinesOf(Id()))
            lines += line.find(L"Another program keeps switching Num Lock off") != std::wstring::npos;
        return lines;
    };
    EXPECT_TRUE(WaitUntil([&] { return gaveWay() == 1; }, 3000));

    // An unlock, and the policy holds again.
    const HWND events = user_->Window(L"tk.SystemEvents", false);
    ASSERT_NE(events, nullptr);
    ::SendMessageW(events, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    EXPECT_TRUE(WaitUntil([] { return LockOn(VK_NUMLOCK); }, 1000));
    EXPECT_EQ(gaveWay(), 1);
}

TEST_F(LockKeysE2e, NumbersStoredAsAnythingButADwordReadAsTheirDefaultsAndAreLogged)
{
    // Each of these once read as a number of its own.
    const std::vector<BYTE> five = {'5', 0, 0, 0};
    const std::vector<BYTE> one = {'1', 0, 0, 0};
    const struct {
        const wchar_t* Name;
        DWORD Type;
        std::vector<BYTE> Data;
    } stored[] = {
        {L"TrayIcons", REG_SZ, five},                          // was Caps and Scroll Lock's icons: none
        {L"Notice", REG_QWORD, {0, 0, 0, 0, 0, 0, 0, 0}},      // was no notice: Caps and Num Lock's
        {L"NumPolicy", REG_DWORD, {1, 0}},                     // was kept on: left alone
        {L"NoticeOverFullScreen", REG_EXPAND_SZ, one},
    };
    for (const auto& value : stored)
        testsupport::WriteValue(HKEY_CURRENT_USER, LockKeysKey, value.Name, value.Type, value.Data.data(),
                                value.Data.size());
    // Stored properly, beside them: Scroll Lock kept on.
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"ScrollPolicy", 1);
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(WaitUntil([] { return LockOn(VK_SCROLL); }, 3000));
    testsupport::PressKeys({VK_CAPITAL});
    EXPECT_NE(WaitNotice(Id(), L"Caps Lock on"), nullptr);
    EXPECT_FALSE(LockOn(VK_NUMLOCK));
    EXPECT_TRUE(testsupport::HeldLockIcons(Id()).empty());
    std::vector<std::wstring> logged;
    for (const std::wstring& line : log.LinesOf(Id()))
        for (const auto& value : stored)
            if (line.find(std::wstring(L"reading the setting ") + value.Name + L' ') != std::wstring::npos)
                logged.push_back(value.Name);
    std::sort(logged.begin(), logged.end());
    EXPECT_EQ(logged, (std::vector<std::wstring>{L"Notice", L"NoticeOverFullScreen", L"NumPolicy", L"TrayIcons"}));
}

TEST_F(LockKeysE2e, TrayIconsShowWhileTheirKeysAreOnSwitchThemAndComeBackAfterANewTaskBar)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"TrayIcons", 3);  // Caps and Num Lock
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"TrayIconsOnlyWhileOn", 1);
    ASSERT_NO_FATAL_FAILURE(Start(true));
    ASSERT_TRUE(WaitUntil([&] { return user_->TrayIconShown(); }, 5000));
    EXPECT_TRUE(testsupport::HeldLockIcons(Id()).empty());

    testsupport::PressKeys({VK_CAPITAL});
    ASSERT_TRUE(WaitUntil([&] { return testsupport::HeldLockIcons(Id()).size() == 1; }, 3000));
    const HWND caps = testsupport::HeldLockIcons(Id()).front();
    testsupport::PressKeys({VK_NUMLOCK});
    EXPECT_TRUE(WaitUntil([&] { return testsupport::HeldLockIcons(Id()).size() == 2; }, 3000));
    // Scroll Lock has no icon.
    testsupport::PressKeys({VK_SCROLL});
    ASSERT_TRUE(WaitUntil([] { return LockOn(VK_SCROLL); }, 3000));
    EXPECT_EQ(testsupport::HeldLockIcons(Id()).size(), 2u);

    // Explorer restarts: the icons it held are gone, and the new task bar
    // announces itself.
    for (const HWND icon : testsupport::HeldLockIcons(Id())) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = icon;
        data.uID = 1;
        ::Shell_NotifyIconW(NIM_DELETE, &data);
    }
    ASSERT_TRUE(testsupport::HeldLockIcons(Id()).empty());
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    for (const HWND icon : testsupport::TopWindows(Id(), testsupport::LockIconClass, false))
        ::SendMessageW(icon, taskbarCreated, 0, 0);
    EXPECT_EQ(testsupport::HeldLockIcons(Id()).size(), 2u);

    // A click switches the key; a right click opens the program's tray menu
    // (last: the menu takes the focus, which resets the locks under Wine).
    const POINT anchor = ProgramUser::TrayAnchor();
    ::PostMessageW(caps, WM_APP + 0x3A0, MAKEWPARAM(anchor.x, anchor.y), MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(WaitUntil([] { return !LockOn(VK_CAPITAL); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return testsupport::HeldLockIcons(Id()).size() == 1; }, 3000));
    const HWND num = testsupport::HeldLockIcons(Id()).front();
    ::PostMessageW(num, WM_APP + 0x3A0, MAKEWPARAM(anchor.x, anchor.y), MAKELPARAM(WM_CONTEXTMENU, 1));
    ASSERT_TRUE(user_->WaitMenus(1));
    EXPECT_TRUE(user_->CloseMenus());
}

TEST_F(LockKeysE2e, DamagedSettingsReadAsTheirDefaultsAreLoggedAndCostTheOthersNothing)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"Notice", 99);          // out of range: Caps and Num
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"NoticeMs", 5);         // out of range: 1.5 s
    testsupport::WriteSz(HKEY_CURRENT_USER, LockKeysKey, L"NoticeOpacity", L"half");  // no number: 85 %
    testsupport::WriteDword(HKEY_CURRENT_USER, LockKeysKey, L"NoticePosition", 0);   // top left, as stored
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());
    ASSERT_NO_FATAL_FAILURE(Start());
    testsupport::PressKeys({VK_CAPITAL});
    const HWND notice = WaitNotice(Id(), L"Caps Lock on");
    ASSERT_NE(notice, nullptr);
    const RECT at = testsupport::WindowRect(notice);
    const RECT work = testsupport::WorkAreaOf(notice);
    EXPECT_EQ(at.left, work.left + 24);
    EXPECT_EQ(at.top, work.top + 24);
    BYTE alpha = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(notice, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 85 * 255 / 100);
    std::vector<std::wstring> damaged;
    for (const std::wstring& line : log.LinesOf(Id()))
        for (const wchar_t* name : {L"Notice ", L"NoticeMs ", L"NoticeOpacity ", L"NoticePosition "})
            if (line.find(std::wstring(L"reading the setting ") + name) != std::wstring::npos)
                damaged.push_back(name);
    EXPECT_EQ(damaged, (std::vector<std::wstring>{L"Notice ", L"NoticeMs ", L"NoticeOpacity "}));
}

TEST_F(LockKeysE2e, ThePageSetsTheSettingsAndShowMeShowsTheNoticeWhereItWillAppear)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ::PostMessageW(main_, WM_SYSCOMMAND, 2395, 0);
    const HWND options = user_->WaitWindow(L"TfrmOptions");
    ASSERT_NE(options, nullptr);
    HWND tabs = nullptr;
    for (const HWND child : testsupport::Descendants(options))
        if (testsupport::ClassOf(child) == WC_TABCONTROLW)
            tabs = child;
    ASSERT_NE(tabs, nullptr);
    // The page with "Show me", chosen as a click on its tab chooses it.
    const HWND showMe = testsupport::ChildWithText(options, L"Show me");
    ASSERT_NE(showMe, nullptr);
    bool shown = false;
    for (int tab = 0; tab < TabCtrl_GetItemCount(tabs) && !shown; ++tab) {
        ::SendMessageW(tabs, TCM_SETCURFOCUS, tab, 0);
        shown = WaitUntil([&] { return ::IsWindowVisible(showMe) != FALSE; }, 1000);
    }
    ASSERT_TRUE(shown);
    EXPECT_TRUE(testsupport::SaveWindowPng(options, L"options-lockkeys.png"));

    // Top left, every key: stored at once.
    HWND place = nullptr;
    for (const HWND child : testsupport::Descendants(options))
        if (testsupport::ClassOf(child) == WC_COMBOBOXW && ::IsWindowVisible(child) && !place)
            place = child;
    ASSERT_NE(place, nullptr);
    ::SendMessageW(place, CB_SETCURSEL, 0, 0);
    ::SendMessageW(::GetParent(place), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(place), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(place));
    const HWND scroll = testsupport::ChildWithText(options, L"Scroll Lock");  // the notice's ("Scroll Lock icon")
    ASSERT_NE(scroll, nullptr);
    testsupport::ClickButton(scroll);
    EXPECT_TRUE(WaitUntil(
        [] { return testsupport::StoredDword(HKEY_CURRENT_USER, LockKeysKey, L"Notice") == std::optional<DWORD>(7); },
        3000));
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, LockKeysKey, L"NoticePosition"), std::optional<DWORD>(0));
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, LockKeysKey, L"NoticeMs"), std::optional<DWORD>(1500));
    EXPECT_EQ(testsupport::StoredSz(HKEY_CURRENT_USER, LockKeysKey, L"SoundOn"), std::optional<std::wstring>(L""));

    testsupport::ClickButton(showMe);
    const HWND notice = WaitNotice(Id(), L"Caps Lock off");
    ASSERT_NE(notice, nullptr);
    const RECT at = testsupport::WindowRect(notice);
    const RECT work = testsupport::WorkAreaOf(notice);
    EXPECT_EQ(at.left, work.left + 24);
    EXPECT_EQ(at.top, work.top + 24);
    EXPECT_EQ(::GetForegroundWindow(), options);
}
