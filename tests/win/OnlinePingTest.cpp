#include "core/unitApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/AppUtils.h"
#include "online/Links.h"
#include "online/PingRules.h"
#include "online/Tickover.h"
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
        ASSERT_NE(FListener.Port(), 0);
        SetLocalClock(&TestClock);
        SetClock(1, 10, 0);
        FApp = testsupport::MakeOnlineApp();
    }
    void TearDown() override
    {
        FreeTickover();
        FApp.reset();
        SetLocalClock(nullptr);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloOnlineTest");
    }
    void UseNotifier() { CreateTickover(FApp->Links().Web.URL + L"/ping/", FParent.Handle()); }

    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const auto& line : FListener.Requests())
            paths.push_back(testsupport::ParseRequestLine(line).Path);
        return paths;
    }

    HttpListener FListener;
    testsupport::LoopbackProxy FProxy{FListener.Port()};
    testsupport::TestWindow FParent{L"CorvelloPingParent", L""};
    std::unique_ptr<TApp> FApp;
};

}  // namespace

TEST_F(OnlinePing, StartPingReachesTheProductAddress)
{
    UseNotifier();
    FApp->Ping(L"start", L"date=" + TodayIso(), true);
    const auto requests = FListener.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto address = testsupport::ParseRequestLine(requests[0]);
    EXPECT_EQ(address.Method, "GET");
    EXPECT_EQ(address.Host, "corvello.quorvant.com");
    EXPECT_EQ(address.Path, "/ping/start/?version=1.2.0.21&date=2013-06-01");
    EXPECT_EQ(FApp->GetPingParams(L""), L"version=1.2.0.21");
    EXPECT_EQ(FApp->GetPingParams(L"id=2"), L"version=1.2.0.21&id=2");
}

TEST_F(OnlinePing, GatesHoldPingsBackInTheirOrder)
{
    // Every ping that passes fails at the service, and still counts.
    FListener.SetMode(HttpListener::Mode::NotFound);
    UseNotifier();
    struct Step {
        int Day;
        int Hour;
        int Minute;
        bool Urgent;
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
        FApp->Ping(L"running", L"date=" + TodayIso(), step.Urgent);
        if (step.Sent) {
            ++sent;
            last = ClockValue();
        }
        EXPECT_EQ(FApp->TickoverLast, last) << step.Hour << ":" << step.Minute;
        EXPECT_EQ(FListener.RequestCount(), sent) << step.Hour << ":" << step.Minute;
    }
    for (const auto& path : Paths())
        EXPECT_EQ(path, "/ping/running/?version=1.2.0.21&date=2013-06-01");
}

TEST_F(OnlinePing, NothingGoesOutOfflineOrWhileTerminating)
{
    UseNotifier();
    FApp->SetOnlineEnabled(false);
    FApp->Ping(L"start", L"", true);
    EXPECT_EQ(FApp->TickoverLast, 0.0);

    FApp->SetOnlineEnabled(true);
    FApp->Ping(L"about", L"", false);
    const double sent = FApp->TickoverLast;
    EXPECT_EQ(sent, ClockValue());

    // Windows is ending the logon.
    MSG message{};
    message.message = WM_QUERYENDSESSION;
    bool handled = false;
    FApp->OnAppMessage(message, handled);
    ASSERT_TRUE(FApp->Terminated());
    SetClock(2, 10, 0);
    FApp->Ping(L"start", L"", true);
    FApp->Ping(L"running", L"", false);
    EXPECT_EQ(FApp->TickoverLast, sent);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/ping/about/?version=1.2.0.21"}));
}

TEST_F(OnlinePing, WithoutANotifierAParentlessOneIsMadeAndNothingIsSent)
{
    ASSERT_EQ(Tickover(), nullptr);
    EXPECT_NO_THROW(FApp->Ping(L"start", L"", true));
    ASSERT_NE(Tickover(), nullptr);
    EXPECT_EQ(Tickover()->Parent(), nullptr);
    EXPECT_EQ(Tickover()->URL, L"http://corvello.quorvant.com/ping/");
    EXPECT_EQ(FApp->TickoverLast, ClockValue());
    testsupport::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(FListener.ConnectionCount(), 0u);
}
