// The action word (/do:NAME) on the real program, as a desktop shortcut, a
// script or a scheduled task starts it: with a copy of the program running
// and with none.
//
// The display requests go to the program's own hidden application window,
// never to every top-level window. So "it reached the display" is seen from
// two sides: the spy inside the program that handled it (e2e/Spy.cpp) sees
// the request reach that program's "TApplication" window and its default
// handling, and the witness, a hidden top-level window of another program
// (corvello_witness without arguments), counts no WM_SYSCOMMAND at all.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "actions/CommandLineActions.h"
#include "core/RegistryLayout.h"
#include "e2e/CapsLockPresses.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/DebugOutputCapture.h"
#include "e2e/ProgramSpy.h"
#include "e2e/ProgramUi.h"
#include "e2e/SpyProtocol.h"
#include "support/NothingStoredTest.h"
#include "support/RegistryTestSupport.h"
#include "support/ProgramUser.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;
using testsupport::ClassOf;
using testsupport::TextOf;
using testsupport::WaitUntil;

namespace {

using testsupport::CapsLockPresses;

const std::wstring& Key = testsupport::ProgramSettingsKey;

// Every top-level window, hidden ones too.
std::vector<HWND> TopWindows(DWORD processId, const std::wstring& className = L"")
{
    return e2eui::TopWindows(processId, className, false);
}

std::string Joined(const std::set<std::wstring>& names)
{
    std::string joined;
    for (const auto& name : names)
        joined += std::string(name.begin(), name.end()) + ' ';
    return joined;
}

// A start of the program with the action word.
class Start : public Corvello {
public:
    explicit Start(const std::wstring& arguments, bool suspended = false) : Corvello(arguments, suspended) {}

    DWORD ProcessId() const { return id_; }
    DWORD ThreadId() const { return threadId_; }

    // Waits for the end, noting the classes of the windows the start has
    // while it runs (visible ones marked with a "+").
    std::optional<DWORD> WaitExitNotingWindows(std::set<std::wstring>& seen, std::uint32_t timeoutMs = 15000) const
    {
        WaitUntil(
            [&] {
                for (const HWND window : TopWindows(id_))
                    seen.insert(ClassOf(window) + (::IsWindowVisible(window) ? L"+" : L""));
                return !Running();
            },
            timeoutMs);
        return WaitExit(0);
    }
};

std::vector<std::wstring> Described(const std::vector<testsupport::SpiedMessage>& messages)
{
    std::vector<std::wstring> described;
    for (const auto& m : messages)
        described.push_back(m.ClassName + L" " + std::to_wstring(static_cast<std::uint32_t>(m.Stage)) + L" " +
                            std::to_wstring(m.WParam) + L" " + std::to_wstring(m.LParam));
    return described;
}

// Monitor Off as the program's own window takes it from its queue and hands
// it to the default handling.
const std::vector<std::wstring> MonitorOffReachedItsWindow = {L"TApplication 1 61808 2", L"TApplication 2 61808 2"};

// Another program's hidden top-level window, which counts the WM_SYSCOMMAND
// that reach it until the ping broadcast.
class Witness : public testsupport::TestedProcess {
public:
    Witness() : TestedProcess(L"corvello_witness.exe", L"") {}
    bool WaitReady() const
    {
        return WaitUntil([] { return ::FindWindowW(L"CorvelloWitness", nullptr) != nullptr; }, 10000);
    }
    // Broadcast after the program acted, the ping reaches the witness behind
    // whatever the program had sent it; the count is its exit code.
    std::optional<DWORD> Count() const
    {
        ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"CorvelloWitnessPing"), 0, 0);
        return WaitExit(10000);
    }
};

// Whether the instance mutex exists at all: a start that ran the action
// itself leaves none behind.
bool InstanceMutexExists()
{
    const tk::KernelHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, testsupport::InstanceMutexName().c_str()));
    return mutex || ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

// Whether the start wrote a line holding the text to the log, within 5 s.
bool Logged(const testsupport::DebugOutputCapture& log, DWORD processId, const wchar_t* text)
{
    return WaitUntil(
        [&] {
            for (const auto& line : log.LinesOf(processId))
                if (line.find(text) != std::wstring::npos)
                    return true;
            return false;
        },
        5000);
}

// Every test starts from nothing stored and leaves nothing behind.
class ActionWord : public testsupport::NothingStoredTest {};

}  // namespace

TEST_F(ActionWord, MonitorOffWithACopyRunningReachesOnlyTheCopysOwnWindow)
{
    Witness witness;
    ASSERT_TRUE(witness.WaitReady());
    Start copy(L"-startup");
    ASSERT_TRUE(copy.WaitRunning());
    testsupport::ProgramSpy spy(copy.AppWindow());
    ASSERT_TRUE(spy.InPlace());

    Start start(L"/do:monitoroff");
    std::set<std::wstring> windows;
    EXPECT_EQ(start.WaitExitNotingWindows(windows), std::optional<DWORD>(0));
    // A start that hands over makes no window, let alone a tray program.
    EXPECT_TRUE(windows.empty()) << Joined(windows);
    ASSERT_TRUE(WaitUntil([&] { return spy.SystemCommands().size() >= 2; }, 5000));
    EXPECT_EQ(Described(spy.SystemCommands()), MonitorOffReachedItsWindow);
    for (const auto& message : spy.SystemCommands())
        EXPECT_EQ(message.Window, copy.AppWindow());
    EXPECT_EQ(witness.Count(), std::optional<DWORD>(0)) << "255: the witness heard no ping at all";

    EXPECT_EQ(TopWindows(testsupport::AnyProcess, L"TfrmMain").size(), 1u);
    EXPECT_EQ(copy.Stop(), std::optional<DWORD>(0));
}

TEST_F(ActionWord, MonitorOffWithNoCopyRunsInTheStartAndLeavesNothingBehind)
{
    Witness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_FALSE(InstanceMutexExists());

    Start start(L"-DO:MonitorOff", true);
    ASSERT_TRUE(start.Started());
    testsupport::ProgramSpy spy(start.ProcessId(), start.ThreadId());
    ASSERT_TRUE(spy.Hooked());
    start.Resume();
    std::set<std::wstring> windows;
    EXPECT_EQ(start.WaitExitNotingWindows(windows), std::optional<DWORD>(0));
    // The request reached the start's own window, and was handled, before
    // it ended.
    EXPECT_TRUE(spy.InPlace());
    EXPECT_EQ(Described(spy.SystemCommands()), MonitorOffReachedItsWindow);
    EXPECT_EQ(witness.Count(), std::optional<DWORD>(0)) << "255: the witness heard no ping at all";
    // Not the tray program: no window showed (its hidden application window
    // came and went), and nothing is left of it.
    for (const auto& window : windows)
        EXPECT_TRUE(window.back() != L'+' && window != L"TfrmMain" && window != L"tk.TrayIcon") << Joined(windows);
    EXPECT_FALSE(InstanceMutexExists());
    EXPECT_TRUE(TopWindows(testsupport::AnyProcess, L"TfrmMain").empty());
    EXPECT_FALSE(tk::RegKey::Open(HKEY_CURRENT_USER, Key)) << "a start that only acts stores nothing";
}

// Wine refuses LockWorkStation: the lock fails, and the screen must stay on,
// since a dark screen would pass for a locked one.
TEST_F(ActionWord, LockMonitorOffThatCannotLockEndsWithOneAndLeavesTheMonitorOn)
{
    Witness witness;
    ASSERT_TRUE(witness.WaitReady());
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());

    Start start(L"/do:lockmonitoroff", true);
    ASSERT_TRUE(start.Started());
    testsupport::ProgramSpy spy(start.ProcessId(), start.ThreadId());
    ASSERT_TRUE(spy.Hooked());
    start.Resume();
    std::set<std::wstring> windows;
    EXPECT_EQ(start.WaitExitNotingWindows(windows), std::optional<DWORD>(1));
    // The spy comes in with the first message the start takes from its
    // queue: a request posted to its window would be one, and recorded.
    EXPECT_TRUE(spy.SystemCommands().empty()) << testing::PrintToString(Described(spy.SystemCommands()));
    EXPECT_EQ(witness.Count(), std::optional<DWORD>(0)) << "255: the witness heard no ping at all";
    EXPECT_TRUE(Logged(log, start.ProcessId(), L"LockWorkStation"))
        << testing::PrintToString(log.LinesOf(start.ProcessId()));
    EXPECT_FALSE(InstanceMutexExists());
}

TEST_F(ActionWord, LockMonitorOffThatCannotLockInTheCopySaysSoInABalloonFromItsShortcutAndTheWord)
{
    const std::wstring hotkeys = std::wstring(Key) + L"\\" + registry::HotkeysKey;
    testsupport::WriteDword(HKEY_CURRENT_USER, hotkeys, L"LockMonitorOff", 0x0003004C);  // Ctrl+Alt+L
    Start copy(L"");
    ASSERT_TRUE(copy.WaitRunning());
    const HWND main = ::FindWindowW(L"TfrmMain", L"Corvello");
    ASSERT_NE(main, nullptr);
    testsupport::ProgramSpy spy(main);
    ASSERT_TRUE(spy.InPlace() && spy.CallsInPlace());
    ::SetForegroundWindow(main);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main; }, 5000));

    const std::wstring notice = L"Could not lock the computer; the monitor stays on.";
    testsupport::PressKeys({VK_CONTROL, VK_MENU, 'L'});
    ASSERT_TRUE(WaitUntil([&] { return spy.Balloons().size() == 1; }, 5000));
    EXPECT_EQ(spy.Balloons().front(), notice);

    Start start(L"/do:lockmonitoroff");
    EXPECT_EQ(start.WaitExit(15000), std::optional<DWORD>(0)) << "the copy took it";
    ASSERT_TRUE(WaitUntil([&] { return spy.Balloons().size() == 2; }, 5000));
    EXPECT_EQ(spy.Balloons().back(), notice);
    // Whatever the program had posted to itself is handled by now.
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(copy.AppWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
    EXPECT_TRUE(spy.SystemCommands().empty()) << testing::PrintToString(Described(spy.SystemCommands()));
    EXPECT_EQ(copy.Stop(), std::optional<DWORD>(0));
}

TEST_F(ActionWord, CapsLockTogglesTheLockWithACopyAndWithNone)
{
    CapsLockPresses presses;
    ASSERT_TRUE(presses.Hooked());
    const std::vector<std::wstring> onePress = {L"down injected", L"up injected"};
    std::optional<Start> copy;
    for (const bool withCopy : {false, true}) {
        if (withCopy) {
            copy.emplace(L"-startup");
            ASSERT_TRUE(copy->WaitRunning());
        }
        // The program in front, where a shortcut leaves the focus: a window
        // of this test, whose thread sees the lock's state change.
        testsupport::TestWindow front(L"CorvelloFrontWindow", L"In front");
        ::ShowWindow(front.Handle(), SW_SHOW);
        ::SetForegroundWindow(front.Handle());
        ::SetFocus(front.Handle());
        ASSERT_TRUE(WaitUntil([&] { return ::GetFocus() == front.Handle(); }, 5000));
        // Twice, so the lock ends as it was.
        for (int i = 0; i < 2; ++i) {
            const bool wasOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
            CapsLockPresses::Seen().clear();
            Start start(withCopy ? L"/do:CAPSLOCK" : L"/do:capslock");
            EXPECT_EQ(start.WaitExit(15000), std::optional<DWORD>(0)) << withCopy;
            EXPECT_TRUE(WaitUntil(
                [&] { return CapsLockPresses::Seen().size() >= 2 && ((::GetKeyState(VK_CAPITAL) & 1) != 0) != wasOn; },
                5000))
                << withCopy;
            EXPECT_EQ(CapsLockPresses::Described(), onePress) << withCopy;
        }
        if (!withCopy) {
            EXPECT_FALSE(InstanceMutexExists());
        }
    }
    EXPECT_EQ(copy->Stop(), std::optional<DWORD>(0));
}

TEST_F(ActionWord, PowerOffWithConfirmationsOnAsksAndEndsWithOneAfterNo)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 1);
    Start start(L"/do:poweroff");
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::vector<HWND> shown = e2eui::TopWindows(start.ProcessId(), L"TMessageForm");
            question = shown.empty() ? nullptr : shown.front();
            return question != nullptr || !start.Running();
        },
        15000));
    ASSERT_NE(question, nullptr) << "the start ended without asking";
    const e2eui::DialogSeen seen = e2eui::ReadDialog(question);
    EXPECT_EQ(seen.Caption, L"Corvello - Power Off");
    EXPECT_EQ(seen.Message, L"Shuts down Windows system and turns the computer off\r\nPerform \"Power Off\" action?");
    EXPECT_EQ(seen.Buttons.size(), 2u);
    const HWND no = e2eui::FindButton(question, L"&No");
    ASSERT_NE(no, nullptr);
    e2eui::Click(no);
    EXPECT_EQ(start.WaitExit(10000), std::optional<DWORD>(1));
    EXPECT_FALSE(InstanceMutexExists());
}

TEST_F(ActionWord, AnUnknownNameEndsWithTwoShowsNothingAndIsLogged)
{
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());
    for (const wchar_t* arguments : {L"/do:bogus", L"/do:", L"-do:monitoroffx", L"\"/do:sleep now\""}) {
        Start start(arguments);
        std::set<std::wstring> windows;
        EXPECT_EQ(start.WaitExitNotingWindows(windows), std::optional<DWORD>(2));
        EXPECT_TRUE(windows.empty()) << Joined(windows);
        EXPECT_TRUE(Logged(log, start.ProcessId(), L"no action is named"))
            << testing::PrintToString(log.LinesOf(start.ProcessId()));
    }
    EXPECT_FALSE(InstanceMutexExists());
    EXPECT_FALSE(tk::RegKey::Open(HKEY_CURRENT_USER, Key));
}

TEST_F(ActionWord, AHostileHandOverChangesNothingInTheCopy)
{
    Start copy(L"-startup");
    ASSERT_TRUE(copy.WaitRunning());
    const HWND main = ::FindWindowW(L"TfrmMain", L"Corvello");
    ASSERT_NE(main, nullptr);
    testsupport::ProgramSpy spy(copy.AppWindow());
    ASSERT_TRUE(spy.InPlace());
    const auto stored = [] {
        return std::vector<std::optional<DWORD>>{
            testsupport::StoredDword(HKEY_CURRENT_USER, Key, registry::Confirmations),
            testsupport::StoredDword(HKEY_CURRENT_USER, Key, registry::AutoRun),
            testsupport::StoredDword(HKEY_CURRENT_USER, Key, registry::Online),
            testsupport::StoredDword(HKEY_CURRENT_USER, Key, registry::RunCount)};
    };
    const auto before = stored();

    const std::u16string monitorOff(u"monitoroff\0", 11);
    const std::u16string unterminated(u"monitoroff");
    const std::u16string upper(u"POWEROFF\0", 9);
    std::vector<unsigned char> garbage(1024 * 1024);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 131 + 7);
    const struct {
        const char* What;
        std::uintptr_t Tag;
        const void* Data;
        std::size_t Size;
    } cases[] = {
        {"another tag", 1, monitorOff.data(), 22},
        {"no tag", 0, monitorOff.data(), 22},
        {"no null at the end", commandline::HandOverTag, unterminated.data(), 20},
        {"an odd size", commandline::HandOverTag, monitorOff.data(), 21},
        {"a name as no copy writes it", commandline::HandOverTag, upper.data(), 18},
        {"nothing", commandline::HandOverTag, nullptr, 0},
        {"a megabyte of garbage", commandline::HandOverTag, garbage.data(), garbage.size()},
        {"a kilobyte of garbage", commandline::HandOverTag, garbage.data(), 1024},
    };
    for (const auto& c : cases) {
        COPYDATASTRUCT message{c.Tag, static_cast<DWORD>(c.Size), const_cast<void*>(c.Data)};
        DWORD_PTR answer = 99;
        ASSERT_NE(::SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message), SMTO_ABORTIFHUNG,
                                        10000, &answer),
                  0)
            << c.What << ", error " << ::GetLastError();
        EXPECT_EQ(answer, 0u) << c.What;
    }
    // More than Wine carries in one message: the send may give up, and the
    // copy must not mind either way.
    std::vector<unsigned char> huge(16 * 1024 * 1024, 0x5A);
    COPYDATASTRUCT hugeMessage{commandline::HandOverTag, static_cast<DWORD>(huge.size()), huge.data()};
    DWORD_PTR hugeAnswer = 0;
    if (::SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&hugeMessage), SMTO_ABORTIFHUNG, 3000,
                              &hugeAnswer)) {
        EXPECT_EQ(hugeAnswer, 0u);
    }

    // Still there and answering; nothing asked, nothing run, nothing stored.
    DWORD_PTR ignored = 0;
    EXPECT_NE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored), 0);
    EXPECT_TRUE(copy.Running());
    EXPECT_TRUE(TopWindows(copy.ProcessId(), L"TMessageForm").empty());
    EXPECT_TRUE(spy.SystemCommands().empty());
    EXPECT_EQ(stored(), before);

    // And what a starting copy writes is still taken.
    Start start(L"/do:monitoroff");
    EXPECT_EQ(start.WaitExit(15000), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return spy.SystemCommands().size() >= 2; }, 5000));
    EXPECT_EQ(copy.Stop(), std::optional<DWORD>(0));
}
