// The Windows side of the power actions: tools come from the system
// directory, and the requests that are safe to make under Wine are made.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "actions/WindowsPowerRequests.h"
#include "core/ProcessLaunch.h"
#include "app/CorvelloApp.h"
#include "support/WinTestSupport.h"
#include "toolkit/Application.h"

using namespace corvello;

TEST(RunSystemTool, TakesTheToolFromTheSystemDirectoryOnly)
{
    // A planted "cmd.exe" in the current directory and beside the program
    // exits with 9; the system's own answers with the code asked for.
    const std::wstring planted = testsupport::BinDir() + L"cmd.exe";
    ASSERT_TRUE(::CopyFileW((testsupport::BinDir() + L"corvello_child.exe").c_str(), planted.c_str(), FALSE));
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(testsupport::BinDir().c_str());

    EXPECT_EQ(RunProcess(L"cmd.exe 9", true, false), 9u) << "the search path does find the planted copy";
    EXPECT_EQ(RunSystemTool(L"cmd.exe /c exit 7", true, false), 7u);

    ::SetCurrentDirectoryW(previous);
    ::DeleteFileW(planted.c_str());
}

TEST(RunSystemTool, RefusesPathsAndNames)
{
    EXPECT_EQ(RunSystemTool(L"", true, false), 0u);
    EXPECT_EQ(RunSystemTool(L"..\\cmd.exe /c exit 7", true, false), 0u);
    EXPECT_EQ(RunSystemTool(L"C:\\windows\\system32\\cmd.exe /c exit 7", true, false), 0u);
    EXPECT_EQ(RunSystemTool(L"\"cmd.exe\" /c exit 7", true, false), 0u);
    EXPECT_EQ(RunSystemTool(L"no-such-tool.exe", true, false), 0u);
}

TEST(PowerRequests, TheSafeOnesAgainstWine)
{
    WindowsPowerRequests requests;
    // Wine answers these for real (powrprof.dll found in the system
    // directory); none of them suspends or ends the session.
    EXPECT_TRUE(requests.IsPwrHibernateAllowed());
    const bool suspended = requests.SetSuspendState(false, false, false);

    auto app = std::make_unique<CorvelloApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser,
                                      L"\\Software\\QUORVANT\\CorvelloPowerTest\\1.0");
    EXPECT_EQ(app->System().Run(ActionOperation::Sleep), suspended);
    EXPECT_EQ(app->System().Run(ActionOperation::Hibernate), suspended);
    // Refused by Wine, so the rundll32 fallback starts and the answer is false.
    EXPECT_FALSE(app->System().Run(ActionOperation::LockUser));
    app->Terminate(0);
}

namespace {

class Recorder : public PowerRequests {
public:
    std::vector<std::wstring> Calls;
    bool PostToProgramWindow(unsigned, std::uintptr_t, std::intptr_t) override { return Note(L"post"); }
    bool LockWorkStation() override { return Note(L"lock"); }
    bool SetSuspendState(bool, bool, bool) override { return Note(L"suspend"); }
    bool IsPwrHibernateAllowed() override { return Note(L"allowed?"), false; }
    bool ExitWindowsEx(unsigned flags, unsigned long) override { return Note(L"exit " + std::to_wstring(flags)); }
    std::uint32_t RunSystemTool(const std::wstring& line, bool, bool) override { return Note(line), 0; }

private:
    bool Note(const std::wstring& call)
    {
        Calls.push_back(call);
        return false;
    }
};

}  // namespace

TEST(PowerRequests, TheApplicationActionsGoThroughTheSeam)
{
    auto app = std::make_unique<CorvelloApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser,
                                      L"\\Software\\QUORVANT\\CorvelloPowerTest\\1.0");
    Recorder recorder;
    app->System().SetPowerRequests(&recorder);
    EXPECT_FALSE(app->System().Run(ActionOperation::PowerOff));
    EXPECT_FALSE(app->System().Run(ActionOperation::LogOff));
    EXPECT_FALSE(app->System().Run(ActionOperation::HybridShutDown));
    EXPECT_EQ(recorder.Calls, (std::vector<std::wstring>{L"allowed?", L"shutdown.exe -s -t 00", L"exit 0",
                                                         L"shutdown.exe -l", L"exit 4194305", L"suspend"}));
    app->System().SetPowerRequests(nullptr);  // back to Windows
    app->Terminate(0);
}

namespace {

// What reaches the application window as WM_SYSCOMMAND, recorded instead of
// carried out.
std::vector<std::pair<WPARAM, LPARAM>> SystemCommandsSeen;
WNDPROC ApplicationWindowProc = nullptr;

LRESULT CALLBACK RecordSystemCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) {
        SystemCommandsSeen.emplace_back(wParam, lParam);
        return 0;
    }
    return ::CallWindowProcW(ApplicationWindowProc, window, message, wParam, lParam);
}

}  // namespace

// A console window takes a broadcast WM_SYSCOMMAND for Ctrl+C, so the display
// requests go to the program's own window and nowhere else.
TEST(PowerRequests, DisplayRequestsReachOnlyTheProgramsOwnWindow)
{
    auto app = std::make_unique<CorvelloApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser,
                                             L"\\Software\\QUORVANT\\CorvelloPowerTest\\1.0");
    tk::Application::Current().Initialize();
    const HWND own = tk::Application::Current().Handle();
    ASSERT_NE(own, nullptr);

    // Witnesses: a top-level window of another program and one of this one.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + testsupport::BinDir() + L"corvello_witness.exe\"";
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process));
    const tk::KernelHandle witnessProcess(process.hProcess);
    const tk::KernelHandle witnessThread(process.hThread);
    ASSERT_TRUE(testsupport::WaitUntil([] { return ::FindWindowW(L"CorvelloWitness", nullptr) != nullptr; }, 10000));
    const UINT ping = ::RegisterWindowMessageW(L"CorvelloWitnessPing");
    int localCommands = 0;
    bool localPinged = false;
    testsupport::TestWindow local(L"CorvelloLocalWitness", L"Witness", [&](UINT message, WPARAM, LPARAM) {
        localCommands += message == WM_SYSCOMMAND;
        localPinged = localPinged || message == ping;
        return message == WM_SYSCOMMAND;
    });

    SystemCommandsSeen.clear();
    ApplicationWindowProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(own, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordSystemCommands)));
    EXPECT_TRUE(app->System().Run(ActionOperation::MonitorOff));
    EXPECT_TRUE(app->System().Run(ActionOperation::MonitorOn));
    EXPECT_TRUE(app->System().Run(ActionOperation::ScreenSaver));
    EXPECT_TRUE(testsupport::WaitUntil([] { return SystemCommandsSeen.size() >= 3; }, 5000));
    // The witnesses hear a broadcast made after the requests, so whatever the
    // requests had sent them is in their queues before it.
    ASSERT_TRUE(::PostMessageW(HWND_BROADCAST, ping, 0, 0));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return localPinged; }, 5000));
    ::SetWindowLongPtrW(own, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ApplicationWindowProc));

    const std::vector<std::pair<WPARAM, LPARAM>> expected = {{0xF170, 2}, {0xF170, -1}, {0xF140, 0}};
    EXPECT_EQ(SystemCommandsSeen, expected);
    EXPECT_EQ(localCommands, 0);
    const DWORD waited = ::WaitForSingleObject(process.hProcess, 10000);
    if (waited != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    DWORD witnessCommands = 0;
    ::GetExitCodeProcess(process.hProcess, &witnessCommands);
    EXPECT_EQ(witnessCommands, 0u) << "255: the witness heard no broadcast at all";
    app->Terminate(0);
}
