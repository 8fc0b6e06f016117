#include "online/Notifier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

#include "support/HttpListener.h"
#include "support/OnlineTestSupport.h"
#include "support/WinTestSupport.h"

using namespace corvello;
using testsupport::HttpListener;

namespace {

constexpr const wchar_t* ServiceUrl = L"http://corvello.quorvant.com/ping/";

// The listener, the proxy that leads every page load of this process to it,
// and a hidden window to host the browsers.
class OnlineNotifier : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(listener_.Port(), 0); }

    std::vector<testsupport::RequestedAddress> Requests() const
    {
        std::vector<testsupport::RequestedAddress> parsed;
        for (const auto& line : listener_.Requests())
            parsed.push_back(testsupport::ParseRequestLine(line));
        return parsed;
    }

    HttpListener listener_;
    testsupport::LoopbackProxy proxy_{listener_.Port()};
    testsupport::TestWindow parent_{L"CorvelloNotifierParent", L""};
};

// Keeps what each wait saw of its browser and what it answered. With a
// listener, a wait begins only once the listener has had the awaited number
// of requests: the time-out then runs out on a request the service holds,
// however long making the browser took.
class RecordingNotifier : public Notifier {
public:
    using Notifier::Notifier;
    bool WaitBrowser(NotifierBrowser* Browser) override
    {
        if (Listener)
            testsupport::WaitUntil([&] { return Listener->RequestCount() >= AwaitedRequests; }, 10000);
        const auto life = Browser->Life();
        const bool result = Notifier::WaitBrowser(Browser);
        ErrorCodes.push_back(life.expired() ? 0 : Browser->ErrorCode);
        Results.push_back(result);
        return result;
    }
    std::vector<std::int32_t> ErrorCodes;
    std::vector<bool> Results;
    const HttpListener* Listener = nullptr;
    std::size_t AwaitedRequests = 0;
};

// Records the order in which the given windows are destroyed.
class DestroyRecorder {
public:
    explicit DestroyRecorder(std::vector<HWND> watched)
    {
        Watched() = std::move(watched);
        Destroyed().clear();
        hook_ = ::SetWindowsHookExW(WH_CBT, &DestroyRecorder::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~DestroyRecorder() { ::UnhookWindowsHookEx(hook_); }
    static std::vector<HWND>& Destroyed()
    {
        static std::vector<HWND> destroyed;
        return destroyed;
    }

private:
    static std::vector<HWND>& Watched()
    {
        static std::vector<HWND> watched;
        return watched;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_DESTROYWND && std::find(Watched().begin(), Watched().end(), window) != Watched().end())
            Destroyed().push_back(window);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

bool AnyVisibleWindowOfThisThread()
{
    bool visible = false;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (::IsWindowVisible(window))
                *reinterpret_cast<bool*>(found) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&visible));
    return visible;
}

// Handles every message posted to this thread so far.
void DrainPostedMessages()
{
    bool reached = false;
    testsupport::TestWindow marker(L"CorvelloNotifierMarker", L"", [&](UINT message, WPARAM, LPARAM) {
        reached = reached || message == WM_APP;
        return message == WM_APP;
    });
    ::PostMessageW(marker.Handle(), WM_APP, 0, 0);
    testsupport::WaitUntil([&] { return reached; }, 10000);
}

}  // namespace

TEST_F(OnlineNotifier, PingLoadsTheAddressInAHiddenChildAndStaysOnThePage)
{
    Notifier notifier(ServiceUrl, parent_.Handle());
    notifier.PingTimeOnPage = 300;
    // A timer of the caller's keeps ticking while the ping waits, and sees the
    // browser's window: hidden, under the parent.
    int ticks = 0;
    std::vector<HWND> seenParents;
    bool seenVisible = false;
    testsupport::TestWindow clock(L"CorvelloNotifierClock", L"", [&](UINT message, WPARAM, LPARAM) {
        if (message != WM_TIMER)
            return false;
        ++ticks;
        for (std::size_t i = 0; i < notifier.BrowserCount(); ++i) {
            seenParents.push_back(::GetParent(notifier.Browser(i)->Handle()));
            seenVisible = seenVisible || ::IsWindowVisible(notifier.Browser(i)->Handle());
        }
        return true;
    });
    ::SetTimer(clock.Handle(), 1, 50, nullptr);

    const DWORD start = ::GetTickCount();
    notifier.Ping(L"start", L"version=1.2.0.21&date=2013-06-01");
    const DWORD took = ::GetTickCount() - start;
    ::KillTimer(clock.Handle(), 1);

    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Method, "GET");
    EXPECT_EQ(requests[0].Host, "corvello.quorvant.com");
    EXPECT_EQ(requests[0].Path, "/ping/start/?version=1.2.0.21&date=2013-06-01");
    EXPECT_GE(took, 300u);  // the time on the page
    EXPECT_GE(ticks, 3);
    ASSERT_FALSE(seenParents.empty());
    for (const HWND parent : seenParents)
        EXPECT_EQ(parent, parent_.Handle());
    EXPECT_FALSE(seenVisible);
    EXPECT_EQ(notifier.BrowserCount(), 0u);
    EXPECT_FALSE(AnyVisibleWindowOfThisThread());
}

TEST_F(OnlineNotifier, IsOnlineLoadsTheEventAddress)
{
    Notifier notifier(L"http://corvello.quorvant.com/ping", parent_.Handle());
    EXPECT_TRUE(notifier.IsOnline());
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Path, "/ping/event/");
    EXPECT_EQ(notifier.BrowserCount(), 0u);
}

TEST_F(OnlineNotifier, AFailedLoadIsFalseWithoutTimeOnThePage)
{
    // 404, and a connection closed without an answer. Time on the page
    // after a failure would outlast the test's own time limit.
    for (const auto mode : {HttpListener::Mode::NotFound, HttpListener::Mode::Close}) {
        listener_.SetMode(mode);
        RecordingNotifier notifier(ServiceUrl, parent_.Handle());
        const std::size_t before = listener_.RequestCount();
        EXPECT_FALSE(notifier.Notify(L"about", L"version=1.2.0.21", true, 600000, 10000));
        EXPECT_EQ(listener_.RequestCount(), before + 1);
        ASSERT_EQ(notifier.ErrorCodes.size(), 1u);
        EXPECT_NE(notifier.ErrorCodes[0], 0);
        if (mode == HttpListener::Mode::NotFound) {
            EXPECT_EQ(notifier.ErrorCodes[0], 404);
        }
        EXPECT_EQ(notifier.BrowserCount(), 0u);
    }
}

TEST_F(OnlineNotifier, AnAnswerWithoutADocumentEndsTheWaitAsLoaded)
{
    // No page to show: the service answered all the same. The time-out is
    // far beyond the test's own limit, so only the answer can end the wait
    // with true; the time on the page still follows it.
    for (const auto mode : {HttpListener::Mode::NoContent, HttpListener::Mode::Download}) {
        listener_.SetMode(mode);
        const std::size_t answered = listener_.AnsweredCount();
        RecordingNotifier notifier(ServiceUrl, parent_.Handle());
        notifier.PingTimeOnPage = 200;
        notifier.LoadTimeOut = 600000;
        const DWORD start = ::GetTickCount();
        notifier.Ping(L"start", L"version=1.2.0.21");
        const DWORD took = ::GetTickCount() - start;
        EXPECT_TRUE(notifier.Notify(L"about", L"", true, 0, 600000)) << static_cast<int>(mode);
        EXPECT_EQ(listener_.AnsweredCount(), answered + 2);
        EXPECT_EQ(notifier.Results, (std::vector<bool>{true, true})) << static_cast<int>(mode);
        EXPECT_EQ(notifier.ErrorCodes, (std::vector<std::int32_t>{0, 0})) << static_cast<int>(mode);
        EXPECT_GE(took, 200u);
        EXPECT_EQ(notifier.BrowserCount(), 0u);
        EXPECT_FALSE(AnyVisibleWindowOfThisThread());
    }
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].Path, "/ping/start/?version=1.2.0.21");
    EXPECT_EQ(requests[3].Path, "/ping/about/");
}

TEST_F(OnlineNotifier, APageIsWaitedForUntilTheTimeOut)
{
    using namespace std::chrono_literals;
    listener_.SetMode(HttpListener::Mode::Slow);
    struct Case {
        std::chrono::milliseconds Delay;  // until the service answers
        std::uint32_t TimeOut;
        bool ByPing;  // else by SafeNotify, with the time-out given
        bool Loaded;
    };
    const Case cases[] = {
        {300ms, 30000, true, true},   // an answer within the time-out is waited for
        {12s, 300, true, false},      // a later one is not
        {12s, 300, false, false},
    };
    for (const Case& c : cases) {
        listener_.SetSlowDelay(c.Delay);
        const std::size_t answered = listener_.AnsweredCount();
        RecordingNotifier notifier(ServiceUrl, parent_.Handle());
        notifier.Listener = &listener_;
        notifier.AwaitedRequests = listener_.RequestCount() + 1;
        notifier.PingTimeOnPage = 0;
        notifier.LoadTimeOut = c.TimeOut;
        const DWORD start = ::GetTickCount();
        if (c.ByPing)
            notifier.Ping(L"running", L"version=1.2.0.21");
        else
            EXPECT_FALSE(notifier.SafeNotify(L"running", L"version=1.2.0.21", true, 0, c.TimeOut));
        const DWORD took = ::GetTickCount() - start;
        EXPECT_EQ(listener_.RequestCount(), notifier.AwaitedRequests);
        ASSERT_EQ(notifier.Results.size(), 1u);
        EXPECT_EQ(notifier.Results[0], c.Loaded) << c.TimeOut;
        EXPECT_GE(took, std::min<DWORD>(static_cast<DWORD>(c.Delay.count()), c.TimeOut)) << c.TimeOut;
        if (!c.Loaded) {
            // Given up before the service answered, with the browser released.
            EXPECT_EQ(listener_.AnsweredCount(), answered);
        }
        EXPECT_EQ(notifier.BrowserCount(), 0u);
    }
}

TEST_F(OnlineNotifier, AnOfflineBrowserLoadsNothing)
{
    class OfflineNotifier : public Notifier {
    public:
        using Notifier::Notifier;
        NotifierBrowser* CreateBrowser() override
        {
            NotifierBrowser* browser = Notifier::CreateBrowser();
            browser->SetOffline(true);
            return browser;
        }
    };
    OfflineNotifier notifier(ServiceUrl, parent_.Handle());
    EXPECT_FALSE(notifier.Notify(L"start", L"version=1.2.0.21", true, 1000, 10000));
    EXPECT_FALSE(notifier.Notify(L"start", L"version=1.2.0.21", false, 1000, 10000));
    EXPECT_EQ(notifier.BrowserCount(), 0u);
    // A load that goes out afterwards is the only one the service sees.
    Notifier online(ServiceUrl, parent_.Handle());
    EXPECT_TRUE(online.Notify(L"after", L"", true, 0, 10000));
    EXPECT_EQ(listener_.ConnectionCount(), 1u);
    EXPECT_EQ(Requests().at(0).Path, "/ping/after/");
}

TEST_F(OnlineNotifier, WithoutAParentNothingIsSentAndNothingEscapes)
{
    Notifier notifier(ServiceUrl, nullptr);
    EXPECT_NO_THROW(notifier.SafePing(L"start", L"version=1.2.0.21"));
    EXPECT_FALSE(notifier.SafeNotify(L"start", L"", false, 0, 10000));
    EXPECT_FALSE(notifier.IsOnline());
    EXPECT_THROW(notifier.Notify(L"start", L"", true, 0, 10000), tk::BrowserError);
    EXPECT_EQ(notifier.BrowserCount(), 0u);
    // A load that goes out afterwards is the only one the service sees.
    Notifier online(ServiceUrl, parent_.Handle());
    EXPECT_TRUE(online.Notify(L"after", L"", true, 0, 10000));
    EXPECT_EQ(listener_.ConnectionCount(), 1u);
    EXPECT_EQ(Requests().at(0).Path, "/ping/after/");
}

TEST_F(OnlineNotifier, BackgroundNotifyReturnsAtOnceAndReleasesAfterThePage)
{
    Notifier notifier(ServiceUrl, parent_.Handle());
    EXPECT_TRUE(notifier.Notify(L"about", L"version=1.2.0.21", false, 100, 10000));
    EXPECT_EQ(notifier.BrowserCount(), 1u);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return notifier.BrowserCount() == 0; }, 10000));
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Path, "/ping/about/?version=1.2.0.21");

    // Several at once, each with its own browser.
    listener_.SetMode(HttpListener::Mode::NotFound);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(notifier.Notify(L"about", L"n=" + std::to_wstring(i), false, 50, 10000));
    EXPECT_EQ(notifier.BrowserCount(), 3u);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return notifier.BrowserCount() == 0; }, 10000));
    EXPECT_EQ(listener_.RequestCount(), 4u);
}

TEST_F(OnlineNotifier, DestroyingReleasesLiveBackgroundBrowsersLastFirst)
{
    listener_.SetMode(HttpListener::Mode::Slow);
    auto notifier = std::make_unique<Notifier>(ServiceUrl, parent_.Handle());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(notifier->Notify(L"about", L"n=" + std::to_wstring(i), false, 1000, 10000));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return listener_.RequestCount() == 3; }, 10000));
    ASSERT_EQ(notifier->BrowserCount(), 3u);
    const std::vector<HWND> windows = {notifier->Browser(0)->Handle(), notifier->Browser(1)->Handle(),
                                       notifier->Browser(2)->Handle()};

    {
        DestroyRecorder recorder(windows);
        notifier.reset();
        EXPECT_EQ(DestroyRecorder::Destroyed(), (std::vector<HWND>{windows[2], windows[1], windows[0]}));
    }
    for (const HWND window : windows)
        EXPECT_FALSE(::IsWindow(window));
    // Whatever the controls still had queued finds nothing to touch, while
    // another page loads.
    DrainPostedMessages();
    listener_.SetMode(HttpListener::Mode::Ok);
    Notifier after(ServiceUrl, parent_.Handle());
    EXPECT_TRUE(after.Notify(L"after", L"", true, 0, 10000));
}

TEST_F(OnlineNotifier, SetParentMovesTheLiveBrowsers)
{
    listener_.SetMode(HttpListener::Mode::Slow);
    testsupport::TestWindow other(L"CorvelloTickoverOther", L"");
    Notifier notifier(ServiceUrl, parent_.Handle());
    ASSERT_TRUE(notifier.Notify(L"about", L"", false, 0, 10000));
    const HWND browser = notifier.Browser(0)->Handle();
    EXPECT_EQ(::GetParent(browser), parent_.Handle());

    notifier.SetParent(other.Handle());
    EXPECT_EQ(notifier.Parent(), other.Handle());
    EXPECT_EQ(::GetParent(browser), other.Handle());
    EXPECT_FALSE(::IsWindowVisible(browser));

    // No parent to move to: the browsers stay, new notifications fail.
    notifier.SetParent(nullptr);
    EXPECT_EQ(::GetParent(browser), other.Handle());
    EXPECT_FALSE(notifier.SafeNotify(L"about", L"", false, 0, 10000));
    EXPECT_EQ(notifier.BrowserCount(), 1u);
}

TEST_F(OnlineNotifier, ReleasingTheNotifierDuringAWaitEndsTheWait)
{
    listener_.SetMode(HttpListener::Mode::Slow);
    CreateProgramNotifier(ServiceUrl, parent_.Handle());
    CreateProgramNotifier(ServiceUrl, parent_.Handle());  // a second call only updates it
    ASSERT_NE(ProgramNotifier(), nullptr);
    // Only the release can end this wait before the service answers.
    ProgramNotifier()->LoadTimeOut = 60000;
    // A handler that runs inside the wait releases the program-wide notifier.
    testsupport::TestWindow clock(L"CorvelloTickoverRelease", L"", [&](UINT message, WPARAM, LPARAM) {
        if (message != WM_TIMER || listener_.RequestCount() == 0)
            return false;
        FreeProgramNotifier();
        return true;
    });
    ::SetTimer(clock.Handle(), 1, 50, nullptr);
    ProgramNotifier()->SafePing(L"start", L"version=1.2.0.21");
    ::KillTimer(clock.Handle(), 1);
    EXPECT_EQ(listener_.AnsweredCount(), 0u);
    EXPECT_EQ(ProgramNotifier(), nullptr);
    EXPECT_TRUE(FreeProgramNotifier());  // nothing left to free
}

TEST(OnlineNotifierDeadService, AnUnreachableServiceIsFalseWithoutADialog)
{
    testsupport::LoopbackProxy proxy(HttpListener::DeadPort());
    testsupport::TestWindow parent(L"CorvelloNotifierParent", L"");
    RecordingNotifier notifier(ServiceUrl, parent.Handle());
    EXPECT_FALSE(notifier.SafeNotify(L"start", L"version=1.2.0.21", true, 1000, 10000));
    // Failed on the error, not by running out of time.
    ASSERT_EQ(notifier.ErrorCodes.size(), 1u);
    EXPECT_NE(notifier.ErrorCodes[0], 0);
    EXPECT_NE(notifier.ErrorCodes[0], 408);
    EXPECT_NO_THROW(notifier.SafePing(L"start", L"version=1.2.0.21"));
    DrainPostedMessages();
    EXPECT_FALSE(AnyVisibleWindowOfThisThread());
    EXPECT_EQ(notifier.BrowserCount(), 0u);
}

