// The lock keys' notice at 144 dpi (150 % scaling): placed and drawn half as
// large again, light and dark. Pictures go to the screenshots, named
// notice-...-144.png.
#include <gtest/gtest.h>

#include "e2e/CorvelloProcess.h"
#include "e2e/LockKeysScenes.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using testsupport::Corvello;
using testsupport::WaitNotice;

namespace {

class LockNoticeAt144Dpi : public testsupport::ProgramUserTest {
protected:
    void SetUp() override
    {
        ProgramUserTest::SetUp();
        ASSERT_EQ(testsupport::ScreenDpi(), 144u) << "these tests need a display at 144 dpi";
        testsupport::PutLocksOff();
    }
    void TearDown() override
    {
        testsupport::PutLocksOff();
        ProgramUserTest::TearDown();
    }
};

}  // namespace

TEST_F(LockNoticeAt144Dpi, TheNoticeIsHalfAsLargeAgainInTheLightAndDarkColoursOfApps)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, testsupport::MainFormKey, corvello::registry::Visible, 0);
    // Where the user works while the program waits in the tray.
    const testsupport::OtherProgramInFront front;
    Corvello program(L"-startup");
    ASSERT_TRUE(program.WaitRunning());
    {
        testsupport::AppsTheme light(true);
        testsupport::PressKeys({VK_CAPITAL});
        const HWND notice = WaitNotice(program.Id(), L"Caps Lock on");
        ASSERT_NE(notice, nullptr);
        const RECT at = testsupport::WindowRect(notice);
        const RECT work = testsupport::WorkAreaOf(notice);
        // Its margin, 24 pixels at 96 dpi, and its height: a 20-pixel LED
        // and 10 pixels above and below it at 96 dpi, at least.
        EXPECT_EQ(at.bottom, work.bottom - 36);
        EXPECT_GE(at.bottom - at.top, 60);
        EXPECT_TRUE(testsupport::SaveWindowPng(notice, L"notice-light-144.png"));
        ASSERT_TRUE(testsupport::WaitUntil([&] { return !::IsWindowVisible(notice); }, 5000));
    }
    testsupport::AppsTheme dark(false);
    testsupport::PressKeys({VK_CAPITAL});
    const HWND notice = WaitNotice(program.Id(), L"Caps Lock off");
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(testsupport::SaveWindowPng(notice, L"notice-dark-144.png"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}
