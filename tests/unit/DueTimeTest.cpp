#include "core/DueTime.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace corvello;

namespace {

constexpr std::int64_t Second = 1000;
constexpr std::int64_t Minute = 60 * Second;
constexpr std::int64_t Hour = 60 * Minute;

std::string Narrow(std::wstring_view text)
{
    return std::string(text.begin(), text.end());
}

// The two clocks at a local date and time, with the tick counter where the
// test puts it.
ClockReading At(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0,
                std::uint32_t tick = 5000)
{
    return {tick, LocalMilliseconds(year, month, day, hour, minute, second, ms)};
}

// Both clocks moved on together, as time passes (asleep or not).
ClockReading Later(ClockReading now, std::int64_t ms)
{
    return {now.Tick + static_cast<std::uint32_t>(ms), now.LocalMs + ms};
}

// Only the wall clock moved: the user set it, or the time zone changed.
ClockReading ClockMoved(ClockReading now, std::int64_t ms)
{
    return {now.Tick, now.LocalMs + ms};
}

}  // namespace

TEST(DueTime, DurationsTakeAUnitOrCountMinutesWithinASecondToAWeek)
{
    const struct {
        const wchar_t* Text;
        std::optional<std::uint32_t> Seconds;
    } cases[] = {
        {L"5s", 5},          {L"15m", 900},      {L"2h", 7200},       {L"90", 5400},
        {L"5S", 5},          {L"2H", 7200},      {L"15M", 900},       {L"0005s", 5},
        {L"1s", 1},          {L"604800s", 604800}, {L"168h", 604800}, {L"10080", 604800},
        {L"0", {}},          {L"0s", {}},        {L"0h", {}},         {L"604801s", {}},
        {L"169h", {}},       {L"10081", {}},     {L"4294967296s", {}}, {L"99999999999999999999m", {}},
        {L"", {}},           {L"s", {}},         {L"m", {}},          {L"5x", {}},
        {L"5ms", {}},        {L"5 m", {}},       {L" 5m", {}},        {L"5m ", {}},
        {L"-5m", {}},        {L"+5m", {}},       {L"1.5h", {}},       {L"1,5h", {}},
        {L"\x0665m", {}},  // an Arabic-Indic five is no digit here
        {L"5\x0455", {}},  // nor a Cyrillic s a unit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDuration(c.Text), c.Seconds) << Narrow(c.Text);
        if (c.Seconds) {
            EXPECT_EQ(ParseDuration(DurationWord(*c.Seconds)), c.Seconds) << Narrow(c.Text);
        }
    }
}

TEST(DueTime, ClockTimesAreTwentyFourHourWithTwoDigitMinutes)
{
    const struct {
        const wchar_t* Text;
        std::optional<int> Minute;
    } cases[] = {
        {L"23:30", 23 * 60 + 30}, {L"0:00", 0},   {L"00:00", 0},  {L"7:05", 425},   {L"07:05", 425},
        {L"23:59", 1439},         {L"24:00", {}}, {L"23:60", {}}, {L"7:5", {}},     {L"007:05", {}},
        {L":30", {}},             {L"12:345", {}}, {L"12-30", {}}, {L"1a:00", {}},  {L"12:3a", {}},
        {L"", {}},                {L":", {}},     {L"12:", {}},   {L" 7:05", {}},   {L"7:05pm", {}},
        {L"-1:00", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseClockTime(c.Text), c.Minute) << Narrow(c.Text);
    EXPECT_EQ(ClockTimeText(425), L"07:05");
    EXPECT_EQ(ClockTimeText(0), L"00:00");
    EXPECT_EQ(ClockTimeText(1439), L"23:59");
}

TEST(DueTime, TheLocalCalendarCountsLeapDaysAndYears)
{
    EXPECT_EQ(LocalMilliseconds(1601, 1, 1, 0, 0, 0, 0), 0);
    const std::int64_t day = 24 * Hour;
    EXPECT_EQ(LocalMilliseconds(2024, 3, 1, 0, 0, 0, 0) - LocalMilliseconds(2024, 2, 28, 0, 0, 0, 0), 2 * day);
    EXPECT_EQ(LocalMilliseconds(2100, 3, 1, 0, 0, 0, 0) - LocalMilliseconds(2100, 2, 28, 0, 0, 0, 0), day);
    EXPECT_EQ(LocalMilliseconds(2000, 3, 1, 0, 0, 0, 0) - LocalMilliseconds(2000, 2, 28, 0, 0, 0, 0), 2 * day);
    EXPECT_EQ(LocalMilliseconds(2025, 1, 1, 0, 0, 0, 0) - LocalMilliseconds(2024, 1, 1, 0, 0, 0, 0), 366 * day);
    // 1 January 1970 is 11644473600 seconds after 1 January 1601.
    EXPECT_EQ(LocalMilliseconds(1970, 1, 1, 0, 0, 0, 0), 11644473600LL * 1000);
    EXPECT_EQ(MinuteOfDay(LocalMilliseconds(2024, 6, 1, 23, 30, 59, 999)), 23 * 60 + 30);
}

TEST(DueTime, AtMeansTheNextTimeTheClockShowsThatMinute)
{
    const struct {
        const char* What;
        ClockReading Now;
        const wchar_t* Time;
        std::int64_t Remaining;
    } cases[] = {
        {"later today", At(2024, 6, 1, 23, 0, 10), L"23:30", 29 * Minute + 50 * Second},
        {"this minute: tomorrow", At(2024, 6, 1, 23, 30, 10), L"23:30", 24 * Hour - 10 * Second},
        {"the very moment: tomorrow", At(2024, 6, 1, 23, 30, 0), L"23:30", 24 * Hour},
        {"just passed: tomorrow", At(2024, 6, 1, 23, 31, 0), L"23:30", 24 * Hour - Minute},
        {"midnight, half a second away", At(2024, 6, 1, 23, 59, 59, 500), L"0:00", 500},
        {"midnight at midnight: the next", At(2024, 6, 2, 0, 0, 0), L"00:00", 24 * Hour},
        {"over the year's end", At(2024, 12, 31, 23, 50), L"00:10", 20 * Minute},
        {"over a leap day", At(2024, 2, 28, 23, 0), L"22:00", 23 * Hour},
    };
    for (const auto& c : cases) {
        const DueTime due = DueAt(*ParseClockTime(c.Time), c.Now);
        EXPECT_EQ(RemainingMs(due, c.Now), c.Remaining) << c.What;
        EXPECT_EQ(MinuteOfDay(due.LocalDueMs), *ParseClockTime(c.Time)) << c.What;
    }
}

TEST(DueTime, InFollowsTheTickCounterAndAtTheWallClock)
{
    const ClockReading set = At(2024, 6, 1, 23, 5, 0);
    DueTime in = DueIn(25 * 60, set);
    DueTime at = DueAt(23 * 60 + 30, set);
    EXPECT_EQ(in.ClockMinute, 23 * 60 + 30);
    const ClockReading later = Later(set, 5 * Minute);
    EXPECT_EQ(RemainingMs(in, later), 20 * Minute);
    EXPECT_EQ(RemainingMs(at, later), 20 * Minute);

    struct Change {
        const char* What;
        std::int64_t ClockMs;
        std::int64_t InLeft;  // "in" keeps its time left, whatever the clock does
        std::int64_t AtLeft;
        int AtMinute;
    };
    const Change changes[] = {
        {"an hour on (a time zone to the east)", Hour, 20 * Minute, 20 * Minute - Hour, 23 * 60 + 30},
        {"ten minutes back", -10 * Minute, 20 * Minute, 30 * Minute, 23 * 60 + 30},
        {"half a day back", -12 * Hour, 20 * Minute, 12 * Hour + 20 * Minute, 23 * 60 + 30},
        // The 23:30 asked for comes again first.
        {"a day back", -24 * Hour, 20 * Minute, 20 * Minute, 23 * 60 + 30},
        {"two days back", -48 * Hour, 20 * Minute, 20 * Minute, 23 * 60 + 30},
    };
    for (const auto& c : changes) {
        DueTime followedIn = in;
        DueTime followedAt = at;
        const ClockReading now = ClockMoved(later, c.ClockMs);
        FollowClock(followedIn, now);
        FollowClock(followedAt, now);
        EXPECT_EQ(RemainingMs(followedIn, now), c.InLeft) << c.What;
        EXPECT_EQ(followedIn.LocalDueMs, now.LocalMs + c.InLeft) << c.What << ": the moment shown moves with the clock";
        EXPECT_EQ(RemainingMs(followedAt, now), c.AtLeft) << c.What;
        EXPECT_EQ(MinuteOfDay(followedAt.LocalDueMs), c.AtMinute) << c.What;
    }
}

TEST(DueTime, TheTickCounterIsReadAcrossItsWrap)
{
    const ClockReading set{0xFFFFF000u, LocalMilliseconds(2024, 6, 1, 12, 0, 0, 0)};
    const DueTime due = DueIn(10, set);
    EXPECT_EQ(RemainingMs(due, {0x00001000u, set.LocalMs + 8192}), 10 * Second - 8192);
    EXPECT_EQ(RemainingMs(due, {0x00002000u, set.LocalMs}), 10 * Second - 12288);
}

TEST(DueTime, AfterSleepItRunsOnlyWhenItPassedLessThanAMinuteAgo)
{
    const struct {
        std::int64_t Remaining;
        DueState State;
    } states[] = {
        {24 * Hour, DueState::Waiting}, {1, DueState::Waiting}, {0, DueState::Due},
        {-59999, DueState::Due},        {-60000, DueState::Missed}, {-48 * Hour, DueState::Missed},
    };
    for (const auto& s : states)
        EXPECT_EQ(StateOf(s.Remaining), s.State) << s.Remaining;

    // Asleep from 23:00 (the tick counter runs on through sleep), resumed at:
    const ClockReading set = At(2024, 6, 1, 22, 50, 0);
    const DueTime at = DueAt(23 * 60 + 30, set);
    const DueTime in = DueIn(40 * 60, set);
    const struct {
        const char* What;
        std::int64_t Asleep;
        DueState State;
    } resumes[] = {
        {"23:29:30, before it", 39 * Minute + 30 * Second, DueState::Waiting},
        {"23:30:30, half a minute after", 40 * Minute + 30 * Second, DueState::Due},
        {"23:31, a minute after", 41 * Minute, DueState::Missed},
        {"the next morning", 9 * Hour, DueState::Missed},
    };
    for (const auto& r : resumes) {
        const ClockReading now = Later(set, r.Asleep);
        EXPECT_EQ(StateOf(RemainingMs(at, now)), r.State) << "at, " << r.What;
        EXPECT_EQ(StateOf(RemainingMs(in, now)), r.State) << "in, " << r.What;
    }
}

TEST(DueTime, TheTimeLeftIsShownInWholeMinutesRoundedUpAndItsLastMinuteInSeconds)
{
    const struct {
        std::int64_t Remaining;
        const wchar_t* Text;
    } cases[] = {
        {25 * Minute, L"in 25 min"},     {24 * Minute + 1, L"in 25 min"}, {24 * Minute, L"in 24 min"},
        {Minute + 1, L"in 2 min"},       {Minute, L"in 1 min"},           {59 * Second + 1, L"in 1 min"},
        {59 * Second, L"in 59 s"},       {40 * Second, L"in 40 s"},       {39 * Second + 1, L"in 40 s"},
        {1, L"in 1 s"},                  {0, L"in 1 s"},                  {59 * Minute + 1, L"in 1 h"},
        {60 * Minute, L"in 1 h"},        {125 * Minute, L"in 2 h 5 min"}, {7 * 24 * Hour, L"in 168 h"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemainingText(c.Remaining), c.Text) << c.Remaining;
}

TEST(DueTime, AMomentNamesItsDayWhenItIsNotToday)
{
    // Friday 11 December 2026, 08:02:30.
    const ClockReading friday = At(2026, 12, 11, 8, 2, 30);
    const struct {
        const char* What;
        ClockReading Now;
        std::int64_t Later;
        const wchar_t* Text;
    } cases[] = {
        {"later today", friday, 15 * Hour, L"23:02"},
        {"the last minute of today", friday, 15 * Hour + 57 * Minute, L"23:59"},
        {"midnight", friday, 15 * Hour + 58 * Minute, L"00:00 tomorrow"},
        {"a day on", friday, 24 * Hour, L"08:02 tomorrow"},
        {"two days on", friday, 48 * Hour, L"08:02 on Sun"},
        {"across the week's end", friday, 4 * 24 * Hour, L"08:02 on Tue"},
        {"six days on", friday, 6 * 24 * Hour + 15 * Hour, L"23:02 on Thu"},
        {"a week on: the same day's name would read as today", friday, 7 * 24 * Hour, L"08:02 next Fri"},
        {"a week on, into the next month and year", At(2026, 12, 31, 23, 0), 7 * 24 * Hour + Hour, L"00:00 next Fri"},
        {"the next day, a minute on", At(2026, 12, 11, 23, 59, 59), 1 * Second, L"00:00 tomorrow"},
        {"a moment passed", friday, -Minute, L"08:01"},
        {"passed yesterday", friday, -10 * Hour, L"22:02"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MomentText(c.Now.LocalMs + c.Later, c.Now.LocalMs), c.Text) << c.What;
    // Every weekday by its name, a week through.
    const wchar_t* days[] = {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
    const ClockReading monday = At(2026, 12, 7, 12, 0);
    for (int day = 2; day < 7; ++day)
        EXPECT_EQ(MomentText(monday.LocalMs + day * 24 * Hour, monday.LocalMs), std::wstring(L"12:00 on ") + days[day]);
}

TEST(DueTime, WhatWaitsReadsAsItsDayAndTimeLeft)
{
    const ClockReading now = At(2026, 12, 11, 8, 2, 0);
    const auto shown = [&](const DueTime& due, const ClockReading& at) {
        return MomentText(due.LocalDueMs, at.LocalMs) + L" (" + RemainingText(RemainingMs(due, at)) + L")";
    };
    EXPECT_EQ(shown(DueIn(24 * 3600, now), now), L"08:02 tomorrow (in 24 h)");
    EXPECT_EQ(shown(DueIn(40, now), now), L"08:02 (in 40 s)");
    EXPECT_EQ(shown(DueIn(60, now), now), L"08:03 (in 1 min)");
    EXPECT_EQ(shown(DueAt(8 * 60 + 2, now), now), L"08:02 tomorrow (in 24 h)");
    EXPECT_EQ(shown(DueIn(LongestWaitSeconds, now), now), L"08:02 next Fri (in 168 h)");
    // Past midnight, tomorrow is today.
    const DueTime due = DueAt(7 * 60, now);
    EXPECT_EQ(shown(due, Later(now, 16 * Hour)), L"07:00 (in 6 h 58 min)");
}

TEST(DueTime, ItWakesOnlyWhenSomethingShownChangesAtMostOnceAMinute)
{
    const WakePlan none;
    WakePlan warned;
    warned.WarningAtMs = 5 * Minute;
    warned.CountdownAtMs = 30 * Second;
    WakePlan countdownLong = warned;
    countdownLong.CountdownAtMs = 90 * Second;
    WakePlan counting = warned;
    counting.EverySecond = true;
    const struct {
        const char* What;
        std::int64_t Remaining;
        const WakePlan& Plan;
        std::uint32_t Wake;
    } cases[] = {
        {"the minute shown", 25 * Minute, none, 60000},
        {"the minute shown, part way", 24 * Minute + 500, none, 500},
        {"the due moment", 700, none, 700},
        {"the warning", 5 * Minute + 300, warned, 300},
        {"the countdown", 100 * Second, countdownLong, 10000},
        {"the countdown in the last minute", 30 * Second + 400, warned, 400},
        {"the seconds shown", 29 * Second + 500, counting, 500},
        {"the seconds shown in the last minute", 40 * Second + 300, none, 300},
        {"the last minute begins", Minute + 300, none, 300},
        {"the last minute, on the second", Minute, none, 1000},
        {"due now", 0, none, 1},
        {"passed", -5 * Second, counting, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextWakeMs(c.Remaining, c.Plan), c.Wake) << c.What;
    // However long the wait, never more than a minute asleep; and the
    // warning, the countdown and the due moment are each woken for.
    for (std::int64_t remaining = 1; remaining < 8 * Minute; remaining += 977) {
        const std::uint32_t wake = NextWakeMs(remaining, warned);
        EXPECT_GE(wake, 1u);
        EXPECT_LE(wake, 60000u);
        for (const std::int64_t mark : {warned.WarningAtMs, warned.CountdownAtMs, std::int64_t{0}})
            if (remaining > mark) {
                EXPECT_LE(static_cast<std::int64_t>(wake), remaining - mark) << remaining;
            }
    }
}
