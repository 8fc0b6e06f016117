// When something set for later is due: durations ("15m") and clock times
// ("23:30") as the user writes them, the moment each one means, the time
// left across clock changes and sleep, and the next moment worth waking up
// for. No Windows types here: the readings of the clocks come in as numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvello {

// The shortest and longest wait a duration may ask for, in seconds.
inline constexpr std::uint32_t ShortestWaitSeconds = 1;
inline constexpr std::uint32_t LongestWaitSeconds = 7 * 24 * 3600;

// A whole number with "s", "m" or "h" after it (the letter in any case), or
// a plain number, which counts minutes: "5s", "15m", "2h", "90". Between a
// second and a week; no blanks, signs or fractions. The seconds, or nullopt.
std::optional<std::uint32_t> ParseDuration(std::wstring_view text) noexcept;
// The seconds as the hand-over writes them back: "90s".
std::wstring DurationWord(std::uint32_t seconds);

// A time of day in 24-hour form: the hour in one or two digits (0 to 23),
// a colon, the minutes in two (00 to 59). The minute of the day, or nullopt.
std::optional<int> ParseClockTime(std::wstring_view text) noexcept;
// "07:05", "23:30", from a minute of the day of zero or more (1440 is
// "00:00" again).
std::wstring ClockTimeText(int minuteOfDay);

// A reading of the local wall clock as milliseconds since 1 January 1601
// (the calendar's own days; no time zone): what the user's clock shows.
std::int64_t LocalMilliseconds(int year, int month, int day, int hour, int minute, int second, int millisecond);
// The minute of the day a local reading falls in.
int MinuteOfDay(std::int64_t localMs) noexcept;

// The two clocks at one moment: the millisecond tick counter (it runs on
// through sleep and is not moved with the clock; it wraps after 49.7 days)
// and the local wall clock.
struct ClockReading {
    std::uint32_t Tick = 0;
    std::int64_t LocalMs = 0;
};

// When something waiting is due. "In" a duration counts the tick counter,
// so moving the clock or the time zone changes nothing; "at" a clock time
// is a moment of the local clock, so it follows such a change.
enum class DueKind { In, At };

struct DueTime {
    DueKind Kind = DueKind::In;
    // In: the tick it was set at, and the wait.
    std::uint32_t SetTick = 0;
    std::uint32_t WaitMs = 0;
    // At: the clock time asked for. Both: the local moment it is due, which
    // is what "at" follows and what the user is shown.
    int ClockMinute = 0;
    std::int64_t LocalDueMs = 0;
};

// When something is to be due, as the user asked: "in" so many seconds, or
// "at" a minute of the day.
struct LaterTime {
    DueKind Kind = DueKind::In;
    std::uint32_t Seconds = 0;
    int ClockMinute = 0;
};
DueTime DueFor(const LaterTime& when, const ClockReading& now) noexcept;

// A wait of so many seconds from now.
DueTime DueIn(std::uint32_t seconds, const ClockReading& now) noexcept;
// The next time the clock shows that minute: later today, or tomorrow when
// it is that minute now or has passed.
DueTime DueAt(int minuteOfDay, const ClockReading& now) noexcept;

// Milliseconds until it is due; zero or less once it is.
std::int64_t RemainingMs(const DueTime& due, const ClockReading& now) noexcept;

// Brings the due moment up to date after the clock or the time zone changed,
// or after a resume: "in" keeps its place on the tick counter and shows the
// new local moment; "at" keeps its local moment, unless the clock went back
// by more than a day, when it is due the next time its minute comes.
void FollowClock(DueTime& due, const ClockReading& now) noexcept;

// What to do about something waiting, from the time left.
enum class DueState {
    Waiting,
    Due,     // its time has come, or passed less than a minute ago
    Missed,  // passed a minute ago or more: the computer slept through it,
             // or the clock jumped over it; it is not run that late
};
inline constexpr std::int64_t MissedAfterMs = 60000;
DueState StateOf(std::int64_t remainingMs) noexcept;

// Whole minutes left as the user is shown them, rounded up: 1 for the last
// minute, 25 from 24 minutes and a moment to 25 minutes.
std::int64_t MinutesLeft(std::int64_t remainingMs) noexcept;
// "in 25 min", "in 1 h", "in 2 h 5 min"; under a minute the seconds,
// rounded up: "in 40 s" (a whole minute is "in 1 min").
std::wstring RemainingText(std::int64_t remainingMs);
// A local moment as the user is shown it, from now: its time alone when it
// is today ("08:02"), then "08:02 tomorrow", the day's short name within the
// week ("08:02 on Fri"), and "next" once it is a week or more away, where
// the name alone would read as this week's ("08:02 next Fri").
std::wstring MomentText(std::int64_t localMs, std::int64_t nowLocalMs);

// What may change before the due moment, as milliseconds left at which it
// happens (0 for nothing), and whether the seconds left are on show.
struct WakePlan {
    std::int64_t WarningAtMs = 0;    // the warning balloon
    std::int64_t CountdownAtMs = 0;  // the countdown window
    bool EverySecond = false;        // the countdown window shows
};
// How long to sleep before anything shown changes: the due moment, a
// milestone still ahead, or the minute (or second: in the last minute, and
// while the countdown shows) shown in the time left.
// At least 1 ms, at most a minute.
std::uint32_t NextWakeMs(std::int64_t remainingMs, const WakePlan& plan) noexcept;

}  // namespace corvello
