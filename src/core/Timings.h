// How long the program waits for things it cannot hurry: another copy that
// is to end or to take an action, the About dialog's report, a session end
// that does not come, the warnings before an action set for later. A test
// shortens them through the environment variable CORVELLO_TIMINGS, a list
// like "StopWait=300,AboutPing=500"; only a shorter wait than the program's
// own is taken, so nothing there can make the program slower or change
// what it does.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvello {

enum class Timing {
    StopWait,          // install, uninstall, reset: for the running copy to end
    StopModeWait,      // stop: likewise
    HandOverWait,      // the action word: for the running copy to take it
    AboutPing,         // the About dialog open this long reports it
    SessionEndForget,  // a session end asked about and then neither done nor called off
    TimerWarning,      // an irreversible action set for later: its balloon comes this long before
    TimerCountdown,    // and its countdown window this long before
    InstanceLetGo,     // a start that finds the instance held and no window: for the copy to let it go
};

inline constexpr const wchar_t* TimingsVariable = L"CORVELLO_TIMINGS";

// The program's own wait.
std::uint32_t StandardTiming(Timing timing) noexcept;
// The wait the list asks for, where it names this one with a whole number
// of milliseconds from 1 to the standard; otherwise the standard.
std::uint32_t ChooseTiming(std::wstring_view list, Timing timing) noexcept;
// The wait for this run: the list is read from the environment once.
std::uint32_t TimingMs(Timing timing);

}  // namespace corvello
