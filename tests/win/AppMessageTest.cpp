// The application object's hook over the program's messages, with a main form.
#include <gtest/gtest.h>

#include "core/Messages.h"
#include "support/FormTestSupport.h"
#include "support/WinTestSupport.h"

using namespace corvello;

namespace {

class AppMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        FMain = tk::CreateForm<testsupport::TestForm>(tk::BorderStyle::Single, false, L"TfrmMain");
        tk::Application::Current().SetMainForm(FMain.get());
    }
    void TearDown() override
    {
        tk::Application::Current().SetMainForm(nullptr);
        FMain.reset();
    }

    testsupport::FormTestApp FApp;
    std::unique_ptr<testsupport::TestForm> FMain;
};

}  // namespace

TEST_F(AppMessages, AQueuedEndOfSessionIsHandledAndNotDispatched)
{
    ::PostMessageW(FMain->Handle(), WM_QUERYENDSESSION, 0, 0);
    tk::Application::Current().ProcessMessages();
    EXPECT_TRUE(FApp.App().ShutingDown());
    EXPECT_TRUE(FApp.App().Terminated());
    EXPECT_EQ(FMain->QueryEndSessionSeen, 0);
}

TEST_F(AppMessages, AnEndOfSessionSentToTheApplicationWindowReachesTheHook)
{
    EXPECT_TRUE(::SendMessageW(tk::Application::Current().Handle(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(FApp.App().ShutingDown());
}

TEST_F(AppMessages, TerminateWithAMainFormEndsTheLoopWithZero)
{
    FMain->Show();
    ::PostMessageW(FMain->Handle(), WM_APP_TERMINATE, 0, 5);
    tk::Application::Current().Run();
    EXPECT_EQ(tk::Application::Current().ExitCode(), 0);
    EXPECT_TRUE(FApp.App().Terminated());
    // Closed on the way out: the close stored the placement.
    EXPECT_TRUE(testsupport::ReadValue(HKEY_CURRENT_USER, testsupport::FormTestApp::FormKey(), L"Bounds").has_value());
}

TEST_F(AppMessages, ActivationShowsTheHiddenMainForm)
{
    ASSERT_FALSE(FMain->Visible());
    ::PostMessageW(FMain->Handle(), WM_INSTANCE_ACTIVATE, 0, 0);
    tk::Application::Current().ProcessMessages();
    EXPECT_TRUE(FMain->Visible());
    EXPECT_EQ(::GetFocus(), FMain->Handle());
    EXPECT_EQ(::GetForegroundWindow(), FMain->Handle());
}
