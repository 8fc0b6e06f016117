// The main window of the real program as a user meets it: the window, its
// tray icon and menu, the close rule, the check boxes and the About dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Messages.h"
#include "core/Product.h"
#include "core/RegistryLayout.h"
#include "core/Text.h"
#include "e2e/CorvelloProcess.h"
#include "online/ProductLinks.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using namespace corvello;
using testsupport::ClickButton;
using testsupport::ChildWithText;
using testsupport::Corvello;
using testsupport::ProgramUser;
using testsupport::TextOf;
using testsupport::TrayEntry;
using testsupport::WaitUntil;
using testsupport::WindowRect;

namespace {

// The system menu's command for the About dialog.
constexpr WPARAM AboutCommand = 2394;

class MainWindowE2e : public testsupport::ProgramUserTest {
protected:
    static std::optional<DWORD> Stored(const wchar_t* name)
    {
        return testsupport::StoredDword(HKEY_CURRENT_USER, testsupport::ProgramSettingsKey, name);
    }
    static std::optional<std::wstring> RunValue()
    {
        return testsupport::StoredSz(HKEY_CURRENT_USER, registry::RunKey, L"corvello.exe");
    }
};

}  // namespace

TEST_F(MainWindowE2e, FirstStartShowsTheWindowCentredWithItsBoxesAndTrayIcon)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    EXPECT_EQ(TextOf(main), L"Corvello");
    EXPECT_LE(testsupport::CentreDistance(WindowRect(main), testsupport::WorkAreaOf(main)), 1);
    for (const wchar_t* caption :
         {testsupport::AutoRunCaption, testsupport::OnlineCaption, testsupport::ConfirmationsCaption}) {
        const HWND box = ChildWithText(main, caption);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(testsupport::IsChecked(box));
        EXPECT_TRUE(testsupport::TextFits(box)) << testsupport::Narrow(caption);
    }
    const HWND description = ChildWithText(main, testsupport::Description);
    ASSERT_NE(description, nullptr);
    EXPECT_TRUE(testsupport::TextFits(description));
    EXPECT_EQ(testsupport::LabelTextDifference(description), 0.0);
    EXPECT_TRUE(WaitUntil([&] { return user.TrayIconShown(); }, 5000));
    EXPECT_TRUE(testsupport::SaveWindowPng(main, L"main-window.png"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, TheTrayMenuOffersSystemKeyboardSettingsAboutAndClose)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    ExpectTrayMenuLooks(user, testsupport::TrayMenuLines(false), L"tray-menu");
    SaveTrayMenuWithSystemOpen(user, L"tray-menu-system.png");
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, TheCloseBoxHidesIntoTheTrayAndTheNextStartBeginsThere)
{
    {
        Corvello program(L"");
        ASSERT_TRUE(program.WaitShown());
        const ProgramUser user(program.Id());
        ASSERT_TRUE(user.HideWithCloseBox());
        EXPECT_EQ(user.Window(L"TMessageForm"), nullptr);
        EXPECT_TRUE(program.Running());
        EXPECT_TRUE(user.TrayIconShown());
        EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, testsupport::MainFormKey, registry::Visible), 0u);
        ASSERT_EQ(program.Stop(), std::optional<DWORD>(0));
    }
    Corvello program(L"");
    ASSERT_TRUE(program.WaitRunning());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(WaitUntil([&] { return user.TrayIconShown(); }, 5000));

    // A second start shows the window and brings it to the front.
    Corvello second(L"");
    EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_TRUE(user.WaitMainVisible(true));
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main; }, 5000));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, AClickOnTheTrayIconLeavesTheWindowInTheTrayADoubleClickShowsIt)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    ASSERT_TRUE(user.HideWithCloseBox());

    user.Tray(NIN_SELECT);
    // The menu opens after the click has been handled: the icon's events
    // come in order.
    ASSERT_NE(user.OpenTrayMenu(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(main));
    ASSERT_TRUE(user.CloseMenus());

    user.Tray(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(user.WaitMainVisible(true));
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main; }, 5000));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, TrayCloseWhileShownAsksUnderTheStandardCaptionAndNoChangesNothing)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();

    ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::Close));
    const HWND question = user.WaitWindow(L"TMessageForm");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(TextOf(question), L"Confirm");
    EXPECT_LE(testsupport::CentreDistance(WindowRect(question), WindowRect(main)), 1);
    EXPECT_NE(ChildWithText(question, testsupport::CloseQuestion), nullptr);
    EXPECT_EQ(testsupport::IconDifference(question, ::LoadIconW(nullptr, IDI_QUESTION)), 0.0);

    // While it is open, "Settings" and "About" are greyed, and a second
    // "Close" asks nothing more.
    ExpectTrayMenuLooks(user, testsupport::TrayMenuLines(true), L"tray-menu-asking");
    ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::Close));
    // Handled by the time the menu opens again.
    ASSERT_NE(user.OpenTrayMenu(), nullptr);
    EXPECT_EQ(user.Windows(L"TMessageForm").size(), 1u);
    ASSERT_TRUE(user.CloseMenus());

    ClickButton(ChildWithText(question, L"&No"));
    ASSERT_TRUE(user.WaitNone(L"TMessageForm"));
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(::IsWindowVisible(main));
    ExpectTrayMenuLooks(user, testsupport::TrayMenuLines(false), L"tray-menu-after-no");
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, TrayCloseWhileHiddenAsksUnderTheProgramsNameAndYesEnds)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    ASSERT_TRUE(user.HideWithCloseBox());
    const RECT placed = WindowRect(main);

    ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::Close));
    const HWND question = user.WaitWindow(L"TMessageForm");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(TextOf(question), L"Corvello");
    EXPECT_LE(testsupport::CentreDistance(WindowRect(question), testsupport::WorkAreaOf(question)), 1);
    EXPECT_EQ(testsupport::IconDifference(question, testsupport::ProgramIcon()), 0.0);
    EXPECT_TRUE(testsupport::SaveWindowPng(question, L"close-question.png"));

    ClickButton(ChildWithText(question, L"&Yes"));
    testsupport::ExpectEndedStoringThePlace(program.WaitExit(10000), placed, 0);
}

TEST_F(MainWindowE2e, CheckBoxesWriteAtOnceAndFollowTheSettingsWhenTheMenuOpens)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    const HWND online = ChildWithText(main, testsupport::OnlineCaption);
    const HWND autoRun = ChildWithText(main, testsupport::AutoRunCaption);
    const HWND confirmations = ChildWithText(main, testsupport::ConfirmationsCaption);
    ASSERT_TRUE(online && autoRun && confirmations);
    ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }, 5000));

    ClickButton(online);
    EXPECT_TRUE(WaitUntil([] { return Stored(registry::Online) == 0u; }, 5000));
    EXPECT_FALSE(testsupport::IsChecked(online));
    ClickButton(autoRun);
    EXPECT_TRUE(WaitUntil([] { return !RunValue().has_value(); }, 5000));
    // The entry goes first, the setting is saved right after it.
    EXPECT_TRUE(WaitUntil([] { return Stored(registry::AutoRun) == 0u; }, 5000));

    // Changed behind its back while it is in the tray: the program rereads
    // its settings on request, and the boxes follow when the menu opens.
    ASSERT_TRUE(user.HideWithCloseBox());
    // The hide's own save is done by the time the menu has opened.
    ASSERT_NE(user.OpenTrayMenu(), nullptr);
    ASSERT_TRUE(user.CloseMenus());
    testsupport::WriteDword(HKEY_CURRENT_USER, testsupport::ProgramSettingsKey, registry::Confirmations, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, testsupport::ProgramSettingsKey, registry::Online, 1);
    ::PostMessageW(program.AppWindow(), WM_APP_SETTINGS_READ, 0, 0);
    ASSERT_NE(user.OpenTrayMenu(), nullptr);
    EXPECT_FALSE(testsupport::IsChecked(confirmations));
    EXPECT_TRUE(testsupport::IsChecked(online));
    EXPECT_FALSE(testsupport::IsChecked(autoRun));
    ASSERT_TRUE(user.CloseMenus());
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, AboutFromTheTrayCentresOnTheWorkAreaAndItsWebLabelOpensTheSite)
{
    testsupport::ShellRecorder shell;
    ASSERT_TRUE(shell.Ready());
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    ASSERT_TRUE(user.HideWithCloseBox());

    ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::About));
    const HWND about = user.WaitWindow(L"TfrmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TextOf(about), L"About");
    EXPECT_LE(testsupport::CentreDistance(WindowRect(about), testsupport::WorkAreaOf(about)), 1);
    for (const wchar_t* text : {L"Corvello", L"1.2.0.21", CORVELLO_WIDEN(CORVELLO_COPYRIGHT)})
        EXPECT_NE(ChildWithText(about, text), nullptr) << testsupport::Narrow(text);

    // "Settings" is off while the dialog is open: a double click on the icon
    // leaves the window in the tray.
    user.Tray(WM_LBUTTONDBLCLK);
    ASSERT_NE(user.OpenTrayMenu(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(main));
    ASSERT_TRUE(user.CloseMenus());

    const HWND web = ChildWithText(about, product::WebDomain);
    ASSERT_NE(web, nullptr);
    testsupport::ClickControl(web);
    ASSERT_TRUE(WaitUntil([&] { return !shell.Lines().empty() && listener_.RequestCount() > 0; }, 15000));
    EXPECT_EQ(shell.Lines().front(), "browser http://corvello.quorvant.com/?version=1.2.0.21");
    EXPECT_EQ(testsupport::ParseRequestLine(listener_.Requests().front()).Path,
              "/ping/openlink/?version=1.2.0.21&id=1");

    ClickButton(ChildWithText(about, L"OK"));
    EXPECT_TRUE(user.WaitNone(L"TfrmAbout"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, AboutFromTheSystemMenuCentresOnTheWindowAndReportsOnlyWhenLeftOpen)
{
    // The report comes after two seconds open instead of ten.
    const testsupport::ShortTimings timings(L"AboutPing=2000");
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();

    // The system menu (Alt+Space); its first entry opens the dialog.
    ::PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    const HWND menu = user.WaitWindow(L"#32768");
    ASSERT_NE(menu, nullptr);
    ProgramUser::Key(menu, VK_HOME);
    ProgramUser::Enter(menu);
    HWND about = user.WaitWindow(L"TfrmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_LE(testsupport::CentreDistance(WindowRect(about), WindowRect(main)), 1);
    EXPECT_TRUE(testsupport::SaveWindowPng(about, L"about.png"));
    // Closed before its time: no report.
    ClickButton(ChildWithText(about, L"OK"));
    ASSERT_TRUE(user.WaitNone(L"TfrmAbout"));

    // Left open, it reports once, its time after it opened. Reports are
    // spaced: a report of the first one would have come earlier and taken
    // this one's place.
    const DWORD opened = ::GetTickCount();
    ::PostMessageW(main, WM_SYSCOMMAND, AboutCommand, 0);
    about = user.WaitWindow(L"TfrmAbout");
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return listener_.RequestCount() > 0; }, 20000));
    EXPECT_GE(::GetTickCount() - opened, 2000u);
    EXPECT_EQ(listener_.RequestCount(), 1u);
    EXPECT_EQ(testsupport::ParseRequestLine(listener_.Requests().front()).Path, "/ping/about/?version=1.2.0.21");
    ClickButton(ChildWithText(about, L"OK"));
    EXPECT_TRUE(user.WaitNone(L"TfrmAbout"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, TheWebLabelLooksTheSameAfterEveryRefresh)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    const std::wstring domain = corvello::UpperAscii(corvello::product::WebDomain);
    const HWND web = ChildWithText(main, domain);
    ASSERT_NE(web, nullptr);
    // From a little left of the label to the window's right edge: a label
    // drawn shorter or longer shows there as well.
    RECT area = WindowRect(web);
    area.left -= 40;
    area.right = WindowRect(main).right;
    // Painted anew for the reference; afterwards only what the program
    // paints by itself counts.
    const testsupport::Pixels settled = testsupport::CaptureScreen(area, {main});
    const auto looksSettled = [&] { return testsupport::MeanDifference(testsupport::CaptureScreen(area), settled) == 0.0; };
    ASSERT_TRUE(WaitUntil(looksSettled, 2000));

    user.Tray(NIN_SELECT);
    EXPECT_TRUE(WaitUntil(looksSettled, 3000)) << "after a click on the tray icon";
    ASSERT_NE(user.OpenTrayMenu(), nullptr);
    ASSERT_TRUE(user.CloseMenus());
    EXPECT_TRUE(WaitUntil(looksSettled, 3000)) << "after the tray menu";
    EXPECT_EQ(TextOf(web), domain);
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowE2e, AboutsBigIconOpensTheSiteWithItsVersionAndReportsLinkZero)
{
    testsupport::ShellRecorder shell;
    ASSERT_TRUE(shell.Ready());
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    ::PostMessageW(user.MainWindow(), WM_SYSCOMMAND, AboutCommand, 0);
    const HWND about = user.WaitWindow(L"TfrmAbout");
    ASSERT_NE(about, nullptr);
    // The picture: the one control that shows an icon larger than the
    // social pictures.
    HWND icon = nullptr;
    for (const HWND child : testsupport::Descendants(about))
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && WindowRect(child).right -
                                                                                  WindowRect(child).left > 64)
            icon = child;
    ASSERT_NE(icon, nullptr);
    testsupport::ClickControl(icon);
    ASSERT_TRUE(WaitUntil([&] { return !shell.Lines().empty() && listener_.RequestCount() > 0; }, 15000));
    EXPECT_EQ(shell.Lines().front(), "browser http://corvello.quorvant.com/?version=1.2.0.21");
    EXPECT_EQ(testsupport::ParseRequestLine(listener_.Requests().front()).Path,
              "/ping/openlink/?version=1.2.0.21&id=0");
    ClickButton(ChildWithText(about, L"OK"));
    EXPECT_TRUE(user.WaitNone(L"TfrmAbout"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}
