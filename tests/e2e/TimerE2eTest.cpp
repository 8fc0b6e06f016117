// Actions set for later and Keep Awake on the real program: the command
// line's "/in:", "/at:", "/cancel", "/screen:on" and "/off", alone and
// handed to a running copy; what the tray tip, the tray menu and the
// countdown window show meanwhile; and the power requests that keep the
// computer awake. The spy inside the program (e2e/Spy.cpp) sees the tip,
// the balloons and the power requests as the program hands them to Windows,
// and keeps a session's end from Windows.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "e2e/CapsLockPresses.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/DebugOutputCapture.h"
#include "e2e/ProgramSpy.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using testsupport::ChildWithText;
using testsupport::Corvello;
using testsupport::MenuLine;
using testsupport::ProgramSpy;
using testsupport::ProgramUser;
using testsupport::TextOf;
using testsupport::WaitUntil;

namespace {

using testsupport::CapsLockPresses;

bool CapsLockOn()
{
    return (::GetKeyState(VK_CAPITAL) & 1) != 0;
}

// What keeps the computer awake at the end of what the program asked, as
// lines: "<reason> system", "<reason> display" for power requests set and
// not cleared, "state system", "state display" for the execution state.
std::set<std::wstring> HeldAwake(const ProgramSpy& spy)
{
    std::map<std::uint64_t, std::wstring> reasons;
    std::set<std::wstring> held;
    std::uint32_t state = 0;
    const auto need = [](std::uint32_t type) { return type == 0 ? L" display" : L" system"; };
    for (const auto& c : spy.AllCalls()) {
        switch (c.Call) {
        case spy::Call::PowerCreate:
            reasons[c.Value] = c.Text;
            break;
        case spy::Call::PowerSet:
            held.insert(reasons[c.Value] + need(c.Flags));
            break;
        case spy::Call::PowerClear:
            held.erase(reasons[c.Value] + need(c.Flags));
            break;
        case spy::Call::ExecutionState:
            state = c.Flags;
            break;
        default:
            break;
        }
    }
    if (state & ES_SYSTEM_REQUIRED)
        held.insert(L"state system");
    if (state & ES_DISPLAY_REQUIRED)
        held.insert(L"state display");
    return held;
}

std::string Held(const ProgramSpy& spy)
{
    std::string all;
    for (const std::wstring& line : HeldAwake(spy))
        all += testsupport::Narrow(line) + "; ";
    return all;
}

// Held for that reason: by a power request where Windows has them, by the
// execution state where it has none.
bool HeldFor(const ProgramSpy& spy, const std::wstring& reason, bool display = false)
{
    std::set<std::wstring> request = {reason + L" system"};
    std::set<std::wstring> state = {L"state system"};
    if (display) {
        request.insert(reason + L" display");
        state.insert(L"state display");
    }
    const std::set<std::wstring> held = HeldAwake(spy);
    return held == request || held == state;
}

// The action and its time as the tray tip's last line says it ("Caps Lock at
// 12:05" from "...\nCaps Lock at 12:05 (in 1 min)"), or empty.
std::wstring WaitingFromTip(const std::wstring& tip, const std::wstring& caption)
{
    const std::size_t at = tip.find(L'\n' + caption + L" at ");
    if (at == std::wstring::npos)
        return {};
    const std::size_t end = tip.find(L" (in ", at);
    return end == std::wstring::npos ? std::wstring() : tip.substr(at + 1, end - at - 1);
}

std::vector<MenuLine> TrayMenuWith(const std::vector<std::wstring>& heading)
{
    std::vector<MenuLine> lines;
    for (const std::wstring& text : heading)
        lines.push_back({text});
    lines.push_back({L"-"});
    for (const MenuLine& line : testsupport::TrayMenuLines(false))
        lines.push_back(line);
    return lines;
}

// A start of the program whose thread the spy can come in with.
class Start : public Corvello {
public:
    explicit Start(const std::wstring& arguments, bool suspended = false) : Corvello(arguments, suspended) {}
    DWORD ThreadId() const { return threadId_; }
};

class TimerE2e : public testsupport::ProgramUserTest {
protected:
    void SetUp() override
    {
        ProgramUserTest::SetUp();
        capsWasOn_ = CapsLockOn();
    }
    void TearDown() override
    {
        if (CapsLockOn() != capsWasOn_)
            testsupport::PressKeys({VK_CAPITAL});
        ProgramUserTest::TearDown();
    }

    // A copy running in the tray, with the spy inside.
    void StartCopy(const wchar_t* arguments = L"-startup")
    {
        copy_.emplace(arguments);
        ASSERT_TRUE(copy_->WaitRunning());
        spy_.emplace(copy_->AppWindow());
        ASSERT_TRUE(spy_->CallsInPlace());
        user_.emplace(copy_->Id());
    }

    // A start that hands a request over, and its exit code.
    static std::optional<DWORD> HandOver(const std::wstring& arguments)
    {
        const Corvello start(arguments);
        return start.WaitExit(15000);
    }

    // The tip says what waits, and the tray menu begins with its Cancel;
    // what waits, as the tip names it.
    std::wstring ExpectWaiting(const std::wstring& caption, const wchar_t* picture)
    {
        std::wstring waiting;
        EXPECT_TRUE(WaitUntil([&] { return !(waiting = WaitingFromTip(spy_->LastTip(), caption)).empty(); }, 5000))
            << testsupport::Narrow(spy_->LastTip());
        if (!waiting.empty())
            ExpectTrayMenuLooks(*user_, TrayMenuWith({L"Cancel " + waiting}), picture);
        return waiting;
    }

    // Nothing waits: the tip is the program's name alone, the menu as ever.
    void ExpectNothingWaits(const wchar_t* picture)
    {
        EXPECT_TRUE(WaitUntil([&] { return spy_->LastTip().find(L'\n') == std::wstring::npos; }, 5000))
            << testsupport::Narrow(spy_->LastTip());
        ExpectTrayMenuLooks(*user_, testsupport::TrayMenuLines(false), picture);
    }

    bool capsWasOn_ = false;
    std::optional<Start> copy_;
    std::optional<ProgramSpy> spy_;
    std::optional<ProgramUser> user_;
};

}  // namespace

TEST_F(TimerE2e, CapsLockInFiveSecondsSwitchesThenAndNotBeforeHandedToARunningCopy)
{
    CapsLockPresses presses;
    ASSERT_TRUE(presses.Hooked());
    StartCopy();
    const DWORD asked = ::GetTickCount();
    EXPECT_EQ(HandOver(L"/do:capslock /in:5s"), std::optional<DWORD>(0));
    const std::wstring waiting = ExpectWaiting(L"Caps Lock", L"tray-menu-waiting");
    EXPECT_TRUE(HeldFor(*spy_, L"Corvello: " + waiting)) << Held(*spy_);
    EXPECT_TRUE(CapsLockPresses::Downs().empty()) << "before its time";
    if (const HWND menu = user_->OpenTrayMenu()) {
        EXPECT_TRUE(testsupport::SaveWindowPng(menu, L"tray-menu-waiting.png"));
        EXPECT_TRUE(user_->CloseMenus());
    }

    ASSERT_TRUE(WaitUntil([] { return !CapsLockPresses::Downs().empty(); }, 9000));
    EXPECT_GE(CapsLockPresses::Downs().front() - asked, 5000u);
    EXPECT_EQ(CapsLockPresses::Downs().size(), 1u);
    ExpectNothingWaits(L"tray-menu-after-run");
    EXPECT_TRUE(HeldAwake(*spy_).empty());
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
}

TEST_F(TimerE2e, CapsLockInFiveSecondsWithNoCopyRunningMakesTheStartTheProgram)
{
    CapsLockPresses presses;
    ASSERT_TRUE(presses.Hooked());
    copy_.emplace(L"/do:capslock /in:5s", true);
    ASSERT_TRUE(copy_->Started());
    // In from the first message, before the start sets the action.
    spy_.emplace(copy_->Id(), copy_->ThreadId());
    ASSERT_TRUE(spy_->Hooked());
    const DWORD asked = ::GetTickCount();
    copy_->Resume();
    ASSERT_TRUE(copy_->WaitRunning());
    user_.emplace(copy_->Id());
    ExpectWaiting(L"Caps Lock", L"tray-menu-waiting-alone");
    EXPECT_TRUE(spy_->CallsInPlace());

    ASSERT_TRUE(WaitUntil([] { return !CapsLockPresses::Downs().empty(); }, 9000));
    EXPECT_GE(CapsLockPresses::Downs().front() - asked, 5000u);
    // It stays the program, in the tray, until it is closed.
    EXPECT_TRUE(copy_->Running());
    EXPECT_TRUE(user_->TrayIconShown());
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
}

TEST_F(TimerE2e, CancelStopsWhatWaits)
{
    CapsLockPresses presses;
    ASSERT_TRUE(presses.Hooked());
    StartCopy();
    const DWORD asked = ::GetTickCount();
    EXPECT_EQ(HandOver(L"/do:capslock /in:5s"), std::optional<DWORD>(0));
    ASSERT_FALSE(ExpectWaiting(L"Caps Lock", L"tray-menu-waiting-cancel").empty());
    EXPECT_EQ(HandOver(L"/cancel"), std::optional<DWORD>(0));
    ExpectNothingWaits(L"tray-menu-cancelled");
    EXPECT_TRUE(HeldAwake(*spy_).empty());
    // Its time comes and goes: nothing.
    const DWORD elapsed = ::GetTickCount() - asked;
    WaitUntil([] { return !CapsLockPresses::Downs().empty(); }, elapsed < 6500 ? 6500 - elapsed : 0);
    EXPECT_TRUE(CapsLockPresses::Downs().empty());
    // With nothing waiting, and with no copy running, it is no error.
    EXPECT_EQ(HandOver(L"-CANCEL"), std::optional<DWORD>(0));
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
    EXPECT_EQ(HandOver(L"/cancel"), std::optional<DWORD>(0));
    EXPECT_TRUE(testsupport::TopWindows(testsupport::AnyProcess, L"TfrmMain").empty());
}

TEST_F(TimerE2e, PowerOffSetForLaterCountsDownItsLastSecondsAndCancelStopsIt)
{
    // The countdown's thirty seconds, as a test may shorten them.
    const testsupport::ShortTimings timings(L"TimerCountdown=15000");
    StartCopy();
    EXPECT_EQ(HandOver(L"/do:poweroff /in:17s"), std::optional<DWORD>(0));
    const std::wstring waiting = ExpectWaiting(L"Power Off", L"tray-menu-waiting-poweroff");
    // Two seconds on, with no question asked: setting it was the confirmation.
    const HWND countdown = user_->WaitWindow(L"TfrmCountdown", 15000);
    ASSERT_NE(countdown, nullptr);
    EXPECT_TRUE(user_->Windows(L"TMessageForm").empty());
    EXPECT_EQ(TextOf(countdown), L"Corvello - Power Off");
    EXPECT_TRUE(::GetWindowLongW(countdown, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const HWND cancel = ChildWithText(countdown, L"Cancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return copy_->ThreadInfo().hwndFocus == cancel; }, 5000));
    const auto shown = [&](const std::wstring& start) {
        for (const HWND child : testsupport::Descendants(countdown))
            if (TextOf(child).rfind(start, 0) == 0)
                return true;
        return false;
    };
    // The seconds left, as the countdown says them ("Power Off in 14 seconds").
    const auto secondsLeft = [&] {
        for (int seconds = 15; seconds >= 1; --seconds)
            if (shown(L"Power Off in " + std::to_wstring(seconds) + (seconds == 1 ? L" second" : L" seconds")))
                return seconds;
        return 0;
    };
    const int first = secondsLeft();
    EXPECT_GE(first, 1) << "no seconds left shown, or more than the countdown's";
    EXPECT_TRUE(shown(L"Shuts down Windows system and turns the computer off"));
    // It counts.
    EXPECT_TRUE(WaitUntil([&] { return secondsLeft() != 0 && secondsLeft() < first; }, 5000));
    EXPECT_TRUE(testsupport::SaveWindowPng(countdown, L"countdown.png"));

    testsupport::ClickButton(cancel);
    EXPECT_TRUE(user_->WaitNone(L"TfrmCountdown"));
    ExpectNothingWaits(L"tray-menu-after-countdown");
    EXPECT_TRUE(HeldAwake(*spy_).empty());
    EXPECT_TRUE(spy_->Calls(spy::Call::ExitWindows).empty());
    EXPECT_FALSE(waiting.empty());
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
}

TEST_F(TimerE2e, AnIrreversibleActionWarnsInABalloonThenCountsDownAndRunsAtZeroWithoutAQuestion)
{
    // Five minutes and thirty seconds, as a test may shorten them.
    const testsupport::ShortTimings timings(L"TimerWarning=5000,TimerCountdown=4000");
    StartCopy();
    EXPECT_EQ(HandOver(L"/do:logoff /in:6s"), std::optional<DWORD>(0));
    const std::wstring waiting = ExpectWaiting(L"Log Off", L"tray-menu-waiting-logoff");
    ASSERT_TRUE(WaitUntil([&] { return !spy_->Balloons().empty(); }, 5000));
    // Five seconds before, its last minute counts in seconds.
    const std::wstring balloon = spy_->Balloons().front();
    EXPECT_TRUE(balloon.starts_with(waiting + L" (in ")) << testsupport::Narrow(balloon);
    EXPECT_TRUE(balloon.ends_with(L" s). To call it off, choose Cancel in the tray menu.")) << testsupport::Narrow(balloon);
    EXPECT_NE(user_->WaitWindow(L"TfrmCountdown", 5000), nullptr);
    // At zero it runs, with the confirmations box ticked and no question.
    ASSERT_TRUE(WaitUntil([&] { return !spy_->Calls(spy::Call::ExitWindows).empty(); }, 5000));
    EXPECT_EQ(spy_->Calls(spy::Call::ExitWindows).front().Flags, 0u);
    EXPECT_TRUE(user_->WaitNone(L"TfrmCountdown"));
    EXPECT_TRUE(user_->Windows(L"TMessageForm").empty());
    ExpectNothingWaits(L"tray-menu-after-logoff");

    // Called off from the tray menu's first entry while it counts down.
    EXPECT_EQ(HandOver(L"/do:restart /in:5s"), std::optional<DWORD>(0));
    EXPECT_NE(user_->WaitWindow(L"TfrmCountdown", 5000), nullptr);
    const HWND menu = user_->OpenTrayMenu();
    ASSERT_NE(menu, nullptr);
    ProgramUser::Key(menu, VK_DOWN);
    ProgramUser::Enter(menu);
    EXPECT_TRUE(user_->WaitNone(L"TfrmCountdown"));
    EXPECT_TRUE(WaitUntil([&] { return spy_->LastTip().find(L'\n') == std::wstring::npos; }, 5000));
    EXPECT_EQ(spy_->Calls(spy::Call::ExitWindows).size(), 1u);
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
}

TEST_F(TimerE2e, EndingTheProgramWhileItCountsDownCancelsWhatWaits)
{
    // The countdown comes two seconds on, not five.
    const testsupport::ShortTimings timings(L"TimerCountdown=20000");
    StartCopy();
    EXPECT_EQ(HandOver(L"/do:shutdown /in:22s"), std::optional<DWORD>(0));
    ASSERT_NE(user_->WaitWindow(L"TfrmCountdown", 15000), nullptr);
    EXPECT_TRUE(HeldFor(*spy_, L"Corvello: " + ExpectWaiting(L"Shut Down", L"tray-menu-waiting-shutdown")))
        << Held(*spy_);
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
    EXPECT_TRUE(spy_->Calls(spy::Call::ExitWindows).empty());
    // The next start says nothing of it.
    StartCopy();
    ExpectNothingWaits(L"tray-menu-next-start");
    EXPECT_TRUE(spy_->Balloons().empty());
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
}

TEST_F(TimerE2e, KeepAwakeMakesAPowerRequestAndOffEndsIt)
{
    StartCopy();
    EXPECT_EQ(HandOver(L"/do:keepawake"), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return HeldFor(*spy_, L"Corvello: keep awake"); }, 5000)) << Held(*spy_);
    EXPECT_TRUE(WaitUntil([&] { return spy_->LastTip().ends_with(L"\nKeeping awake"); }, 5000));
    ExpectTrayMenuLooks(*user_, TrayMenuWith({L"Stop Keeping Awake"}), L"tray-menu-keeping-awake");

    // For two hours with the screen on: the display too, and until when.
    EXPECT_EQ(HandOver(L"/do:keepawake /in:2h /screen:on"), std::optional<DWORD>(0));
    std::wstring until;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::wstring tip = spy_->LastTip();
            const std::size_t at = tip.find(L"\nKeeping awake until ");
            if (at == std::wstring::npos)
                return false;
            until = tip.substr(at + 22, 5);
            return true;
        },
        5000));
    EXPECT_TRUE(WaitUntil([&] { return HeldFor(*spy_, L"Corvello: keep awake until " + until, true); }, 5000))
        << Held(*spy_);

    EXPECT_EQ(HandOver(L"/do:keepawake /off"), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return HeldAwake(*spy_).empty(); }, 5000));
    ExpectNothingWaits(L"tray-menu-awake-off");
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));

    // "/off" with none running has nothing to end.
    EXPECT_EQ(HandOver(L"/do:keepawake /off"), std::optional<DWORD>(0));
    EXPECT_TRUE(testsupport::TopWindows(testsupport::AnyProcess, L"TfrmMain").empty());
}

TEST_F(TimerE2e, MalformedAndMisspeltWordsEndWithTwoAndChangeNothing)
{
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());
    CapsLockPresses presses;
    ASSERT_TRUE(presses.Hooked());
    // Words the program knows with values that will not do, and words it
    // does not know at all: dropped, these would run Caps Lock at once.
    const std::vector<std::wstring> lines = {
        L"/do:capslock /in:5x",  L"/do:capslock /in:",        L"/do:capslock /in:0",
        L"/do:capslock /at:25:00", L"/do:capslock /in:5s /at:10:00", L"/do:capslock /screen:on",
        L"/do:keepawake /screen:dim", L"/do:keepawake /off /in:5s", L"/cancel /in:5s",
        L"/do:capslock /in=5m",  L"/do:capslock /in 5m",      L"/do:capslock in:5m",
        L"/do:capslock --in:5m", L"/do:capslock /at=23:30",   L"/do:capslock /in:5m /bogus",
        L"/bogus /do:capslock",  L"/cancel /bogus",           L"/cancel -x",
        L"/cancel /in",          L"/options /bogus",
    };
    const auto endsWithTwoAndSaysWhy = [&](const std::wstring& line) {
        const Corvello start(line);
        EXPECT_EQ(start.WaitExit(15000), std::optional<DWORD>(2)) << testsupport::Narrow(line);
        const auto logged = [&] {
            for (const auto& text : log.LinesOf(start.Id()))
                if (text.find(L"will not do") != std::wstring::npos ||
                    text.find(L"takes no other word") != std::wstring::npos)
                    return true;
            return false;
        };
        EXPECT_TRUE(WaitUntil(logged, 5000)) << testsupport::Narrow(line);
    };

    // With none running, nothing runs, starts or stays.
    for (const std::wstring& line : lines)
        endsWithTwoAndSaysWhy(line);
    EXPECT_TRUE(testsupport::TopWindows(testsupport::AnyProcess, L"TfrmMain").empty());
    EXPECT_TRUE(testsupport::TopWindows(testsupport::AnyProcess, L"TfrmOptions").empty());

    // With a copy running, where something waits: the copy takes none of
    // them, and what waits stays.
    StartCopy();
    EXPECT_EQ(HandOver(L"/do:numlock /in:1h"), std::optional<DWORD>(0));
    const std::wstring waiting = ExpectWaiting(L"Num Lock", L"tray-menu-before-malformed");
    for (const std::wstring& line : lines)
        endsWithTwoAndSaysWhy(line);
    // A shut-down that a misspelt wait would run at once.
    endsWithTwoAndSaysWhy(L"/do:shutdown /in 1h");
    EXPECT_EQ(WaitingFromTip(spy_->LastTip(), L"Num Lock"), waiting) << testsupport::Narrow(spy_->LastTip());
    ExpectTrayMenuLooks(*user_, TrayMenuWith({L"Cancel " + waiting}), L"tray-menu-after-malformed");
    EXPECT_TRUE(HeldFor(*spy_, L"Corvello: " + waiting)) << Held(*spy_);
    EXPECT_TRUE(user_->Windows(L"TfrmOptions").empty());
    EXPECT_TRUE(user_->Windows(L"TMessageForm").empty());
    EXPECT_TRUE(spy_->Calls(spy::Call::ExitWindows).empty());
    EXPECT_TRUE(CapsLockPresses::Downs().empty());

    EXPECT_EQ(HandOver(L"/cancel"), std::optional<DWORD>(0));
    ExpectNothingWaits(L"tray-menu-after-malformed-cancelled");
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
}

TEST_F(TimerE2e, TheTimerPageSetsAnActionForAClockTimeFromAButtonsMenu)
{
    StartCopy(L"");
    ASSERT_TRUE(user_->WaitMainVisible(true));
    const HWND main = user_->MainWindow();
    const HWND button = ChildWithText(main, L"Shut Down");
    ASSERT_NE(button, nullptr);
    const HWND menu = user_->OpenContextMenu(button);
    ASSERT_NE(menu, nullptr);
    // "Shortcut...", a line, "In 15 minutes" ... "In 2 hours", "At a time...".
    for (int i = 0; i < 6; ++i)
        ProgramUser::Key(menu, VK_DOWN);
    ProgramUser::Enter(menu);
    const HWND options = user_->WaitWindow(L"TfrmOptions");
    ASSERT_NE(options, nullptr);
    // The time field has the keyboard, ready for a time of day.
    const HWND field = copy_->WaitFocusOfClass(L"Edit");
    ASSERT_NE(field, nullptr);
    EXPECT_NE(ChildWithText(options, L"A time of day, 24-hour: 23:30. The next time it comes."), nullptr);
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"23:59"));
    testsupport::ClickButton(ChildWithText(options, L"Start"));
    EXPECT_TRUE(WaitUntil([&] { return spy_->LastTip().find(L"\nShut Down at 23:59 (in ") != std::wstring::npos; },
                          5000));
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (const HWND child : testsupport::Descendants(options))
                if (TextOf(child).rfind(L"Waiting: Shut Down at 23:59 (in ", 0) == 0)
                    return true;
            return false;
        },
        5000));
    EXPECT_TRUE(testsupport::SaveWindowPng(options, L"options-timer.png"));
    EXPECT_EQ(copy_->Stop(), std::optional<DWORD>(0));
}
