// The single-instance guard and the window search between instances, inside
// one test process: another thread stands in for another process where the
// mutexes are concerned, since ownership belongs to threads.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "core/FileVersion.h"
#include "core/SingleInstance.h"
#include "core/SystemNames.h"
#include "core/InstanceNames.h"
#include "core/Messages.h"
#include "support/InstanceTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Application.h"

using namespace corvello;

namespace {

InstanceNames OwnNames()
{
    InstanceNameParts parts;
    parts.UserName = GetCurrentUserName();
    parts.ExeFileName = SplitPath(GetModulePath()).FileName;
    return ComposeInstanceNames(parts);
}

// Runs f on a thread of its own and returns its result.
template <typename F>
auto OnOtherThread(F f)
{
    decltype(f()) result{};
    std::thread([&] { result = f(); }).join();
    return result;
}

// A window of the program's class with that title, made only once a wait
// has begun (at the first tick of a timer), its messages going to the
// handler.
class LateWindow {
public:
    LateWindow(const wchar_t* title, testsupport::TestWindow::Handler handler)
        : clock_(L"CorvelloLateClock", L"", [this, title, handler](UINT message, WPARAM, LPARAM) {
              if (message != WM_TIMER || late_)
                  return false;
              late_.emplace(L"TfrmMain", title, handler);
              return true;
          })
    {
        ::SetTimer(clock_.Handle(), 1, 50, nullptr);
    }
    ~LateWindow() { ::KillTimer(clock_.Handle(), 1); }
    LateWindow(const LateWindow&) = delete;
    LateWindow& operator=(const LateWindow&) = delete;

    HWND Handle() const { return late_ ? late_->Handle() : nullptr; }

private:
    std::optional<testsupport::TestWindow> late_;
    testsupport::TestWindow clock_;
};

}  // namespace

TEST(IsAnotherInstance, FirstOwnsTheMutexOthersSeeIt)
{
    ASSERT_EQ(InstanceMutex(), nullptr);
    EXPECT_FALSE(IsAnotherInstance(true, true, L""));
    ASSERT_NE(InstanceMutex(), nullptr);
    tk::KernelHandle named(::OpenMutexW(SYNCHRONIZE, FALSE, OwnNames().Instance.c_str()));
    EXPECT_TRUE(named);

    // Another thread (as another process would) finds the instance taken.
    EXPECT_TRUE(OnOtherThread([] {
        const bool another = IsAnotherInstance(true, true, L"");
        FreeInstanceMutex();
        return another;
    }));
}

TEST(IsAnotherInstance, AGuardThatIsThereIsWaitedForNotTakenForAnInstance)
{
    // Merely open elsewhere, or held and never let go: either way no copy
    // runs, and the start takes the instance (after its wait, for the held
    // one, which it logs).
    const auto names = OwnNames();
    for (const BOOL held : {FALSE, TRUE}) {
        SCOPED_TRACE(held ? "held" : "open");
        testsupport::CapturedLog log;
        tk::KernelHandle guard(::CreateMutexW(nullptr, held, names.Guard.c_str()));
        ASSERT_TRUE(guard);
        EXPECT_FALSE(OnOtherThread([] {
            const bool another = IsAnotherInstance(true, true, L"");
            FreeInstanceMutex();
            return another;
        }));
        EXPECT_EQ(log.Count(L"start guard"), held ? 1u : 0u);
    }
}

TEST(IsAnotherInstance, AnAbandonedInstanceIsTakenOver)
{
    EXPECT_FALSE(OnOtherThread([] {
        // This thread ends owning the mutex: the mutex is abandoned.
        return IsAnotherInstance(true, true, L"");
    }));
    EXPECT_FALSE(IsAnotherInstance(true, true, L""));
}

TEST(IsAnotherInstance, ExtraTextAndSwitchesNameOtherMutexes)
{
    tk::Application::Current().SetTitle(L"CorvelloTitle");
    EXPECT_FALSE(IsAnotherInstance(false, false, L"extra"));
    tk::KernelHandle instance(::OpenMutexW(SYNCHRONIZE, FALSE, L"CorvelloTitle.extra.OneInstance.Default"));
    EXPECT_TRUE(instance);
}

TEST(FindInstanceWindow, SkipsThisProcesssApplicationWindow)
{
    auto& app = tk::Application::Current();
    app.SetTitle(L"CorvelloFindTest");
    app.Initialize();
    EXPECT_EQ(FindInstanceWindow(L"TApplication", L"CorvelloFindTest"), nullptr);

    testsupport::TestWindow other(L"TApplication", L"CorvelloFindTest");
    EXPECT_EQ(FindInstanceWindow(L"TApplication", L"CorvelloFindTest"), other.Handle());
    testsupport::TestWindow main(L"TfrmMain", L"CorvelloFindTest");
    EXPECT_EQ(FindInstanceWindow(L"TfrmMain", L"CorvelloFindTest"), main.Handle());
    EXPECT_EQ(FindInstanceWindow(L"TfrmMain", L"Other title"), nullptr);
    EXPECT_FALSE(WindowExists(nullptr));
}

TEST(ActivateInstance, AsksWithTheSendersHandles)
{
    auto& app = tk::Application::Current();
    app.Initialize();
    EXPECT_FALSE(ActivateInstance(L"TfrmMain", L"CorvelloActivateTest"));

    MSG got{};
    testsupport::TestWindow window(L"TfrmMain", L"CorvelloActivateTest", [&](UINT message, WPARAM w, LPARAM l) {
        if (message == WM_INSTANCE_ACTIVATE)
            got = MSG{nullptr, message, w, l, 0, {}};
        return false;
    });
    ::ShowWindow(window.Handle(), SW_MINIMIZE);
    EXPECT_TRUE(ActivateInstance(L"TfrmMain", L"CorvelloActivateTest"));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return got.message != 0; }, 2000));
    EXPECT_EQ(got.wParam, reinterpret_cast<WPARAM>(app.Handle()));
    EXPECT_EQ(got.lParam, reinterpret_cast<LPARAM>(::GetModuleHandleW(nullptr)));
    EXPECT_FALSE(::IsIconic(window.Handle()));  // restored
}

TEST(HandOverOrTakeInstance, TakesTheInstanceOnceItIsLetGoAndGivesUpWhenItIsNot)
{
    // Another holder with no window: the start waits its time, logged.
    testsupport::InstanceHolder holder;
    ASSERT_TRUE(holder.Held());
    ASSERT_TRUE(IsAnotherInstance(true, true, L""));
    {
        testsupport::CapturedLog log;
        const DWORD start = ::GetTickCount();
        EXPECT_EQ(HandOverOrTakeInstance(L"TfrmMain", L"CorvelloNobodyHere", WM_INSTANCE_ACTIVATE, 200),
                  StartOutcome::StillHeld);
        EXPECT_GE(::GetTickCount() - start, 200u);
        EXPECT_EQ(log.Count(L"it holds the instance but shows no window"), 1u);
    }
    // Let go during the wait: the start holds the instance now.
    holder.Release();
    EXPECT_EQ(HandOverOrTakeInstance(L"TfrmMain", L"CorvelloNobodyHere", WM_INSTANCE_ACTIVATE, 10000),
              StartOutcome::TookInstance);
    EXPECT_TRUE(OnOtherThread([] { return InstanceHeldElsewhere(); }));
    FreeInstanceMutex();
}

TEST(HandOverOrTakeInstance, HandsOverToAWindowThatComesDuringTheWait)
{
    testsupport::InstanceHolder holder;
    ASSERT_TRUE(holder.Held());
    ASSERT_TRUE(IsAnotherInstance(true, true, L""));
    int activations = 0;
    const LateWindow late(L"CorvelloLateStart", [&](UINT message, WPARAM, LPARAM) {
        activations += message == WM_INSTANCE_ACTIVATE;
        return false;
    });
    EXPECT_EQ(HandOverOrTakeInstance(L"TfrmMain", L"CorvelloLateStart", WM_INSTANCE_ACTIVATE, 10000),
              StartOutcome::HandedOver);
    EXPECT_EQ(activations, 1);
    FreeInstanceMutex();
}

TEST(StopInstance, WithNothingRunningItIsDoneAtOnce)
{
    testsupport::CapturedLog log;
    EXPECT_TRUE(StopInstance(10000, L"TfrmMain", L"CorvelloNobodyHere"));
    // The instance this process holds itself is no other copy.
    ASSERT_FALSE(IsAnotherInstance(true, true, L""));
    EXPECT_TRUE(StopInstance(10000, L"TfrmMain", L"CorvelloNobodyHere"));
    EXPECT_TRUE(log.Lines().empty());
}

TEST(StopInstance, ReturnsWhenTheWindowHasGone)
{
    testsupport::TestWindow window(L"TfrmMain", L"CorvelloStopTest");
    HWND handle = window.Handle();
    int stops = 0;
    tk::ApplicationEvents events([&](MSG& msg, bool&) {
        if (msg.message == WM_INSTANCE_STOP && msg.hwnd == handle) {
            ++stops;
            ::DestroyWindow(handle);
        }
    });
    EXPECT_TRUE(StopInstance(3000, L"TfrmMain", L"CorvelloStopTest"));
    EXPECT_EQ(stops, 1);
}

TEST(StopInstance, GivesUpOnAWindowThatStaysAfterTheTimeout)
{
    int stops = 0;
    testsupport::TestWindow window(L"TfrmMain", L"CorvelloStubborn", [&](UINT message, WPARAM, LPARAM) {
        stops += message == WM_INSTANCE_STOP;
        return false;
    });
    testsupport::CapturedLog log;
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(StopInstance(200, L"TfrmMain", L"CorvelloStubborn"));
    EXPECT_GE(::GetTickCount() - start, 200u);
    EXPECT_EQ(stops, 1);  // asked once, not again at every look
    EXPECT_TRUE(::IsWindow(window.Handle()));
    EXPECT_EQ(log.Count(L"stopping the running copy"), 1u);
}

TEST(StopInstance, GivesUpOnAnotherHolderOfTheInstanceWithoutAWindow)
{
    testsupport::InstanceHolder holder;
    ASSERT_TRUE(holder.Held());
    testsupport::CapturedLog log;
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(StopInstance(200, L"TfrmMain", L"CorvelloNobodyHere"));
    EXPECT_GE(::GetTickCount() - start, 200u);
    EXPECT_EQ(log.Count(L"stopping the running copy"), 1u);
}

TEST(StopInstance, AHolderThatLetsTheInstanceGoEndsTheWait)
{
    testsupport::InstanceHolder holder;
    ASSERT_TRUE(holder.Held());
    // Lets go once the wait has begun.
    testsupport::TestWindow clock(L"CorvelloStopClock", L"", [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_TIMER)
            holder.Release();
        return message == WM_TIMER;
    });
    ::SetTimer(clock.Handle(), 1, 50, nullptr);
    EXPECT_TRUE(StopInstance(10000, L"TfrmMain", L"CorvelloNobodyHere"));
    ::KillTimer(clock.Handle(), 1);
}

TEST(StopInstance, AWindowThatComesDuringTheWaitIsAskedToo)
{
    testsupport::InstanceHolder holder;
    ASSERT_TRUE(holder.Held());
    // The copy makes its window only after the wait has begun, and ends
    // when asked.
    int stops = 0;
    const LateWindow late(L"CorvelloLateTest", [&](UINT message, WPARAM, LPARAM) {
        if (message != WM_INSTANCE_STOP)
            return false;
        ++stops;
        holder.Release();
        ::DestroyWindow(late.Handle());
        return true;
    });
    EXPECT_TRUE(StopInstance(10000, L"TfrmMain", L"CorvelloLateTest"));
    EXPECT_EQ(stops, 1);
}
