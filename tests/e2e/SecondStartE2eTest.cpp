// A second start while a dialog of the running program waits for an answer
// brings that dialog forward, not the main window it keeps disabled.
#include <gtest/gtest.h>

#include <optional>

#include "core/Messages.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/ProgramSpy.h"
#include "support/MainWindowScenes.h"

using testsupport::ChildWithText;
using testsupport::ClickButton;
using testsupport::Corvello;
using testsupport::ProgramUser;
using testsupport::TrayEntry;
using testsupport::WaitUntil;

namespace {

enum class Scene { AboutOverTheWindow, QuestionOverTheWindow, AboutFromTheTray };

struct Case {
    const char* Name;
    Scene What;
    bool MainVisible;
    const wchar_t* DialogClass;
};

constexpr Case Cases[] = {
    {"About over the shown window", Scene::AboutOverTheWindow, true, L"TfrmAbout"},
    {"a question over the shown window", Scene::QuestionOverTheWindow, true, L"TMessageForm"},
    {"About from the tray, the window hidden", Scene::AboutFromTheTray, false, L"TfrmAbout"},
};

// Whether the window lies above the other in the z-order.
bool Above(HWND window, HWND other)
{
    for (HWND w = ::GetWindow(other, GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV))
        if (w == window)
            return true;
    return false;
}

using SecondStartE2e = testsupport::ProgramUserTest;

}  // namespace

TEST_F(SecondStartE2e, TheOpenDialogComesForwardAndKeepsTheKeyboard)
{
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Name);
        testsupport::ForgetProgramSettings();
        Corvello program(L"");
        ASSERT_TRUE(program.WaitRunning());
        const ProgramUser user(program.Id());
        ASSERT_TRUE(user.WaitMainVisible(true));
        const HWND main = user.MainWindow();
        switch (c.What) {
        case Scene::AboutOverTheWindow:
            ::PostMessageW(main, WM_SYSCOMMAND, 2394, 0);
            break;
        case Scene::QuestionOverTheWindow:
            ClickButton(ChildWithText(main, L"Power Off"));
            break;
        case Scene::AboutFromTheTray:
            CloseBox(main);
            ASSERT_TRUE(user.WaitMainVisible(false));
            ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::About));
            break;
        }
        const HWND dialog = user.WaitWindow(c.DialogClass);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == dialog; }, 5000));

        testsupport::ProgramSpy spy(dialog);
        ASSERT_TRUE(spy.InPlace());
        Corvello second(L"");
        EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
        // Taken, and done: a message sent now is answered once the program
        // is back in its loop.
        ASSERT_TRUE(WaitUntil([&] { return !spy.Messages(corvello::WM_INSTANCE_ACTIVATE).empty(); }, 5000));
        DWORD_PTR answer = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
        // The main window stays as it was: shown and disabled behind the
        // dialog, or hidden.
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == dialog; }, 5000));
        EXPECT_EQ(::IsWindowVisible(main) != FALSE, c.MainVisible);
        EXPECT_FALSE(::IsWindowVisible(main) && ::IsWindowEnabled(main));
        if (c.MainVisible) {
            EXPECT_TRUE(WaitUntil([&] { return Above(dialog, main); }, 2000));
        }
        EXPECT_FALSE(::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(WaitUntil(
            [&] {
                const HWND focus = program.ThreadInfo().hwndFocus;
                return focus == dialog || ::IsChild(dialog, focus);
            },
            5000));

        // Escape, as the keyboard gives it to the focused control, answers it.
        ProgramUser::Key(program.ThreadInfo().hwndFocus, VK_ESCAPE);
        EXPECT_TRUE(user.WaitNone(c.DialogClass));
        EXPECT_EQ(::IsWindowVisible(main) != FALSE, c.MainVisible);
        EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
    }
}
