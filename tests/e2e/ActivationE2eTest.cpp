// A running program answers a second start, and shows what it draws.
#include <gtest/gtest.h>

#include "core/Messages.h"
#include "e2e/TestAppProtocol.h"
#include "e2e/CorvelloProcess.h"
#include "support/ScreenPixels.h"
#include "support/WinTestSupport.h"
#include "toolkit/Registry.h"

using testsupport::WaitUntil;

namespace {

// corvello_testapp.exe, started and ended by the test.
class TestAppProcess : public testsupport::TestedProcess {
public:
    explicit TestAppProcess(const std::wstring& arguments) : TestedProcess(Fresh(), arguments) {}

    HWND WaitMain()
    {
        if (!WaitIdle(15000))
            return nullptr;
        HWND main = nullptr;
        WaitUntil([&] { return (main = ::FindWindowW(testapp::MainClass, nullptr)) != nullptr; }, 10000);
        return main;
    }

private:
    // Every run starts as a first start: nothing stored of the last one.
    static const wchar_t* Fresh()
    {
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloTestApp");
        return L"corvello_testapp.exe";
    }
};

// The program's question, once it is up.
HWND WaitQuestion()
{
    HWND dialog = nullptr;
    WaitUntil(
        [&] { return (dialog = ::FindWindowW(L"TMessageForm", nullptr)) != nullptr && ::IsWindowVisible(dialog); },
        10000);
    return dialog;
}

}  // namespace

TEST(Activation, ASecondStartShowsFlashesAndFocusesTheHiddenMainForm)
{
    TestAppProcess app(L"");
    const HWND main = app.WaitMain();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(::IsWindowVisible(main));

    ::PostMessageW(main, corvello::WM_INSTANCE_ACTIVATE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return app.ThreadInfo().hwndFocus == main; }, 5000));
    EXPECT_EQ(::GetForegroundWindow(), main);
    EXPECT_EQ(::SendMessageW(main, testapp::AskFlashes, 0, reinterpret_cast<LPARAM>(main)), 1);

    // The stop message ends it, with exit code 0.
    ::PostMessageW(main, corvello::WM_INSTANCE_STOP, 0, 0);
    EXPECT_EQ(app.WaitExit(10000), std::optional<DWORD>(0));
}

TEST(Activation, WithAQuestionInFrontTheQuestionIsLiftedInstead)
{
    TestAppProcess app(L"dialog");
    const HWND main = app.WaitMain();
    ASSERT_NE(main, nullptr);
    const HWND question = WaitQuestion();
    ASSERT_NE(question, nullptr);
    // Something else comes in front of it.
    testsupport::TestWindow other(L"CorvelloCoveringWindow", L"In front");
    ::ShowWindow(other.Handle(), SW_SHOW);
    ::SetForegroundWindow(other.Handle());

    ::PostMessageW(main, corvello::WM_INSTANCE_ACTIVATE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(main, testapp::AskFlashes, 0,
                                                      reinterpret_cast<LPARAM>(question)) == 1; },
                          5000));
    EXPECT_FALSE(::IsWindowVisible(main));  // the main form stays in the tray
    EXPECT_TRUE(::IsWindowVisible(question));
    EXPECT_FALSE(::GetWindowLongW(question, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(::SendMessageW(main, testapp::AskFlashes, 0, reinterpret_cast<LPARAM>(main)), 0);
    // Above the window that covered it.
    bool above = false;
    for (HWND w = ::GetWindow(other.Handle(), GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV))
        above = above || w == question;
    EXPECT_TRUE(above);

    // A terminate message with code 5 ends the loop; with a main form the code is 0.
    ::PostMessageW(main, corvello::WM_APP_TERMINATE, 0, 5);
    EXPECT_EQ(app.WaitExit(10000), std::optional<DWORD>(0));
}

TEST(Screens, EveryControlKindAndTheQuestion)
{
    TestAppProcess app(L"gallery");
    const HWND main = app.WaitMain();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
    // Before the question covers it; the capture paints the window first.
    ASSERT_EQ(::FindWindowW(L"TMessageForm", nullptr), nullptr);
    EXPECT_TRUE(testsupport::SaveWindowPng(main, L"form-controls.png"));
    const HWND question = WaitQuestion();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(question) != FALSE; }, 5000));
    EXPECT_TRUE(testsupport::SaveWindowPng(question, L"message-dialog.png"));
    ::PostMessageW(main, corvello::WM_INSTANCE_STOP, 0, 0);
    EXPECT_EQ(app.WaitExit(10000), std::optional<DWORD>(0));
}
