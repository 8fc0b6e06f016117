// What other copies ask of the running program reaches it while one of
// Windows' own loops runs in it: the tray menu, the system menu, a move of
// the main window. An installer that upgrades or removes the program while
// its menu happens to be open must still end it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/Messages.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/ProgramSpy.h"
#include "support/MainWindowScenes.h"

using namespace corvello;
using testsupport::Corvello;
using testsupport::ProgramUser;
using testsupport::WaitUntil;

namespace {

enum class Loop { TrayMenu, SystemMenu, Move };

const char* Name(Loop loop)
{
    switch (loop) {
    case Loop::TrayMenu:
        return "the tray menu";
    case Loop::SystemMenu:
        return "the system menu";
    case Loop::Move:
        return "a move";
    }
    return "";
}

class ModalLoopsE2e : public testsupport::ProgramUserTest {
protected:
    // Starts the program with its window shown, and opens the loop in it.
    // The tray menu opens with the window hidden, as it mostly is.
    void Start(Loop loop)
    {
        // As a first start: the window shows.
        testsupport::ForgetProgramSettings();
        program_.emplace(L"");
        ASSERT_TRUE(program_->WaitShown());
        user_.emplace(program_->Id());
        const HWND main = user_->MainWindow();
        switch (loop) {
        case Loop::TrayMenu:
            ASSERT_TRUE(user_->HideWithCloseBox());
            ASSERT_NE(user_->OpenTrayMenu(), nullptr);
            break;
        case Loop::SystemMenu:
            ::PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, L' ');
            ASSERT_NE(user_->WaitWindow(L"#32768"), nullptr);
            break;
        case Loop::Move:
            // The keyboard move, as Alt+Space, M starts it.
            ::PostMessageW(main, WM_SYSCOMMAND, SC_MOVE, 0);
            ASSERT_TRUE(
                WaitUntil([&] { return (program_->ThreadInfo().flags & GUI_INMOVESIZE) != 0; }, 10000));
            break;
        }
        ASSERT_TRUE(InLoop(loop)) << Name(loop) << " did not open";
    }

    bool InLoop(Loop loop) const
    {
        if (loop == Loop::Move)
            return (program_->ThreadInfo().flags & GUI_INMOVESIZE) != 0;
        return !user_->Menus().empty();
    }

    std::optional<Corvello> program_;
    std::optional<ProgramUser> user_;
};

constexpr Loop AllLoops[] = {Loop::TrayMenu, Loop::SystemMenu, Loop::Move};

}  // namespace

TEST_F(ModalLoopsE2e, StopEndsTheProgramWhateverLoopIsOpen)
{
    for (const Loop loop : AllLoops) {
        SCOPED_TRACE(Name(loop));
        Start(loop);
        Corvello stop(L"stop");
        EXPECT_EQ(stop.WaitExit(10000), std::optional<DWORD>(0));
        EXPECT_EQ(program_->WaitExit(5000), std::optional<DWORD>(0));
    }
}

TEST_F(ModalLoopsE2e, UninstallEndsTheProgramAndRemovesItsSettingsWhateverLoopIsOpen)
{
    for (const Loop loop : AllLoops) {
        SCOPED_TRACE(Name(loop));
        Start(loop);
        ASSERT_TRUE(WaitUntil(
            [] { return static_cast<bool>(tk::RegKey::Open(HKEY_CURRENT_USER, testsupport::ProgramSettingsKey)); },
            5000));
        Corvello uninstall(L"-uninstall");
        EXPECT_EQ(uninstall.WaitExit(10000), std::optional<DWORD>(0));
        EXPECT_EQ(program_->WaitExit(5000), std::optional<DWORD>(0));
        EXPECT_FALSE(tk::RegKey::Open(HKEY_CURRENT_USER, testsupport::ProgramSettingsKey));
    }
}

TEST_F(ModalLoopsE2e, ASecondStartWhileTheTrayMenuIsOpenShowsTheHiddenWindow)
{
    Start(Loop::TrayMenu);
    Corvello second(L"");
    EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_TRUE(user_->WaitMainVisible(true));
    ASSERT_TRUE(user_->CloseMenus());
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(ModalLoopsE2e, ASecondStartDuringTheSystemMenuOrAMoveIsTakenNotDropped)
{
    for (const Loop loop : {Loop::SystemMenu, Loop::Move}) {
        SCOPED_TRACE(Name(loop));
        Start(loop);
        testsupport::ProgramSpy spy(user_->MainWindow());
        ASSERT_TRUE(spy.InPlace());
        Corvello second(L"");
        EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
        // Taken from the queue by the loop, and handled by the program: a
        // request the program dropped would go on to the default handling.
        ASSERT_TRUE(WaitUntil([&] { return !spy.Messages(WM_INSTANCE_ACTIVATE).empty(); }, 5000));
        const auto seen = spy.Messages(WM_INSTANCE_ACTIVATE);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen.front().Stage, spy::Stage::Queue);
        EXPECT_TRUE(user_->WaitMainVisible(true));
        EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
    }
}
