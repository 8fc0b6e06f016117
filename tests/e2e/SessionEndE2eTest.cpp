// The end of the Windows session as the real program meets it: Windows asks
// each top-level window whether the session may end, then tells each whether
// it ends. The program goes only when the session does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/DebugOutputCapture.h"
#include "support/MainWindowScenes.h"
#include "support/NothingStoredTest.h"

using namespace corvello;
using testsupport::ChildWithText;
using testsupport::ClickButton;
using testsupport::Corvello;
using testsupport::ProgramUser;
using testsupport::TrayEntry;
using testsupport::WaitUntil;

namespace {

class SessionEnd : public testsupport::NothingStoredTest {
protected:
    // What Windows sends at a log-off, to each of the program's top-level
    // windows in turn; the answers of those that still answer.
    static std::vector<LRESULT> SendToEach(DWORD processId, UINT message, WPARAM wParam)
    {
        std::vector<LRESULT> answers;
        for (const HWND window : testsupport::TopWindows(processId, L"", false)) {
            DWORD_PTR answer = 0;
            if (::SendMessageTimeoutW(window, message, wParam, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer))
                answers.push_back(static_cast<LRESULT>(answer));
        }
        return answers;
    }

    static void Ask(DWORD processId)
    {
        const auto answers = SendToEach(processId, WM_QUERYENDSESSION, 0);
        ASSERT_FALSE(answers.empty());
        for (const LRESULT answer : answers)
            EXPECT_EQ(answer, TRUE) << "a window holds the session up";
    }

    // The close question comes for the tray's "Close", as it does in a plain
    // run, and No leaves the program running.
    static void ExpectTheCloseQuestion(const Corvello& program)
    {
        const ProgramUser user(program.Id());
        ASSERT_TRUE(user.ChooseTrayEntry(TrayEntry::Close));
        const HWND question = user.WaitWindow(L"TMessageForm");
        ASSERT_NE(question, nullptr) << "no question: the program still takes itself for ending";
        ClickButton(ChildWithText(question, L"&No"));
        ASSERT_TRUE(user.WaitNone(L"TMessageForm"));
        EXPECT_TRUE(program.Running());
    }
};

}  // namespace

TEST_F(SessionEnd, TheProgramEndsInOrderWhenTheSessionEnds)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());
    const ProgramUser user(program.Id());
    const RECT placed = testsupport::WindowRect(user.MainWindow());

    Ask(program.Id());
    SendToEach(program.Id(), WM_ENDSESSION, TRUE);
    // Without a question, and with the window's place stored as it was: the
    // next session shows it again.
    testsupport::ExpectEndedStoringThePlace(program.WaitExit(10000), placed, 1);
}

TEST_F(SessionEnd, ACancelledEndLeavesTheProgramRunningAsBefore)
{
    // Another program refused the log-off: Windows tells those it asked that
    // the session goes on.
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());

    Ask(program.Id());
    SendToEach(program.Id(), WM_ENDSESSION, FALSE);
    ExpectTheCloseQuestion(program);
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST_F(SessionEnd, AQuestionThatNoEndFollowsLapses)
{
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());
    // The ten seconds the program gives a session end, as a test may shorten them.
    const testsupport::ShortTimings timings(L"SessionEndForget=1500");
    Corvello program(L"");
    ASSERT_TRUE(program.WaitShown());

    Ask(program.Id());
    // The program says when it stops waiting for the end.
    const auto lapsed = [&] {
        for (const auto& line : log.LinesOf(program.Id()))
            if (line.find(L"the session did not end") != std::wstring::npos)
                return true;
        return false;
    };
    ASSERT_TRUE(WaitUntil([&] { return lapsed() || !program.Running(); }, 30000));
    ASSERT_TRUE(program.Running()) << "the program ended with a session that goes on";
    EXPECT_TRUE(lapsed());
    ExpectTheCloseQuestion(program);
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}
