#include "app/CorvelloApp.h"

#include <gtest/gtest.h>

#include "core/Clock.h"
#include "core/FileVersion.h"
#include "core/SingleInstance.h"
#include "core/SystemNames.h"
#include "core/Messages.h"
#include "support/InstanceTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Registry.h"

using namespace corvello;

namespace {

constexpr const wchar_t* TestKey = L"\\Software\\QUORVANT\\CorvelloTest\\1.0";

// The application object without its windows: what the loop, the modes and
// the hand-over do on their own.
class WindowlessApp : public CorvelloApp {
public:
    using CorvelloApp::CorvelloApp;
    void CreateForms() override {}
};

std::unique_ptr<CorvelloApp> MakeApp(const std::wstring& commandLine, const std::wstring& key = TestKey)
{
    // Every test starts from nothing stored.
    tk::RegKey::DeleteTree(tk::RootKey(RegistryRootCurrentUser), TestKey);
    auto app = std::make_unique<WindowlessApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser, key);
    app->CommandLine = commandLine;
    return app;
}

}  // namespace

TEST(CorvelloApp, ConstructionFillsTheIdentity)
{
    auto app = MakeApp(L"x.exe", L"");
    EXPECT_EQ(app->RegistryKey(), L"\\Software\\QUORVANT\\Corvello\\1.0");
    EXPECT_EQ(app->RegistryRoot(), 0x80000001u);
    EXPECT_EQ(app->FullName(), L"Corvello (1.2.0.21)");
    EXPECT_EQ(app->MainWindowClass(), L"TfrmMain");
    EXPECT_EQ(app->MainWindowTitle(), L"Corvello");
    EXPECT_EQ(tk::Application::Current().Title(), L"Corvello");
    EXPECT_EQ(app->Mode(), WorkMode::Undefined);
    EXPECT_TRUE(app->ConfirmClose());
    EXPECT_TRUE(app->OnlineEnabled());
    EXPECT_FALSE(app->Confirmations());
    EXPECT_FALSE(app->AutoRun());
    EXPECT_FALSE(app->Terminated());
    EXPECT_NE(app->Copyright().find(L"QUORVANT"), std::wstring::npos);
    EXPECT_EQ(app->FilePath() + app->FileName(), GetModulePath());
    EXPECT_EQ(app->FilePath().back(), L'\\');

    const LinkSet& links = app->Links();
    EXPECT_EQ((std::vector<int>{links.Web.Id, links.Email.Id, links.RSS.Id, links.Facebook.Id, links.Gplus.Id,
                                links.Twitter.Id, links.Delicious.Id, links.StumbleUpon.Id}),
              (std::vector<int>{1, 2, 100, 101, 102, 103, 104, 105}));

    auto custom = MakeApp(L"x.exe", L"Custom\\Key");
    EXPECT_EQ(custom->RegistryKey(), L"Custom\\Key");
    // Ended as terminated, neither writes its settings on the way out.
    custom->Terminate(0);
    app->Terminate(0);
}

TEST(CorvelloApp, SoftwareReportsIdentityAndRunTime)
{
    auto app = MakeApp(L"x.exe");
    app->StartTickCount = ::GetTickCount() - 90400;
    const SoftwareInfo info = app->Software();
    EXPECT_EQ(info.RunTime, 90u);
    EXPECT_EQ(info.Version, L"1.2.0.21");
    EXPECT_EQ(info.Hardware, GetCurrentComputerName() + L"-" + GetCurrentUserName());
    EXPECT_EQ(info.RunFirst, TodayIso());
    EXPECT_EQ(info.RunLast, TodayIso());
    EXPECT_EQ(info.RunCount, 0u);
    EXPECT_EQ(TodayIso().size(), 10u);
}

TEST(CorvelloApp, ParseCommandLineKeepsTheArgumentsBeforeAnEmptyOne)
{
    auto app = MakeApp(L"\"C:\\dir\\x.exe\" \"a b\" STOP \"\" reset");
    app->ParseCommandLine();
    EXPECT_EQ(app->CommandLineParams(), (std::vector<std::wstring>{L"a b", L"STOP"}));
    EXPECT_EQ(app->Mode(), WorkMode::Stop);
}

TEST(CorvelloApp, StopWithoutAnInstanceEndsAtOnceWithoutTheMutex)
{
    auto app = MakeApp(L"x.exe stop");
    testsupport::CapturedLog log;
    app->Execute();
    // Had it waited for a copy, it would have logged giving up.
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(tk::Application::Current().ExitCode(), 0);
    EXPECT_EQ(InstanceMutex(), nullptr);
    EXPECT_EQ(tk::Application::Current().Handle(), nullptr);
}

TEST(CorvelloApp, UninstallClearsTheSettingsKeyAndTheHelpIndex)
{
    const HKEY hkcu = tk::RootKey(RegistryRootCurrentUser);
    auto app = MakeApp(L"x.exe /Uninstall");
    {
        auto form = tk::RegKey::Create(hkcu, std::wstring(TestKey) + L"\\frmMain");
        ASSERT_TRUE(form);
        const DWORD one = 1;
        ::RegSetValueExW(form.Get(), L"Visible", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    }
    const std::wstring gid = ChangeFileExt(GetModulePath(), L".gid");
    tk::KernelHandle(::CreateFileW(gid.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(::GetFileAttributesW(gid.c_str()), INVALID_FILE_ATTRIBUTES);

    app->Execute();
    EXPECT_EQ(app->Mode(), WorkMode::Uninstall);
    EXPECT_FALSE(tk::RegKey::Open(hkcu, TestKey));
    EXPECT_TRUE(tk::RegKey::Open(hkcu, L"Software\\QUORVANT\\CorvelloTest"));
    EXPECT_EQ(::GetFileAttributesW(gid.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(tk::Application::Current().ExitCode(), 0);

    // Again, with nothing left to delete: no error either.
    auto again = MakeApp(L"x.exe uninstall");
    again->Execute();
    EXPECT_TRUE(again->Terminated());
    tk::RegKey::DeleteTree(hkcu, L"Software\\QUORVANT\\CorvelloTest");
}

TEST(CorvelloApp, StopAndUninstallFailWhileAWindowlessCopyHoldsTheInstance)
{
    const HKEY hkcu = tk::RootKey(RegistryRootCurrentUser);
    testsupport::InstanceHolder holder;
    ASSERT_TRUE(holder.Held());
    for (const wchar_t* line : {L"x.exe stop", L"x.exe /uninstall"}) {
        auto app = MakeApp(line);
        app->StopWait = 100;
        app->StopModeWait = 100;
        ASSERT_TRUE(tk::RegKey::Create(hkcu, std::wstring(TestKey) + L"\\frmMain"));
        testsupport::CapturedLog log;
        app->Execute();
        EXPECT_GE(log.Count(L"stopping the running copy"), 1u) << line;
        EXPECT_EQ(log.Count(L"the steps of the work mode"), 1u) << line;
        // The copy would write its settings back: they stay.
        EXPECT_TRUE(tk::RegKey::Open(hkcu, TestKey)) << line;
        EXPECT_TRUE(app->Terminated()) << line;
        // A failure, not a success: the caller (an installer) must know.
        EXPECT_EQ(tk::Application::Current().ExitCode(), CopyNotEndedExitCode) << line;
    }
    tk::RegKey::DeleteTree(hkcu, L"Software\\QUORVANT\\CorvelloTest");
}

TEST(CorvelloApp, HandsOverToTheRunningInstance)
{
    testsupport::InstanceHolder holder;
    ASSERT_TRUE(holder.Held());

    bool activated = false;
    testsupport::TestWindow main(L"TfrmMain", L"Corvello", [&](UINT message, WPARAM, LPARAM) {
        activated = activated || message == WM_INSTANCE_ACTIVATE;
        return false;
    });
    auto app = MakeApp(L"x.exe");
    app->Execute();
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(tk::Application::Current().ExitCode(), 0);
    EXPECT_EQ(app->Software().RunCount, 0u);  // a hand-over is no run
    EXPECT_TRUE(testsupport::WaitUntil([&] { return activated; }, 2000));
}

TEST(CorvelloApp, RunsTheLoopUntilTerminatedByMessage)
{
    auto app = MakeApp(L"x.exe -startup");
    bool shutdownSeen = false;
    // Queued before the loop starts; the hook sees them in order.
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_QUERYENDSESSION, 0, 0);
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 1, 0, 0);
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP_TERMINATE, 0, 5);
    tk::ApplicationEvents probe([&](MSG& msg, bool&) {
        if (msg.message == WM_APP + 1)
            shutdownSeen = app->EndingSession() && app->Terminated();
    });
    app->Execute();
    EXPECT_EQ(app->Mode(), WorkMode::Startup);
    EXPECT_TRUE(shutdownSeen);
    EXPECT_EQ(app->Software().RunCount, 1u);
    // No main window: the code of the terminate message is the exit code.
    EXPECT_EQ(tk::Application::Current().ExitCode(), 5);
    EXPECT_NE(InstanceMutex(), nullptr);
}

TEST(CorvelloApp, StopMessageEndsTheLoopWithZero)
{
    auto app = MakeApp(L"x.exe");
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_INSTANCE_STOP, 0, 0);
    app->Execute();
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(tk::Application::Current().ExitCode(), 0);
}

TEST(CorvelloApp, RestartLeavesTheNewStartToTheExitSequence)
{
    auto app = MakeApp(L"x.exe");
    EXPECT_FALSE(app->RestartRequested());
    app->Restart();
    EXPECT_TRUE(app->RestartRequested());
    EXPECT_TRUE(app->Terminated());
}
