// The application object's hook over the program's messages, with a main form.
#include <gtest/gtest.h>

#include "core/Messages.h"
#include "support/FormTestSupport.h"
#include "support/InstanceTestSupport.h"
#include "support/WinTestSupport.h"

using namespace corvello;

namespace {

class AppMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        main_ = tk::CreateForm<testsupport::TestForm>(app_.App(), tk::BorderStyle::Single, false, L"TfrmMain");
        tk::Application::Current().SetMainForm(main_.get());
    }
    void TearDown() override
    {
        tk::Application::Current().SetMainForm(nullptr);
        main_.reset();
    }

    testsupport::FormTestApp app_;
    std::unique_ptr<testsupport::TestForm> main_;
};

}  // namespace

TEST_F(AppMessages, AQueuedEndOfSessionIsHandledAndNotDispatched)
{
    ::PostMessageW(main_->Handle(), WM_QUERYENDSESSION, 0, 0);
    tk::Application::Current().ProcessMessages();
    EXPECT_TRUE(app_.App().EndingSession());
    EXPECT_TRUE(app_.App().Terminated());
    EXPECT_EQ(main_->QueryEndSessionSeen, 0);
}

TEST_F(AppMessages, AnEndOfSessionSentToTheApplicationWindowReachesTheHook)
{
    EXPECT_TRUE(::SendMessageW(tk::Application::Current().Handle(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(app_.App().EndingSession());
}

TEST_F(AppMessages, TheQuestionAboutTheEndOfTheSessionHoldsUntilTheAnswer)
{
    auto& app = app_.App();
    const HWND window = tk::Application::Current().Handle();
    // The session goes on after all.
    ::SendMessageW(window, WM_QUERYENDSESSION, 0, 0);
    ASSERT_TRUE(app.Terminated());
    ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(app.EndingSession());
    EXPECT_FALSE(app.Terminated());

    // No answer comes: the question lapses, and the log says so.
    testsupport::CapturedLog log;
    app.SessionEndWait = 50;
    ::SendMessageW(window, WM_QUERYENDSESSION, 0, 0);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !app.EndingSession(); }, 5000));
    EXPECT_FALSE(app.Terminated());
    EXPECT_EQ(log.Count(L"the session did not end"), 1u);

    // The session ends: the program stays marked as ending.
    ::SendMessageW(window, WM_QUERYENDSESSION, 0, 0);
    ::SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(app.EndingSession());
    EXPECT_TRUE(app.Terminated());
}

TEST_F(AppMessages, TerminateWithAMainFormEndsTheLoopWithZero)
{
    main_->Show();
    ::PostMessageW(main_->Handle(), WM_APP_TERMINATE, 0, 5);
    tk::Application::Current().Run();
    EXPECT_EQ(tk::Application::Current().ExitCode(), 0);
    EXPECT_TRUE(app_.App().Terminated());
    // Closed on the way out: the close stored the placement.
    EXPECT_TRUE(testsupport::ReadValue(HKEY_CURRENT_USER, testsupport::FormTestApp::FormKey(), L"Bounds").has_value());
}

TEST_F(AppMessages, ActivationShowsTheHiddenMainForm)
{
    ASSERT_FALSE(main_->Visible());
    ::PostMessageW(main_->Handle(), WM_INSTANCE_ACTIVATE, 0, 0);
    tk::Application::Current().ProcessMessages();
    EXPECT_TRUE(main_->Visible());
    EXPECT_EQ(::GetFocus(), main_->Handle());
    EXPECT_EQ(::GetForegroundWindow(), main_->Handle());
}
