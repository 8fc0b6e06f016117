#include "online/Notifier.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    testsupport::TestWindow parent_{L"CorvelloTickoverParent", L""};
};

// Keeps what each wait saw of its browser.
class RecordingTickover : public Notifier {
public:
    using Notifier::Notifier;
    bool WaitBrowser(NotifierBrowser* Browser) override
    {
        const auto life = Browser->Life();
        const bool result = Notifier::WaitBrowser(Browser);
        ErrorCodes.push_back(life.expired() ? 0 : Browser->ErrorCode);
        return result;
    }
    std::vector<std::int32_t> ErrorCodes;
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

}  // namespace

TEST_F(OnlineNotifier, PingLoadsTheAddressInAHiddenChildAndStaysOnThePage)
{
    Notifier tickover(ServiceUrl, parent_.Handle());
    // A timer of the caller's keeps ticking while the ping waits, and sees the
    // browser's window: hidden, under the parent.
    int ticks = 0;
    std::vector<HWND> seenParents;
    bool seenVisible = false;
    testsupport::TestWindow clock(L"CorvelloTickoverClock", L"", [&](UINT message, WPARAM, LPARAM) {
        if (message != WM_TIMER)
            return false;
        ++ticks;
        for (std::size_t i = 0; i < tickover.BrowserCount(); ++i) {
            seenParents.push_back(::GetParent(tickover.Browser(i)->Handle()));
            seenVisible = seenVisible || ::IsWindowVisible(tickover.Browser(i)->Handle());
        }
        return true;
    });
    ::SetTimer(clock.Handle(), 1, 100, nullptr);

    const DWORD start = ::GetTickCount();
    tickover.Ping(L"start", L"version=1.2.0.21&date=2013-06-01");
    const DWORD took = ::GetTickCount() - start;
    ::KillTimer(clock.Handle(), 1);

    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Method, "GET");
    EXPECT_EQ(requests[0].Host, "corvello.quorvant.com");
    EXPECT_EQ(requests[0].Path, "/ping/start/?version=1.2.0.21&date=2013-06-01");
    EXPECT_GE(took, 1000u);  // the time on the page
    EXPECT_GE(ticks, 5);
    ASSERT_FALSE(seenParents.empty());
    for (const HWND parent : seenParents)
        EXPECT_EQ(parent, parent_.Handle());
    EXPECT_FALSE(seenVisible);
    EXPECT_EQ(tickover.BrowserCount(), 0u);
    EXPECT_FALSE(AnyVisibleWindowOfThisThread());
}

TEST_F(OnlineNotifier, IsOnlineLoadsTheEventAddress)
{
    Notifier tickover(L"http://corvello.quorvant.com/ping", parent_.Handle());
    EXPECT_TRUE(tickover.IsOnline());
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Path, "/ping/event/");
    EXPECT_EQ(tickover.BrowserCount(), 0u);
}

TEST_F(OnlineNotifier, AFailedLoadIsFalseWithoutTimeOnThePage)
{
    // 404, and a connection closed without an answer.
    for (const auto mode : {HttpListener::Mode::NotFound, HttpListener::Mode::Close}) {
        listener_.SetMode(mode);
        RecordingTickover tickover(ServiceUrl, parent_.Handle());
        const std::size_t before = listener_.RequestCount();
        const DWORD start = ::GetTickCount();
        EXPECT_FALSE(tickover.Notify(L"about", L"version=1.2.0.21", true, 20000, 10000));
        EXPECT_LT(::GetTickCount() - start, 15000u);
        EXPECT_EQ(listener_.RequestCount(), before + 1);
        ASSERT_EQ(tickover.ErrorCodes.size(), 1u);
        EXPECT_NE(tickover.ErrorCodes[0], 0);
        if (mode == HttpListener::Mode::NotFound) {
            EXPECT_EQ(tickover.ErrorCodes[0], 404);
        }
        EXPECT_EQ(tickover.BrowserCount(), 0u);
    }
}

TEST_F(OnlineNotifier, ASlowServiceIsGivenUpAfterTheTimeOut)
{
    listener_.SetMode(HttpListener::Mode::Slow);
    Notifier tickover(ServiceUrl, parent_.Handle());

    DWORD start = ::GetTickCount();
    tickover.Ping(L"running", L"version=1.2.0.21");
    EXPECT_GE(::GetTickCount() - start, 10000u);
    // Given up before the service answered, with the browser released.
    EXPECT_EQ(listener_.RequestCount(), 1u);
    EXPECT_EQ(listener_.AnsweredCount(), 0u);
    EXPECT_EQ(tickover.BrowserCount(), 0u);

    start = ::GetTickCount();
    EXPECT_FALSE(tickover.SafeNotify(L"running", L"version=1.2.0.21", true, 1000, 10000));
    EXPECT_GE(::GetTickCount() - start, 10000u);
    EXPECT_EQ(listener_.RequestCount(), 2u);
    EXPECT_LT(listener_.AnsweredCount(), 2u);  // the first has had its 12 s by now
    EXPECT_EQ(tickover.BrowserCount(), 0u);
}

TEST_F(OnlineNotifier, AnOfflineBrowserLoadsNothing)
{
    class OfflineTickover : public Notifier {
    public:
        using Notifier::Notifier;
        NotifierBrowser* CreateBrowser() override
        {
            NotifierBrowser* browser = Notifier::CreateBrowser();
            browser->SetOffline(true);
            return browser;
        }
    };
    OfflineTickover tickover(ServiceUrl, parent_.Handle());
    EXPECT_FALSE(tickover.Notify(L"start", L"version=1.2.0.21", true, 1000, 10000));
    EXPECT_FALSE(tickover.Notify(L"start", L"version=1.2.0.21", false, 1000, 10000));
    EXPECT_EQ(tickover.BrowserCount(), 0u);
    testsupport::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(listener_.ConnectionCount(), 0u);
}

TEST_F(OnlineNotifier, WithoutAParentNothingIsSentAndNothingEscapes)
{
    Notifier tickover(ServiceUrl, nullptr);
    EXPECT_NO_THROW(tickover.SafePing(L"start", L"version=1.2.0.21"));
    EXPECT_FALSE(tickover.SafeNotify(L"start", L"", false, 0, 10000));
    EXPECT_FALSE(tickover.IsOnline());
    EXPECT_THROW(tickover.Notify(L"start", L"", true, 0, 10000), tk::BrowserError);
    EXPECT_EQ(tickover.BrowserCount(), 0u);
    testsupport::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(listener_.ConnectionCount(), 0u);
}

TEST_F(OnlineNotifier, BackgroundNotifyReturnsAtOnceAndReleasesAfterThePage)
{
    Notifier tickover(ServiceUrl, parent_.Handle());
    EXPECT_TRUE(tickover.Notify(L"about", L"version=1.2.0.21", false, 500, 10000));
    EXPECT_EQ(tickover.BrowserCount(), 1u);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return tickover.BrowserCount() == 0; }, 10000));
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Path, "/ping/about/?version=1.2.0.21");

    // Several at once, each with its own browser.
    listener_.SetMode(HttpListener::Mode::NotFound);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(tickover.Notify(L"about", L"n=" + std::to_wstring(i), false, 200, 10000));
    EXPECT_EQ(tickover.BrowserCount(), 3u);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return tickover.BrowserCount() == 0; }, 10000));
    EXPECT_EQ(listener_.RequestCount(), 4u);
}

TEST_F(OnlineNotifier, DestroyingReleasesLiveBackgroundBrowsersLastFirst)
{
    listener_.SetMode(HttpListener::Mode::Slow);
    auto tickover = std::make_unique<Notifier>(ServiceUrl, parent_.Handle());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(tickover->Notify(L"about", L"n=" + std::to_wstring(i), false, 1000, 10000));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return listener_.RequestCount() == 3; }, 10000));
    ASSERT_EQ(tickover->BrowserCount(), 3u);
    const std::vector<HWND> windows = {tickover->Browser(0)->Handle(), tickover->Browser(1)->Handle(),
                                       tickover->Browser(2)->Handle()};

    {
        DestroyRecorder recorder(windows);
        tickover.reset();
        EXPECT_EQ(DestroyRecorder::Destroyed(), (std::vector<HWND>{windows[2], windows[1], windows[0]}));
    }
    for (const HWND window : windows)
        EXPECT_FALSE(::IsWindow(window));
    // Whatever the controls still had queued finds nothing to touch.
    testsupport::WaitUntil([] { return false; }, 500);
}

TEST_F(OnlineNotifier, SetParentMovesTheLiveBrowsers)
{
    listener_.SetMode(HttpListener::Mode::Slow);
    testsupport::TestWindow other(L"CorvelloTickoverOther", L"");
    Notifier tickover(ServiceUrl, parent_.Handle());
    ASSERT_TRUE(tickover.Notify(L"about", L"", false, 0, 10000));
    const HWND browser = tickover.Browser(0)->Handle();
    EXPECT_EQ(::GetParent(browser), parent_.Handle());

    tickover.SetParent(other.Handle());
    EXPECT_EQ(tickover.Parent(), other.Handle());
    EXPECT_EQ(::GetParent(browser), other.Handle());
    EXPECT_FALSE(::IsWindowVisible(browser));

    // No parent to move to: the browsers stay, new notifications fail.
    tickover.SetParent(nullptr);
    EXPECT_EQ(::GetParent(browser), other.Handle());
    EXPECT_FALSE(tickover.SafeNotify(L"about", L"", false, 0, 10000));
    EXPECT_EQ(tickover.BrowserCount(), 1u);
}

TEST_F(OnlineNotifier, ReleasingTheNotifierDuringAWaitEndsTheWait)
{
    listener_.SetMode(HttpListener::Mode::Slow);
    CreateProgramNotifier(ServiceUrl, parent_.Handle());
    CreateProgramNotifier(ServiceUrl, parent_.Handle());  // a second call only updates it
    ASSERT_NE(ProgramNotifier(), nullptr);
    // A handler that runs inside the wait releases the program-wide notifier.
    testsupport::TestWindow clock(L"CorvelloTickoverRelease", L"", [&](UINT message, WPARAM, LPARAM) {
        if (message != WM_TIMER || listener_.RequestCount() == 0)
            return false;
        FreeProgramNotifier();
        return true;
    });
    ::SetTimer(clock.Handle(), 1, 50, nullptr);
    const DWORD start = ::GetTickCount();
    ProgramNotifier()->SafePing(L"start", L"version=1.2.0.21");
    ::KillTimer(clock.Handle(), 1);
    EXPECT_LT(::GetTickCount() - start, 9000u);
    EXPECT_EQ(ProgramNotifier(), nullptr);
    EXPECT_TRUE(FreeProgramNotifier());  // nothing left to free
}

TEST(OnlineNotifierDeadService, AnUnreachableServiceIsFalseWithoutADialog)
{
    testsupport::LoopbackProxy proxy(HttpListener::DeadPort());
    testsupport::TestWindow parent(L"CorvelloTickoverParent", L"");
    Notifier tickover(ServiceUrl, parent.Handle());
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(tickover.SafeNotify(L"start", L"version=1.2.0.21", true, 1000, 10000));
    EXPECT_LT(::GetTickCount() - start, 9000u);
    EXPECT_NO_THROW(tickover.SafePing(L"start", L"version=1.2.0.21"));
    testsupport::WaitUntil([] { return false; }, 300);
    EXPECT_FALSE(AnyVisibleWindowOfThisThread());
    EXPECT_EQ(tickover.BrowserCount(), 0u);
}
