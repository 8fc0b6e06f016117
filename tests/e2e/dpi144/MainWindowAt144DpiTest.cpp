// The main window, its tray menu, the About dialog, the close question, every
// page of the Options window and the countdown window at 144 dpi (150 %
// scaling): the design half as large again, nothing clipped.
// Pictures of each go to the screenshots, named ...-144.png.
#include <gtest/gtest.h>

#include "e2e/CorvelloProcess.h"
#include "e2e/OptionsScenes.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using testsupport::ChildWithText;
using testsupport::ClientRectOf;
using testsupport::Corvello;
using testsupport::ProgramUser;
using testsupport::TrayEntry;
using testsupport::WindowRect;

namespace {

class MainWindowAt144Dpi : public testsupport::ProgramUserTest {
protected:
    void SetUp() override
    {
        ProgramUserTest::SetUp();
        ASSERT_EQ(testsupport::ScreenDpi(), 144u) << "these tests need a display at 144 dpi";
    }
};

// The child lies wholly inside its parent's client area.
bool InsideParent(HWND child)
{
    const HWND parent = ::GetParent(child);
    RECT inner = WindowRect(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inner), 2);
    const RECT outer = ClientRectOf(parent);
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

TEST_F(MainWindowAt144Dpi, TheWindowIsItsDesignHalfAsLargeAgain)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();
    const RECT client = ClientRectOf(main);
    // 328 x 416 at 96 dpi; wider only where a caption needs the room.
    EXPECT_GE(client.right, 492);
    EXPECT_LE(client.right, 492 + 60);
    EXPECT_EQ(client.bottom, 624);
    // The description and the boxes show all of their texts.
    for (const wchar_t* caption : {testsupport::Description, testsupport::AutoRunCaption, testsupport::OnlineCaption,
                                   testsupport::ConfirmationsCaption}) {
        const HWND control = ChildWithText(main, caption);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(InsideParent(control)) << testsupport::Narrow(caption);
        EXPECT_TRUE(testsupport::TextFits(control)) << testsupport::Narrow(caption);
    }
    // All five lines of the description show, none covered by the group below.
    EXPECT_EQ(testsupport::LabelTextDifference(ChildWithText(main, testsupport::Description)), 0.0);
    EXPECT_LE(testsupport::CentreDistance(WindowRect(main), testsupport::WorkAreaOf(main)), 1);
    EXPECT_TRUE(testsupport::SaveWindowPng(main, L"main-window-144.png"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowAt144Dpi, TheTrayMenuLooksAsAtEveryScaling)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    ExpectTrayMenuLooks(user, testsupport::TrayMenuLines(false), L"tray-menu-144");
    SaveTrayMenuWithSystemOpen(user, L"tray-menu-system-144.png");
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowAt144Dpi, TheAboutDialogAndTheCloseQuestion)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const HWND main = user.MainWindow();

    ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::About));
    const HWND about = user.WaitWindow(L"TfrmAbout");
    ASSERT_NE(about, nullptr);
    const RECT client = ClientRectOf(about);
    EXPECT_EQ(client.right, 600);
    EXPECT_EQ(client.bottom, 270);
    for (HWND child : testsupport::Descendants(about))
        EXPECT_TRUE(InsideParent(child)) << testsupport::Narrow(testsupport::TextOf(child));
    EXPECT_LE(testsupport::CentreDistance(WindowRect(about), WindowRect(main)), 1);
    EXPECT_TRUE(testsupport::SaveWindowPng(about, L"about-144.png"));
    testsupport::ClickButton(ChildWithText(about, L"OK"));
    ASSERT_TRUE(user.WaitNone(L"TfrmAbout"));

    ASSERT_TRUE(user.HideWithCloseBox());
    ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::Close));
    const HWND question = user.WaitWindow(L"TMessageForm");
    ASSERT_NE(question, nullptr);
    EXPECT_NE(ChildWithText(question, testsupport::CloseQuestion), nullptr);
    EXPECT_EQ(testsupport::IconDifference(question, testsupport::ProgramIcon()), 0.0);
    for (HWND child : testsupport::Descendants(question))
        EXPECT_TRUE(InsideParent(child)) << testsupport::Narrow(testsupport::TextOf(child));
    EXPECT_TRUE(testsupport::SaveWindowPng(question, L"close-question-144.png"));
    testsupport::ClickButton(ChildWithText(question, L"&No"));
    ASSERT_TRUE(user.WaitNone(L"TMessageForm"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(MainWindowAt144Dpi, TheOptionsWindowAndTheCountdownAreTheirDesignHalfAsLargeAgainEveryPageWellMade)
{
    // 440 x 468 at 96 dpi.
    testsupport::ExpectOptionsAndCountdownWellMade({660, 702}, L"-144");
}
