// Timers, menus and the tray icon of the window layer.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "support/FormTestSupport.h"
#include "support/ScreenPixels.h"
#include "support/WinTestSupport.h"
#include "toolkit/Graphics.h"
#include "toolkit/Timer.h"
#include "toolkit/TrayIcon.h"
#include "ui/PersistentForm.h"
#include "ui/TrayPopupMenu.h"
#include "ui/FormPlacement.h"

using namespace corvello;

TEST(Timer, TicksFromTheLoopAndStopsWhenDisabled)
{
    tk::Application::Current().Initialize();
    int ticks = 0;
    tk::Timer timer(20);
    timer.OnTimer = [&](tk::Timer& t) {
        if (++ticks == 3)
            t.SetEnabled(false);
    };
    tk::Timer idle(20, false);
    idle.OnTimer = [&](tk::Timer&) { ++ticks; };
    // A running timer of the same interval is the clock: by its tenth tick the
    // stopped and the never started timer would have ticked too.
    int clock = 0;
    tk::Timer running(20);
    running.OnTimer = [&](tk::Timer&) { ++clock; };
    ASSERT_TRUE(testsupport::WaitUntil([&] { return clock >= 10; }, 5000));
    EXPECT_EQ(ticks, 3);
}

TEST(PopupMenu, TheChosenEntryRunsAfterTheMenuHasClosed)
{
    tk::Application::Current().Initialize();
    TrayPopupMenu menu;
    int clicked = 0;
    std::optional<bool> visibleInClick;
    auto& entry = menu.Items().Add(std::make_unique<tk::MenuItem>(L"miFirst", L"First", 5));
    entry.OnClick = [&](tk::MenuItem& sender) {
        clicked = sender.Tag;
        visibleInClick = menu.Visible();
    };
    menu.Items().Add(std::make_unique<tk::MenuItem>(L"miSep", L"-"));
    bool popupRan = false;
    menu.OnPopup = [&](tk::PopupMenu&) { popupRan = true; };
    std::optional<bool> visibleInClose;
    menu.OnClose = [&](TrayPopupMenu& sender) { visibleInClose = sender.Visible(); };

    // Choose the first entry with the keyboard once the menu is up.
    tk::Timer chooser(50);
    chooser.OnTimer = [&](tk::Timer& t) {
        t.SetEnabled(false);
        const HWND owner = tk::Application::Current().Handle();
        ::PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(owner, WM_KEYDOWN, VK_RETURN, 0);
    };
    menu.Popup(100, 100);
    EXPECT_TRUE(popupRan);
    EXPECT_EQ(visibleInClose, true);
    EXPECT_FALSE(menu.Visible());
    // As with a menu of Windows' own, the command arrives from the loop.
    EXPECT_EQ(clicked, 0);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return clicked != 0; }, 5000));
    EXPECT_EQ(clicked, 5);
    EXPECT_EQ(visibleInClick, false);
}

TEST(PopupMenu, AnEntryGoneBeforeItsTurnDoesNotRun)
{
    tk::Application::Current().Initialize();
    int clicked = 0;
    {
        TrayPopupMenu menu;
        auto& entry = menu.Items().Add(std::make_unique<tk::MenuItem>(L"miFirst", L"First", 5));
        entry.OnClick = [&](tk::MenuItem&) { ++clicked; };
        tk::Timer chooser(50);
        chooser.OnTimer = [&](tk::Timer& t) {
            t.SetEnabled(false);
            ::PostMessageW(tk::Application::Current().Handle(), WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(tk::Application::Current().Handle(), WM_KEYDOWN, VK_RETURN, 0);
        };
        menu.Popup(100, 100);
    }
    // The menu is destroyed before the loop runs the chosen entry.
    bool marker = false;
    tk::Application::Current().Post([&] { marker = true; });
    ASSERT_TRUE(testsupport::WaitUntil([&] { return marker; }, 5000));
    EXPECT_EQ(clicked, 0);
}

TEST(MenuItemInsert, PutsEntriesIntoANativeMenu)
{
    const tk::UniqueMenu menu(::CreatePopupMenu());
    tk::MenuItem about(L"miAbout", L"About", 2);
    about.Default = true;
    tk::MenuItem hidden(L"miHidden", L"Hidden");
    hidden.Visible = false;
    tk::MenuItem separator(L"miSep", L"-");
    EXPECT_FALSE(tk::MenuItemInsert(menu.Get(), hidden, 0, 7, false));
    EXPECT_TRUE(tk::MenuItemInsert(menu.Get(), separator, 0, 0, false));
    EXPECT_TRUE(tk::MenuItemInsert(menu.Get(), about, 0, 2394, false));
    ASSERT_EQ(::GetMenuItemCount(menu.Get()), 2);
    EXPECT_EQ(::GetMenuItemID(menu.Get(), 0), 2394u);
    wchar_t text[32] = {};
    ::GetMenuStringW(menu.Get(), 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"About");
    EXPECT_EQ(::GetMenuDefaultItem(menu.Get(), TRUE, 0), 0u);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(menu.Get(), 1, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);

    // An entry that starts a new column keeps its break.
    for (const auto& [kind, flag] : {std::pair{tk::MenuBreak::Break, UINT{MFT_MENUBREAK}},
                                     std::pair{tk::MenuBreak::BarBreak, UINT{MFT_MENUBARBREAK}}}) {
        tk::MenuItem column(L"miColumn", L"Column");
        column.Break = kind;
        ASSERT_TRUE(tk::MenuItemInsert(menu.Get(), column, 0, 9, false));
        ::GetMenuItemInfoW(menu.Get(), 0, TRUE, &info);
        EXPECT_EQ(info.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK), flag);
    }
}

TEST(TrayIcon, ShowsAndAnswersClicksAndComesBackWithTheTaskBar)
{
    tk::Application::Current().Initialize();
    tk::TrayIcon tray;
    const tk::Icon icon = tk::Icon::FromSystem(IDI_APPLICATION);
    tray.SetIcon(icon.Get());
    tray.SetHint(L"Corvello (1.2.0.21)");
    ASSERT_TRUE(tray.SetVisible(true));
    EXPECT_TRUE(tray.Visible());
    EXPECT_TRUE(tray.ShowBalloon(L"Corvello", L"Still here", tk::TrayIcon::BalloonKind::Info));

    int clicks = 0;
    int doubleClicks = 0;
    tray.OnClick = [&](tk::TrayIcon&) { ++clicks; };
    tray.OnDblClick = [&](tk::TrayIcon&) { ++doubleClicks; };
    const auto event = [&](UINT what) {
        ::SendMessageW(tray.Handle(), tk::TrayIcon::CallbackMessage, MAKEWPARAM(10, 10),
                       MAKELPARAM(what, tk::TrayIcon::IconId));
    };
    event(NIN_SELECT);
    event(WM_LBUTTONDBLCLK);
    event(WM_MOUSEMOVE);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);

    // Explorer restarted: its icons are gone, and the new task bar says so.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = tray.Handle();
    data.uID = tk::TrayIcon::IconId;
    data.uFlags = NIF_TIP;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &data));
    ::SendMessageW(tray.Handle(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(tray.Visible());
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data));  // added anew
    // Sent again with the icon still there, it stays.
    ::SendMessageW(tray.Handle(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data));

    EXPECT_TRUE(tray.SetVisible(false));
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &data));
}

TEST(TrayIcon, ARefusedIconIsTriedAgainUntilItIsThere)
{
    tk::Application::Current().Initialize();
    tk::TrayIcon tray;
    const tk::Icon icon = tk::Icon::FromSystem(IDI_APPLICATION);
    tray.SetIcon(icon.Get());
    // Something holds the icon's place, so the shell refuses the first add.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = tray.Handle();
    data.uID = tk::TrayIcon::IconId;
    data.uFlags = NIF_ICON;
    data.hIcon = icon.Get();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_ADD, &data));
    EXPECT_FALSE(tray.SetVisible(true));
    EXPECT_FALSE(tray.Visible());
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return tray.Visible(); }, 10000));
    EXPECT_TRUE(tray.SetVisible(false));
}

TEST(TrayIcon, TheMenuKeyOpensTheMenuWithTheAutomaticPopUpOffMeanwhile)
{
    tk::Application::Current().Initialize();
    tk::TrayIcon tray;
    TrayPopupMenu menu;
    menu.Items().Add(std::make_unique<tk::MenuItem>(L"miFirst", L"First", 5));
    tray.Menu = &menu;
    std::optional<bool> autoPopupWhileShown;
    menu.OnPopup = [&](tk::PopupMenu& sender) { autoPopupWhileShown = sender.AutoPopup; };
    tk::Timer closer(50);
    closer.OnTimer = [&](tk::Timer& t) {
        t.SetEnabled(false);
        ::PostMessageW(tk::Application::Current().Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    ::SendMessageW(tray.Handle(), tk::TrayIcon::CallbackMessage, MAKEWPARAM(10, 10),
                   MAKELPARAM(WM_CONTEXTMENU, tk::TrayIcon::IconId));
    EXPECT_EQ(autoPopupWhileShown, false);
    EXPECT_TRUE(menu.AutoPopup);
}

TEST(Icon, EveryPictureLoadsAtEverySizeItIsShownAt)
{
    const struct {
        const wchar_t* Name;
        std::initializer_list<int> Sizes;
    } pictures[] = {
        {L"MAINICON", {16, 20, 24, 32, 40, 48, 64, 128, 192, 256}},
        {L"LedGray", {16, 20, 24, 32}},
        {L"LedRed", {16, 20, 24, 32}},
        {L"SOCIAL_FACEBOOK", {16, 24, 32}},
        {L"SOCIAL_STUMBLEUPON", {16, 24, 32}},
    };
    for (const auto& picture : pictures)
        for (const int size : picture.Sizes) {
            const tk::Icon icon = tk::Icon::FromResource(picture.Name, size, size);
            ASSERT_TRUE(icon) << picture.Name << " at " << size;
            // Something is drawn: not every pixel is the background.
            const auto drawn = testsupport::DrawIcon(icon.Get(), size, size, RGB(255, 0, 255));
            EXPECT_LT(drawn.Count([](int r, int g, int b) { return r == 255 && g == 0 && b == 255; }), size * size)
                << picture.Name << " at " << size;
        }
}

TEST(Icon, TheBigIconIsTheLargestFrameAveragedDownNotASmallerOneStretched)
{
    // Drawn over one colour, the icon scaled down to half is, pixel for
    // pixel, the mean of each two by two block of its 256-pixel frame.
    const tk::Icon frame = tk::Icon::FromResource(L"MAINICON", 256, 256);
    const tk::Icon half = tk::Icon::ScaledDown(L"MAINICON", 256, 128);
    ASSERT_TRUE(frame);
    ASSERT_TRUE(half);
    const auto large = testsupport::DrawIcon(frame.Get(), 256, 256, RGB(255, 0, 255));
    testsupport::Pixels averaged{128, 128, std::vector<std::uint32_t>(128 * 128)};
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            std::uint32_t mean = 0;
            for (const int shift : {0, 8, 16}) {
                unsigned sum = 0;
                for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
                    sum += (large.At(2 * x + dx, 2 * y + dy) >> shift) & 0xFF;
                mean |= ((sum + 2) / 4) << shift;
            }
            averaged.Data[static_cast<std::size_t>(y) * 128 + x] = mean;
        }
    EXPECT_LT(testsupport::MeanDifference(testsupport::DrawIcon(half.Get(), 128, 128, RGB(255, 0, 255)), averaged),
              1.5);
    // At three quarters too it is drawn, transparent round its corners.
    const tk::Icon threeQuarters = tk::Icon::ScaledDown(L"MAINICON", 256, 192);
    ASSERT_TRUE(threeQuarters);
    const auto drawn = testsupport::DrawIcon(threeQuarters.Get(), 192, 192, RGB(255, 0, 255));
    EXPECT_EQ(drawn.At(0, 0), 0xFF00FFu);
    EXPECT_NE(drawn.At(96, 96), 0xFF00FFu);
}

TEST(Icon, AFrameThisWindowsCannotReadIsReplacedByAReadableOneScaled)
{
    // The fixture's 32-pixel frame is no picture; its 16-pixel one is orange.
    const tk::Icon icon = tk::Icon::FromResource(L"UnreadableFrames", 32, 32);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.Get(), &info));
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    EXPECT_EQ(bitmap.bmWidth, 32);
    const auto drawn = testsupport::DrawIcon(icon.Get(), 32, 32, RGB(255, 255, 255));
    EXPECT_EQ(drawn.Count([](int r, int g, int b) { return r == 0xF0 && g == 0x80 && b == 0x20; }), 32 * 32);
    // A picture that is not there stays missing.
    EXPECT_FALSE(tk::Icon::FromResource(L"NoSuchPicture", 32, 32));
}
