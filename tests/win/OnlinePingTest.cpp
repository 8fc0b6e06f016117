#include "app/CorvelloApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "online/Links.h"
#include "online/PingRules.h"
#include "online/Notifier.h"
#include "support/HttpListener.h"
#include "support/OnlineTestSupport.h"
#include "support/WinTestSupport.h"

using namespace corvello;
using testsupport::HttpListener;

namespace {

// A settable clock in place of the system's.
SYSTEMTIME ClockNow{};
SYSTEMTIME TestClock()
{
    return ClockNow;
}

void SetClock(int day, int hour, int minute)
{
    ClockNow = SYSTEMTIME{2013, 6, 0, static_cast<WORD>(day), static_cast<WORD>(hour), static_cast<WORD>(minute), 0, 0};
}

double ClockValue()
{
    return EncodeDateTime(ClockNow.wYear, ClockNow.wMonth, ClockNow.wDay, ClockNow.wHour, ClockNow.wMinute, 0, 0);
}

class OnlinePing : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(listener_.Port(), 0);
        SetLocalClock(&TestClock);
        SetClock(1, 10, 0);
        app_ = testsupport::MakeOnlineApp();
    }
    void TearDown() override
    {
        FreeProgramNotifier();
        app_.reset();
        SetLocalClock(nullptr);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloOnlineTest");
    }
    void UseNotifier()
    {
        CreateProgramNotifier(app_->Links().Web.Url + L"/ping/", parent_.Handle());
        ProgramNotifier()->PingTimeOnPage = 0;
    }

    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const auto& line : listener_.Requests())
            paths.push_back(testsupport::ParseRequestLine(line).Path);
        return paths;
    }

    HttpListener listener_;
    testsupport::LoopbackProxy proxy_{listener_.Port()};
    testsupport::TestWindow parent_{L"CorvelloPingParent", L""};
    std::unique_ptr<CorvelloApp> app_;
};

}  // namespace

TEST_F(OnlinePing, StartPingReachesTheProductAddress)
{
    UseNotifier();
    app_->Ping(L"start", L"date=" + TodayIso(), true);
    const auto requests = listener_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto address = testsupport::ParseRequestLine(requests[0]);
    EXPECT_EQ(address.Method, "GET");
    EXPECT_EQ(address.Host, "corvello.quorvant.com");
    EXPECT_EQ(address.Path, "/ping/start/?version=1.2.0.21&date=2013-06-01");
}

TEST_F(OnlinePing, GatesHoldPingsBackInTheirOrder)
{
    // Every ping that passes fails at the service, and still counts.
    listener_.SetMode(HttpListener::Mode::NotFound);
    UseNotifier();
    struct Step {
        int Day;
        int Hour;
        int Minute;
        bool urgent;
        bool Sent;
    };
    const Step steps[] = {
        {1, 10, 0, false, true},    // the first of the run
        {1, 10, 29, false, false},  // 29 minutes on
        {1, 10, 29, true, true},    // urgent: no spacing
        {1, 10, 58, false, false},
        {1, 10, 59, false, true},  // 30 minutes on
        {1, 10, 19, false, true},  // the clock set back by 40 minutes
        {1, 10, 20, false, false},
    };
    std::size_t sent = 0;
    double last = 0;
    for (const Step& step : steps) {
        SetClock(step.Day, step.Hour, step.Minute);
        app_->Ping(L"running", L"date=" + TodayIso(), step.urgent);
        if (step.Sent) {
            ++sent;
            last = ClockValue();
        }
        EXPECT_EQ(app_->LastPing, last) << step.Hour << ":" << step.Minute;
        EXPECT_EQ(listener_.RequestCount(), sent) << step.Hour << ":" << step.Minute;
    }
    for (const auto& path : Paths())
        EXPECT_EQ(path, "/ping/running/?version=1.2.0.21&date=2013-06-01");
}

TEST_F(OnlinePing, NothingGoesOutOfflineOrWhileTerminating)
{
    UseNotifier();
    app_->SetOnlineEnabled(false);
    app_->Ping(L"start", L"", true);
    EXPECT_EQ(app_->LastPing, 0.0);

    app_->SetOnlineEnabled(true);
    app_->Ping(L"about", L"", false);
    const double sent = app_->LastPing;
    EXPECT_EQ(sent, ClockValue());

    // Windows is ending the logon.
    MSG message{};
    message.message = WM_QUERYENDSESSION;
    app_->OnAppMessage(message);
    ASSERT_TRUE(app_->Terminated());
    SetClock(2, 10, 0);
    app_->Ping(L"start", L"", true);
    app_->Ping(L"running", L"", false);
    EXPECT_EQ(app_->LastPing, sent);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/ping/about/?version=1.2.0.21"}));
}

TEST_F(OnlinePing, WithoutANotifierAParentlessOneIsMadeAndNothingIsSent)
{
    ASSERT_EQ(ProgramNotifier(), nullptr);
    EXPECT_NO_THROW(app_->Ping(L"start", L"", true));
    ASSERT_NE(ProgramNotifier(), nullptr);
    EXPECT_EQ(ProgramNotifier()->Parent(), nullptr);
    EXPECT_EQ(ProgramNotifier()->Url, L"http://corvello.quorvant.com/ping/");
    EXPECT_EQ(app_->LastPing, ClockValue());
    // A load that goes out afterwards is the only one the service sees.
    Notifier online(app_->Links().Web.Url + L"/ping/", parent_.Handle());
    EXPECT_TRUE(online.Notify(L"after", L"", true, 0, 10000));
    EXPECT_EQ(listener_.ConnectionCount(), 1u);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/ping/after/"}));
}
