// A second start while a dialog of the running program waits for an answer
// brings that dialog forward, not the main window it keeps disabled; so do
// the ways into the Options window, which then stays closed. A second start
// while the countdown to an action shows brings the countdown forward, with
// the keyboard.
#include <gtest/gtest.h>

#include <optional>

#include "core/Messages.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/ProgramSpy.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

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

// Opens the scene's dialog over the running program; null when it did not
// come.
HWND OpenDialog(const ProgramUser& user, Scene scene)
{
    const HWND main = user.MainWindow();
    switch (scene) {
    case Scene::AboutOverTheWindow:
        ::PostMessageW(main, WM_SYSCOMMAND, 2394, 0);
        return user.WaitWindow(L"TfrmAbout");
    case Scene::QuestionOverTheWindow:
        ClickButton(ChildWithText(main, L"Power Off"));
        return user.WaitWindow(L"TMessageForm");
    case Scene::AboutFromTheTray:
        ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (!user.WaitMainVisible(false) || !user.ChooseTrayEntry(TrayEntry::About))
            return nullptr;
        return user.WaitWindow(L"TfrmAbout");
    }
    return nullptr;
}

// A window of another program in front, with the keyboard: what comes
// forward after it was brought forward by the program.
class CoveringWindow {
public:
    CoveringWindow()
    {
        ::ShowWindow(window_.Handle(), SW_SHOW);
        ::SetForegroundWindow(window_.Handle());
    }
    bool InFront() const { return ::GetForegroundWindow() == window_.Handle(); }

private:
    testsupport::TestWindow window_{L"CorvelloCoveringWindow", L"In front"};
};

// The ways into the Options window.
enum class OptionsWay { Word, SystemMenu, ButtonMenu };

struct OptionsWayCase {
    const char* Name;
    OptionsWay Way;
};

constexpr OptionsWayCase OptionsWays[] = {
    {"the word /options", OptionsWay::Word},
    {"the system menu's Options...", OptionsWay::SystemMenu},
    {"a button's Shortcut...", OptionsWay::ButtonMenu},
};

// Asks the running program for the Options window the case's way.
void AskForOptions(const ProgramUser& user, OptionsWay way)
{
    const HWND main = user.MainWindow();
    switch (way) {
    case OptionsWay::Word: {
        const Corvello word(L"/options");
        EXPECT_EQ(word.WaitExit(10000), std::optional<DWORD>(0));
        break;
    }
    case OptionsWay::SystemMenu:
        ::PostMessageW(main, WM_SYSCOMMAND, 2395, 0);
        break;
    case OptionsWay::ButtonMenu: {
        const HWND button = ChildWithText(main, L"Shut Down");
        ASSERT_NE(button, nullptr);
        const HWND menu = user.OpenContextMenu(button);
        ASSERT_NE(menu, nullptr);
        // "Shortcut..." comes first.
        ProgramUser::Key(menu, VK_DOWN);
        ProgramUser::Enter(menu);
        ASSERT_TRUE(user.WaitMenus(0));
        break;
    }
    }
}

// The dialog has the foreground and the keyboard.
bool DialogHasTheKeyboard(const Corvello& program, HWND dialog)
{
    return WaitUntil(
        [&] {
            const HWND focus = program.ThreadInfo().hwndFocus;
            return ::GetForegroundWindow() == dialog && (focus == dialog || ::IsChild(dialog, focus));
        },
        5000);
}

}  // namespace

TEST_F(SecondStartE2e, TheOpenDialogComesForwardAndKeepsTheKeyboard)
{
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Name);
        testsupport::ForgetProgramSettings();
        Corvello program(L"");
        ASSERT_TRUE(program.WaitShown());
        const ProgramUser user(program.Id());
        const HWND main = user.MainWindow();
        const HWND dialog = OpenDialog(user, c.What);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(testsupport::ClassOf(dialog), c.DialogClass);
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

TEST_F(SecondStartE2e, EveryWayIntoOptionsOverAnOpenDialogBringsTheDialogForwardAndOpensNothing)
{
    for (const Scene scene : {Scene::AboutOverTheWindow, Scene::QuestionOverTheWindow}) {
        SCOPED_TRACE(static_cast<int>(scene));
        testsupport::ForgetProgramSettings();
        Corvello program(L"");
        ASSERT_TRUE(program.WaitShown());
        const ProgramUser user(program.Id());
        const HWND dialog = OpenDialog(user, scene);
        ASSERT_NE(dialog, nullptr);
        for (const OptionsWayCase& c : OptionsWays) {
            SCOPED_TRACE(c.Name);
            std::optional<CoveringWindow> covering;
            covering.emplace();
            ASSERT_TRUE(WaitUntil([&] { return covering->InFront(); }, 5000));
            AskForOptions(user, c.Way);
            EXPECT_TRUE(DialogHasTheKeyboard(program, dialog));
            // The Options window, disabled behind the dialog, would be of no use.
            EXPECT_EQ(user.Window(L"TfrmOptions"), nullptr);
            covering.reset();
        }
        EXPECT_TRUE(testsupport::SaveWindowPng(
            dialog, scene == Scene::AboutOverTheWindow ? L"about-after-options.png" : L"question-after-options.png"));

        // Escape answers it, and no Options window comes after it.
        ProgramUser::Key(program.ThreadInfo().hwndFocus, VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 10000));
        EXPECT_EQ(user.Window(L"TfrmOptions"), nullptr);
        EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
    }
}

TEST_F(SecondStartE2e, TheCountdownComesForwardAndKeepsTheKeyboard)
{
    struct Case {
        const char* Name;
        bool MainVisible;
    };
    const Case cases[] = {{"the window shown", true}, {"in the tray", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        testsupport::ForgetProgramSettings();
        Corvello program(L"");
        ASSERT_TRUE(program.WaitShown());
        const ProgramUser user(program.Id());
        const HWND main = user.MainWindow();
        if (!c.MainVisible) {
            ASSERT_TRUE(user.HideWithCloseBox());
        }
        // Its countdown opens 30 seconds before: at once.
        const Corvello later(L"/do:hibernate /in:31s");
        EXPECT_EQ(later.WaitExit(10000), std::optional<DWORD>(0));
        const HWND countdown = user.WaitWindow(L"TfrmCountdown", 15000);
        ASSERT_NE(countdown, nullptr);
        const HWND cancel = ChildWithText(countdown, L"Cancel");
        ASSERT_NE(cancel, nullptr);

        std::optional<CoveringWindow> covering;
        covering.emplace();
        ASSERT_TRUE(WaitUntil([&] { return covering->InFront(); }, 5000));
        const Corvello second(L"");
        EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == countdown; }, 5000));
        EXPECT_TRUE(WaitUntil([&] { return program.ThreadInfo().hwndFocus == cancel; }, 5000));
        EXPECT_EQ(::IsWindowVisible(main) != FALSE, c.MainVisible);
        covering.reset();
        EXPECT_TRUE(testsupport::SaveWindowPng(countdown, c.MainVisible ? L"countdown-after-second-start.png"
                                                                         : L"countdown-after-second-start-tray.png"));

        // Escape, as the keyboard gives it to the focused control, calls it off.
        ProgramUser::Key(program.ThreadInfo().hwndFocus, VK_ESCAPE);
        EXPECT_TRUE(user.WaitNone(L"TfrmCountdown"));
        EXPECT_EQ(::IsWindowVisible(main) != FALSE, c.MainVisible);
        EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
    }
}
