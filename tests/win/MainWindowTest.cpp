// The main window, its tray icon and menu, built in this process on the real
// application object, with a test key for its settings and a loopback
// listener for its pings.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "actions/ActionCatalogue.h"
#include "app/AboutDialog.h"
#include "app/CorvelloApp.h"
#include "app/shortcuts/ShortcutKeys.h"
#include "core/Clock.h"
#include "core/DueTime.h"
#include "core/RegistryLayout.h"
#include "online/Notifier.h"
#include "support/DialogAnswerer.h"
#include "support/HttpListener.h"
#include "support/OnlineTestSupport.h"
#include "support/RegistryTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Application.h"

using namespace corvello;

namespace {

constexpr const wchar_t* Key = L"Software\\QUORVANT\\CorvelloWindowTest\\1.0";

std::wstring MenuText(const tk::MenuItem& item)
{
    return item.IsSeparator() ? L"-" : item.Caption();
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(listener_.Port(), 0);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloWindowTest");
        app_ = std::make_unique<CorvelloApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser,
                                             std::wstring(L"\\") + Key);
        app_->SettingsReset();
        app_->CreateForms();
        ASSERT_NE(app_->Main(), nullptr);
    }
    void TearDown() override
    {
        app_->Terminate(0);
        app_.reset();
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloWindowTest");
        testsupport::DeleteValue(HKEY_CURRENT_USER, registry::RunKey,
                                 SplitPath(GetModulePath()).FileName.c_str());
    }
    MainWindow& Main() { return *app_->Main(); }
    std::optional<DWORD> Stored(const wchar_t* name) { return testsupport::StoredDword(HKEY_CURRENT_USER, Key, name); }

    testsupport::HttpListener listener_;
    testsupport::LoopbackProxy proxy_{listener_.Port()};
    std::unique_ptr<CorvelloApp> app_;
};

}  // namespace

TEST_F(MainWindowTest, LaysOutFromItsDesignAndFillsTheTrayMenu)
{
    MainWindow& main = Main();
    EXPECT_EQ(tk::Application::Current().MainForm(), &main);
    EXPECT_EQ(main.Caption(), L"Corvello");
    const UINT dpi = main.Dpi();
    // 328 x 416 at 96 dpi; wider only where a caption needs the room.
    EXPECT_GE(main.ClientWidth(), tk::Scale(328, dpi));
    EXPECT_LE(main.ClientWidth(), tk::Scale(328 + 40, dpi));
    EXPECT_EQ(main.ClientHeight(), tk::Scale(416, dpi));
    for (tk::CheckBox* box : {&main.AutoRunBox(), &main.OnlineBox(), &main.Confirmations()})
        EXPECT_GE(box->LayoutBounds().Width, box->FittingWidth()) << std::string(box->Caption().begin(), box->Caption().end());
    EXPECT_TRUE(main.TrayIcon().Visible());
    EXPECT_EQ(main.TrayIcon().Hint(), L"Corvello (1.2.0.21)");

    // The tray menu: System, Keyboard, Settings (the default), About, -, Close.
    const tk::MenuItem& menu = main.TrayIconMenu().Items();
    const wchar_t* expected[] = {L"System", L"Keyboard", L"Settings", L"About", L"-", L"Close"};
    ASSERT_EQ(menu.Count(), std::size(expected));
    for (std::size_t i = 0; i < menu.Count(); ++i)
        EXPECT_EQ(MenuText(menu.Item(i)), expected[i]) << i;
    EXPECT_TRUE(menu.Item(2).Default);
    const wchar_t* system[] = {L"Monitor Off", L"Screen Saver", L"Lock Computer", L"-", L"Sleep", L"Hibernate",
                               L"Log Off", L"-", L"Restart", L"Shut Down", L"Power Off"};
    ASSERT_EQ(menu.Item(0).Count(), std::size(system));
    for (std::size_t i = 0; i < std::size(system); ++i)
        EXPECT_EQ(MenuText(menu.Item(0).Item(i)), system[i]) << i;
    const wchar_t* keyboard[] = {L"Caps Lock", L"Num Lock", L"Scroll Lock", L"-", L"Ctrl+Alt+Del",
                                 L"Ctrl+Shift+Esc", L"Print Screen"};
    ASSERT_EQ(menu.Item(1).Count(), std::size(keyboard));
    for (std::size_t i = 0; i < std::size(keyboard); ++i)
        EXPECT_EQ(MenuText(menu.Item(1).Item(i)), keyboard[i]) << i;

    // The system menu begins with "About" and a separator.
    const HMENU sys = ::GetSystemMenu(main.Handle(), FALSE);
    wchar_t text[32] = {};
    ::GetMenuStringW(sys, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"About");
    EXPECT_EQ(::GetMenuItemID(sys, 0), 2394u);
    EXPECT_TRUE(::GetMenuState(sys, 1, MF_BYPOSITION) & MF_SEPARATOR);

    // The buttons: the Sleep button carries 5 and runs the Sleep action.
    tk::Button* sleep = main.ButtonFor(ActionId::Sleep);
    ASSERT_NE(sleep, nullptr);
    EXPECT_EQ(sleep->Tag, 5);
    EXPECT_EQ(sleep->GetAction()->Caption(), L"Sleep");
}

TEST_F(MainWindowTest, HintsAndTrayEntriesShowTheShortcutsWindowsTookAfterOneSpace)
{
    // Held elsewhere: Windows refuses Ctrl+Alt+J to the program.
    testsupport::TestWindow holder(L"CorvelloHotKeyHolder", L"Holder");
    ASSERT_TRUE(::RegisterHotKey(holder.Handle(), 1, MOD_CONTROL | MOD_ALT, 'J'));
    ShortcutKeys& keys = app_->Shortcuts();
    const tk::RegKey hotkeys = app_->OpenSettingsSubkey(registry::HotkeysKey, true);
    const ActionEntry& monitorOff = *catalogue::FindActionNamed(L"MonitorOff");
    const ActionEntry& scrollLock = *catalogue::FindActionNamed(L"ScrollLock");
    keys.Set(monitorOff, Shortcut{'O', modifier::Control | modifier::Alt}, hotkeys);
    keys.Set(scrollLock, Shortcut{'J', modifier::Control | modifier::Alt}, hotkeys);
    ASSERT_EQ(keys.StateOf(monitorOff), ShortcutKeys::State::Registered);
    ASSERT_EQ(keys.StateOf(scrollLock), ShortcutKeys::State::InUse);

    const auto hint = [&](ActionId id) { return Main().ButtonFor(id)->GetAction()->Hint(); };
    EXPECT_EQ(hint(monitorOff.Id), L"Blanks the screen or turns the monitor off (Ctrl+Alt+O)");
    EXPECT_EQ(hint(scrollLock.Id), L"Switch Scroll Lock");
    tk::MenuItem& menu = Main().TrayIconMenu().Items();
    EXPECT_EQ(menu.Find(L"miMonitorOff")->ShortCutText, L"Ctrl+Alt+O");
    EXPECT_EQ(menu.Find(L"miScrollLock")->ShortCutText, L"");
    ::UnregisterHotKey(holder.Handle(), 1);
}

TEST_F(MainWindowTest, CheckBoxesWriteAtOnceAndFollowTheSettings)
{
    MainWindow& main = Main();
    EXPECT_TRUE(main.AutoRunBox().Checked());
    EXPECT_TRUE(main.OnlineBox().Checked());
    EXPECT_TRUE(main.Confirmations().Checked());

    ::SendMessageW(main.OnlineBox().Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(main.OnlineBox().Checked());
    EXPECT_EQ(Stored(registry::Online), 0u);
    EXPECT_FALSE(app_->OnlineEnabled());

    // Changed behind the window's back: the next refresh (the tray menu
    // opening does one) fills the box, and filling it writes nothing.
    app_->SetConfirmations(false);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 7);
    main.OnTrayIconMenuPopup(main.TrayIconMenu());
    EXPECT_FALSE(main.Confirmations().Checked());
    EXPECT_EQ(Stored(registry::Confirmations), 7u);
}

TEST_F(MainWindowTest, MinuteTimerSendsStartOnItsFirstTickOnly)
{
    MainWindow& main = Main();
    const UINT interval = main.MinutesTimer().Interval();
    EXPECT_GE(interval, 60000u);
    EXPECT_LT(interval, 300000u);
    EXPECT_TRUE(main.MinutesTimer().Enabled());
    ProgramNotifier()->PingTimeOnPage = 0;

    main.OnTimerMinutes(main.MinutesTimer());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return listener_.RequestCount() >= 1; }, 10000));
    main.OnTimerMinutes(main.MinutesTimer());
    const auto requests = listener_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::wstring today = TodayIso();
    EXPECT_EQ(testsupport::ParseRequestLine(requests[0]).Path,
              "/ping/start/?version=1.2.0.21&date=" + std::string(today.begin(), today.end()));
}

TEST_F(MainWindowTest, UserActionsDisableTheEntriesUntilTheLastEnds)
{
    MainWindow& main = Main();
    const tk::MenuItem& menu = main.TrayIconMenu().Items();
    const tk::MenuItem& settings = menu.Item(2);
    const tk::MenuItem& about = menu.Item(3);
    const tk::MenuItem& close = menu.Item(5);
    main.UserActionBegin(false);
    main.UserActionBegin(true);
    EXPECT_FALSE(settings.Enabled());
    EXPECT_FALSE(about.Enabled());
    EXPECT_FALSE(close.Enabled());
    main.UserActionEnd();
    EXPECT_FALSE(settings.Enabled());
    main.UserActionEnd();
    EXPECT_TRUE(settings.Enabled());
    EXPECT_TRUE(about.Enabled());
    EXPECT_TRUE(close.Enabled());
    // More ends than begins leave the count at rest.
    main.UserActionEnd();
    EXPECT_EQ(main.UserActionsCount(), 0);
}

TEST_F(MainWindowTest, TheCloseBoxHidesToTheTrayAndStoresIt)
{
    MainWindow& main = Main();
    ASSERT_TRUE(main.Visible());
    ::SendMessageW(main.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(main.Visible());
    EXPECT_FALSE(tk::Application::Current().Terminated());
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, std::wstring(Key) + L"\\frmMain", registry::Visible), 0u);
}

TEST_F(MainWindowTest, DraggingSnapsToTheWorkAreaEdges)
{
    MainWindow& main = Main();
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(main.Handle(), MONITOR_DEFAULTTOPRIMARY), &info);
    const int width = main.Width();
    const int height = main.Height();
    ::SendMessageW(main.Handle(), WM_ENTERSIZEMOVE, 0, 0);
    RECT dragged{info.rcWork.left + 7, info.rcWork.top + 300, info.rcWork.left + 7 + width, info.rcWork.top + 300 + height};
    ::SendMessageW(main.Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&dragged));
    EXPECT_EQ(dragged.left, info.rcWork.left);
    EXPECT_EQ(dragged.right - dragged.left, width);
    ::SendMessageW(main.Handle(), WM_EXITSIZEMOVE, 0, 0);
    // Not while merely moved by a program.
    RECT away{info.rcWork.left + 7, 300, info.rcWork.left + 7 + width, 300 + height};
    ::SendMessageW(main.Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&away));
    EXPECT_EQ(away.left, info.rcWork.left + 7);
}

TEST_F(MainWindowTest, WithOnlineFeaturesOffAtTheFirstTickTheRunSendsRunningNeverStart)
{
    MainWindow& main = Main();
    ProgramNotifier()->PingTimeOnPage = 0;
    app_->SetOnlineEnabled(false);
    main.OnTimerMinutes(main.MinutesTimer());
    app_->SetOnlineEnabled(true);
    main.OnTimerMinutes(main.MinutesTimer());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return listener_.RequestCount() >= 1; }, 10000));
    // The spacing holds back any further ping of this run.
    main.OnTimerMinutes(main.MinutesTimer());
    const auto requests = listener_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::wstring today = TodayIso();
    EXPECT_EQ(testsupport::ParseRequestLine(requests[0]).Path,
              "/ping/running/?version=1.2.0.21&date=" + std::string(today.begin(), today.end()));
}

TEST_F(MainWindowTest, CloseFromTheTrayWhileTheProgramIsEndingClosesWithoutAsking)
{
    MainWindow& main = Main();
    testsupport::Answerer answerer(tk::DialogButton::No);
    // The loop is on its way out: the question would keep the program.
    tk::Application::Current().Terminate(0);
    ASSERT_TRUE(app_->Terminated());
    tk::MenuItem* close = main.TrayIconMenu().Items().Find(L"miTrayIconClose");
    ASSERT_NE(close, nullptr);
    main.OnTrayIconMenuClick(*close);
    EXPECT_EQ(answerer.Shown, 0);
    EXPECT_TRUE(main.CloseConfirmed());
    EXPECT_FALSE(main.Closing());
}

TEST_F(MainWindowTest, WhatWaitsReadsTheSameInTheTipTheCancelEntryAndTheHintNamingItsDayAndLastSeconds)
{
    MainWindow& main = Main();
    const ActionEntry* caps = &catalogue::Action(ActionId::CapsLock);
    ASSERT_NE(caps, nullptr);
    const auto clockNow = [] {
        SYSTEMTIME time{};
        ::GetLocalTime(&time);
        return ClockTimeText(time.wHour * 60 + time.wMinute);
    };
    const auto shownAlike = [&](const std::wstring& status) {
        EXPECT_EQ(main.TrayIcon().Hint(), L"Corvello (1.2.0.21)\n" + status);
        const tk::MenuItem& menu = main.TrayIconMenu().Items();
        EXPECT_EQ(MenuText(menu.Item(0)), L"Cancel " + app_->Timer().What());
        EXPECT_EQ(MenuText(menu.Item(1)), L"-");
        const tk::Button* button = main.ButtonFor(caps->Id);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->GetAction()->Hint().ends_with(L"\r\nSet to run: " + status));
    };

    // A day on: the same time, tomorrow.
    const std::wstring before = clockNow();
    ASSERT_TRUE(app_->Timer().Set(*caps, {DueKind::In, 24 * 3600}));
    const std::wstring after = clockNow();
    const std::wstring what = app_->Timer().What();
    EXPECT_TRUE(what == L"Caps Lock at " + before + L" tomorrow" || what == L"Caps Lock at " + after + L" tomorrow")
        << Narrow(what);
    EXPECT_EQ(app_->Timer().Status(), what + L" (in 24 h)");
    shownAlike(app_->Timer().Status());

    // Under a minute: the seconds.
    app_->Timer().Cancel();
    ASSERT_TRUE(app_->Timer().Set(*caps, {DueKind::In, 40}));
    const std::wstring status = app_->Timer().Status();
    EXPECT_TRUE(status.ends_with(L" (in 40 s)") || status.ends_with(L" (in 39 s)")) << Narrow(status);
    EXPECT_EQ(status.find(L"tomorrow"), std::wstring::npos);
    shownAlike(status);

    // The longest of both lines fits the 127 characters a tray tip holds.
    app_->Timer().Cancel();
    const ActionEntry* longest = &catalogue::Action(ActionId::LockMonitorOff);
    ASSERT_NE(longest, nullptr);
    ASSERT_TRUE(app_->Timer().Set(*longest, {DueKind::In, LongestWaitSeconds}));
    app_->Awake().Start(LaterTime{DueKind::In, LongestWaitSeconds}, true);
    const std::wstring tip = main.TrayIcon().Hint();
    EXPECT_LE(tip.size(), 127u) << Narrow(tip);
    EXPECT_NE(tip.find(L"\nLock and Monitor Off at "), std::wstring::npos) << Narrow(tip);
    EXPECT_TRUE(tip.ends_with(L" (screen on)")) << Narrow(tip);
    app_->Awake().Stop();
    app_->Timer().Cancel();
}
