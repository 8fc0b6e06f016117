// The real corvello.exe, started as an installer or a user would start it.
#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

#include "e2e/CorvelloProcess.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::TestWindow;
using testsupport::WaitUntil;
using testsupport::Corvello;
using testsupport::ProbeInstanceMutex;
using testsupport::WaitInstanceHeld;


TEST(Instance, FirstStartOwnsTheMutexUntilItExits)
{
    Corvello first(L"");
    ASSERT_TRUE(first.WaitRunning());
    const tk::KernelHandle mutex = testsupport::OpenInstanceMutex();
    ASSERT_TRUE(mutex) << "no mutex named like the instance's";
    EXPECT_EQ(ProbeInstanceMutex(mutex.Get()), static_cast<DWORD>(WAIT_TIMEOUT));

    EXPECT_EQ(first.Stop(), std::optional<DWORD>(0));
    // Released on the way out, not abandoned.
    EXPECT_EQ(ProbeInstanceMutex(mutex.Get()), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(Instance, SecondStartHandsOverAndEnds)
{
    Corvello first(L"");
    ASSERT_TRUE(first.WaitRunning());
    Corvello second(L"-startup");
    EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_TRUE(first.Running());
}

TEST(Instance, SecondStartBringsTheMainWindowForward)
{
    Corvello first(L"");
    ASSERT_TRUE(first.WaitRunning());
    // Stands in for the running instance's main window.
    int activations = 0;
    LPARAM sender = 0;
    TestWindow main(L"TfrmMain", L"Corvello", [&](UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INSTANCE_ACTIVATE) {
            ++activations;
            sender = lParam;
        }
        return false;
    });
    ::ShowWindow(main.Handle(), SW_MINIMIZE);

    Corvello second(L"");
    EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return activations > 0; }, 2000));
    EXPECT_EQ(activations, 1);
    // The sender's module; a start that hands over makes no window of its own.
    EXPECT_NE(sender, 0);
    EXPECT_FALSE(::IsIconic(main.Handle()));
    EXPECT_TRUE(first.Running());
}

TEST(Stop, WithNoInstanceEndsAtOnce)
{
    Corvello stop(L"stop");
    EXPECT_EQ(stop.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_EQ(stop.AppWindow(), nullptr);
}

TEST(Stop, ReturnsAsSoonAsTheInstanceHasGone)
{
    int stops = 0;
    std::optional<TestWindow> main;
    main.emplace(L"TfrmMain", L"Corvello", [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_INSTANCE_STOP) {
            ++stops;
            ::DestroyWindow(main->Handle());
        }
        return false;
    });
    Corvello stop(L"/STOP");
    // Well before the 5 s a stubborn instance costs.
    EXPECT_EQ(stop.WaitExit(4000), std::optional<DWORD>(0));
    EXPECT_EQ(stops, 1);
}

TEST(Stop, LeavesAStubbornInstanceAloneAndWaitsForIt)
{
    // The window does not answer the stop: the stopping start waits (giving
    // up after its time is proven in-process) and ends when the window goes.
    int stops = 0;
    std::optional<TestWindow> main;
    main.emplace(L"TfrmMain", L"Corvello", [&](UINT message, WPARAM, LPARAM) {
        stops += message == WM_INSTANCE_STOP;
        return false;
    });
    Corvello stop(L"stop");
    ASSERT_TRUE(WaitUntil([&] { return stops > 0; }, 10000));
    EXPECT_TRUE(stop.Running());
    EXPECT_TRUE(::IsWindow(main->Handle()));
    EXPECT_EQ(stops, 1);
    main.reset();
    EXPECT_EQ(stop.WaitExit(4000), std::optional<DWORD>(0));
}

TEST(Uninstall, KeepsTheSettingsWhileAWindowlessCopyHoldsTheInstance)
{
    // A copy that holds the instance and has no window (yet) would write its
    // settings back: uninstall waits its 3 s for it, then leaves them and
    // says it failed.
    const HKEY hkcu = HKEY_CURRENT_USER;
    ASSERT_TRUE(tk::RegKey::Create(hkcu, testsupport::MainFormKey));
    testsupport::TestedProcess holder(L"corvello_testapp.exe", L"holdinstance");
    tk::KernelHandle mutex;
    ASSERT_TRUE(WaitInstanceHeld(mutex));

    Corvello uninstall(L"-uninstall");
    EXPECT_EQ(uninstall.WaitExit(15000), std::optional<DWORD>(1));
    EXPECT_TRUE(tk::RegKey::Open(hkcu, testsupport::MainFormKey));
    EXPECT_TRUE(holder.Running());
    holder.Kill();
    tk::RegKey::DeleteTree(hkcu, testsupport::ProgramSettingsKey);
}

TEST(Instance, ClosingTheApplicationWindowEndsTheProgramInOrder)
{
    Corvello first(L"");
    ASSERT_TRUE(first.WaitRunning());
    tk::KernelHandle mutex;
    ASSERT_TRUE(WaitInstanceHeld(mutex));
    ::PostMessageW(first.AppWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitExit(10000), std::optional<DWORD>(0));
    // Released on the way out, not abandoned; the next start is the instance.
    EXPECT_EQ(ProbeInstanceMutex(mutex.Get()), static_cast<DWORD>(WAIT_OBJECT_0));
    Corvello second(L"");
    ASSERT_TRUE(second.WaitRunning());
    EXPECT_EQ(ProbeInstanceMutex(mutex.Get()), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(second.Stop(), std::optional<DWORD>(0));
}

TEST(Instance, TheTrayIconOutlivesACloseSentToItsWindow)
{
    // With the main window in the tray, the icon is the program's only way
    // back: closing its hidden window from outside must not take it away.
    Corvello program(L"");
    ASSERT_TRUE(program.WaitRunning());
    const testsupport::ProgramUser user(program.Id());
    ASSERT_TRUE(WaitUntil([&] { return user.TrayIconShown(); }, 5000));
    const HWND tray = user.TrayWindow();
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(tray, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_TRUE(::IsWindow(tray));
    EXPECT_TRUE(user.TrayIconShown());
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

TEST(Instance, AStartGuardThatIsThereKeepsNoStartAway)
{
    // Another process merely has the guard open, or holds it and hangs: no
    // copy runs, so the start runs as the instance all the same.
    corvello::InstanceNameParts parts;
    parts.UserName = corvello::GetCurrentUserName();
    parts.ExeFileName = L"corvello.exe";
    const std::wstring guardName = corvello::ComposeInstanceNames(parts).Guard;
    for (const BOOL held : {FALSE, TRUE}) {
        SCOPED_TRACE(held ? "held" : "open");
        tk::KernelHandle guard(::CreateMutexW(nullptr, held, guardName.c_str()));
        ASSERT_TRUE(guard);
        Corvello start(L"");
        ASSERT_TRUE(start.WaitRunning()) << "the start took the guard for a running copy";
        EXPECT_EQ(start.Stop(), std::optional<DWORD>(0));
        if (held)
            ::ReleaseMutex(guard.Get());
    }
}

TEST(Instance, StartAfterAKilledInstanceRunsNormally)
{
    Corvello first(L"");
    ASSERT_TRUE(first.WaitRunning());
    first.Kill();  // dies holding the mutex

    Corvello second(L"");
    ASSERT_TRUE(second.WaitRunning());
    const tk::KernelHandle mutex = testsupport::OpenInstanceMutex();
    ASSERT_TRUE(mutex);
    EXPECT_EQ(ProbeInstanceMutex(mutex.Get()), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(second.Stop(), std::optional<DWORD>(0));
}

namespace {

// Starts the program count times at once: exactly one runs as the instance,
// every other start ends with 0.
void StartsAtOnceLeaveExactlyOne(int count)
{
    std::vector<Corvello> starts;
    for (int i = 0; i < count; ++i)
        starts.emplace_back(L"", true);
    for (auto& start : starts)
        start.Resume();

    auto running = [&] {
        int alive = 0;
        for (const auto& start : starts)
            alive += start.Running();
        return alive;
    };
    ASSERT_TRUE(WaitUntil([&] { return running() <= 1; }, 30000)) << running() << " still running";
    // The one left holds the instance: it is the winner, not a loser on its
    // way out (an instance that ended would have let the mutex go).
    tk::KernelHandle mutex;
    EXPECT_TRUE(WaitInstanceHeld(mutex));
    ASSERT_EQ(running(), 1);
    for (const auto& start : starts) {
        if (start.Running()) {
            ASSERT_TRUE(start.WaitRunning());
            EXPECT_EQ(start.Stop(), std::optional<DWORD>(0));
        } else {
            EXPECT_EQ(start.WaitExit(0), std::optional<DWORD>(0));
        }
    }
}

}  // namespace

namespace {

enum class Ending { StopMessage, CloseToTheApplicationWindow, TrayClose };

struct EndingCase {
    const char* Name;
    Ending How;
};

constexpr EndingCase EndingCases[] = {
    {"the stop message", Ending::StopMessage},
    {"WM_CLOSE to the application window", Ending::CloseToTheApplicationWindow},
    {"Close in the tray, answered Yes", Ending::TrayClose},
};

// Asks the running copy to end, as the case does it, and returns at once:
// the copy is on its way out.
void AskToEnd(const Corvello& copy, Ending how)
{
    switch (how) {
    case Ending::StopMessage:
        ::PostMessageW(copy.AppWindow(), WM_INSTANCE_STOP, 0, 0);
        break;
    case Ending::CloseToTheApplicationWindow:
        ::PostMessageW(copy.AppWindow(), WM_CLOSE, 0, 0);
        break;
    case Ending::TrayClose: {
        const testsupport::ProgramUser user(copy.Id());
        ASSERT_TRUE(WaitUntil([&] { return user.TrayIconShown(); }, 5000));
        ASSERT_TRUE(user.ChooseTrayEntry(testsupport::TrayEntry::Close));
        const HWND question = user.WaitWindow(L"TMessageForm");
        ASSERT_NE(question, nullptr);
        testsupport::ClickButton(testsupport::ChildWithText(question, L"&Yes"));
        break;
    }
    }
}

// The start runs as the program: its main window and its tray icon are there.
void ExpectTheProgram(const Corvello& start)
{
    ASSERT_TRUE(start.WaitRunning());
    const testsupport::ProgramUser user(start.Id());
    EXPECT_NE(user.MainWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return user.TrayIconShown(); }, 5000));
}

}  // namespace

TEST(Instance, AStartRightAfterTheRunningCopyWasAskedToEndBecomesTheProgram)
{
    // The copy takes its windows down before it lets go of the instance: a
    // start meanwhile finds the instance held and no window to hand over to
    // (or the window of a copy that will not get to the request).
    for (const EndingCase& c : EndingCases) {
        SCOPED_TRACE(c.Name);
        std::optional<Corvello> copy;
        copy.emplace(L"");
        ASSERT_TRUE(copy->WaitRunning());
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(round);
            AskToEnd(*copy, c.How);
            Corvello next(L"");
            EXPECT_EQ(copy->WaitExit(10000), std::optional<DWORD>(0));
            ExpectTheProgram(next);
            copy.reset();
            copy.emplace(std::move(next));
        }
        EXPECT_EQ(copy->Stop(), std::optional<DWORD>(0));
    }
}

namespace {

// Another process takes the instance for a moment to look at it, over and
// over, as a stopping start or a helper does; this one holds it most of the
// time (a millisecond at a time), so a start finds it held, with no window
// anywhere. It looks until it goes.
class InstanceLooker {
public:
    InstanceLooker()
        : thread_([this] {
              const tk::KernelHandle mutex(
                  ::CreateMutexW(nullptr, FALSE, testsupport::InstanceMutexName().c_str()));
              DWORD stop = WAIT_TIMEOUT;
              while (stop == WAIT_TIMEOUT) {
                  const DWORD wait = ::WaitForSingleObject(mutex.Get(), 0);
                  stop = ::WaitForSingleObject(done_.Get(), 1);
                  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
                      ::ReleaseMutex(mutex.Get());
              }
          })
    {
    }
    ~InstanceLooker()
    {
        ::SetEvent(done_.Get());
        thread_.join();
    }
    InstanceLooker(const InstanceLooker&) = delete;
    InstanceLooker& operator=(const InstanceLooker&) = delete;

private:
    tk::KernelHandle done_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread thread_;
};

}  // namespace

TEST(Instance, APlainStartWhileAnotherProcessLooksAtTheInstanceBecomesTheProgram)
{
    const InstanceLooker looker;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        Corvello start(L"");
        ExpectTheProgram(start);
        EXPECT_EQ(start.Stop(), std::optional<DWORD>(0));
    }
}

TEST(Instance, TwentyStartsAtOnceLeaveExactlyOneRoundAfterRound)
{
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        StartsAtOnceLeaveExactlyOne(20);
    }
}


TEST(CommandLine, HostileLinesRunAsAPlainStart)
{
    const std::wstring lines[] = {
        std::wstring(32000, L'x'),
        L"\"unbalanced \\\" quotes \"\"\"",
        L"\x00C9t\x00E9 \x4E2D\x6587 \xD83D\xDE00",
        L"\x0001\x0002\x001B[31m \x007F",
        L"restart -c cs",
    };
    for (const auto& line : lines) {
        Corvello start(line);
        ASSERT_TRUE(start.WaitRunning()) << "did not become the instance";
        EXPECT_EQ(start.Stop(), std::optional<DWORD>(0));
    }
}

TEST(CommandLine, TheUnquotedPathOfACopyInAFolderWithBlanksHoldsNoWord)
{
    // Windows splits "...\Reset Tools\corvello.exe" at its blanks when it
    // is not quoted; "e2e\Reset" is a piece of the program's path, no reset.
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"Corvello e2e";
    const std::wstring tools = folder + L"\\Reset Tools";
    const std::wstring exe = tools + L"\\corvello.exe";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::CreateDirectoryW(tools.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((testsupport::BinDir() + L"corvello.exe").c_str(), exe.c_str(), FALSE));
    const std::wstring& key = testsupport::ProgramSettingsKey;
    for (const wchar_t* arguments : {L"", L" -startup"}) {
        SCOPED_TRACE(*arguments ? "-startup" : "no arguments");
        testsupport::ForgetProgramSettings();
        testsupport::WriteDword(HKEY_CURRENT_USER, key, registry::RunCount, 7);
        testsupport::WriteDword(HKEY_CURRENT_USER, key, registry::Confirmations, 0);
        Corvello start(testsupport::ExactStart{exe, exe + arguments});
        ASSERT_TRUE(start.WaitRunning());
        EXPECT_EQ(start.Stop(), std::optional<DWORD>(0));
        // Counted on as a plain start, the setting kept: nothing was reset.
        EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, key, registry::RunCount), 8u);
        EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, key, registry::Confirmations), 0u);
    }
    testsupport::ForgetProgramSettings();
    EXPECT_TRUE(WaitUntil([&] { return ::DeleteFileW(exe.c_str()) != FALSE; }, 5000));
    ::RemoveDirectoryW(tools.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

TEST(Uninstall, RemovesTheSettingsButNotTheAutorunEntry)
{
    const HKEY hkcu = HKEY_CURRENT_USER;
    ASSERT_TRUE(tk::RegKey::Create(hkcu, testsupport::MainFormKey));
    const wchar_t* runPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::wstring runData = L"\"C:\\corvello.exe\" -startup";
    {
        auto run = tk::RegKey::Create(hkcu, runPath);
        ::RegSetValueExW(run.Get(), L"corvello.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(runData.c_str()),
                         static_cast<DWORD>((runData.size() + 1) * sizeof(wchar_t)));
    }

    Corvello uninstall(L"-uninstall");
    EXPECT_EQ(uninstall.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_FALSE(tk::RegKey::Open(hkcu, testsupport::ProgramSettingsKey));
    EXPECT_TRUE(tk::RegKey::Open(hkcu, L"Software\\QUORVANT\\Corvello"));
    EXPECT_EQ(tk::RegKey::Open(hkcu, runPath).ReadString(L"corvello.exe"), runData);
    auto run = tk::RegKey::Open(hkcu, runPath, KEY_SET_VALUE);
    ::RegDeleteValueW(run.Get(), L"corvello.exe");
}
