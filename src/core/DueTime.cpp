#include "core/DueTime.h"

#include <algorithm>
#include <iterator>


namespace corvello {
namespace {

constexpr std::int64_t MinuteMs = 60000;
constexpr std::int64_t DayMs = 24 * 60 * MinuteMs;
// Days from 1 March 0000 to 1 January 1601.
constexpr std::int64_t DaysTo1601 = 584694;

bool IsDigit(wchar_t c) noexcept
{
    return c >= L'0' && c <= L'9';
}

// Days from 1 January 1601 to the date (proleptic Gregorian calendar).
std::int64_t DaysFrom1601(int year, int month, int day) noexcept
{
    // Counted from 1 March, so the leap day ends the year.
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - DaysTo1601;
}

// Whole days since 1 January 1601, a Monday.
std::int64_t DayOf(std::int64_t localMs) noexcept
{
    return (localMs - (localMs % DayMs + DayMs) % DayMs) / DayMs;
}

// A short text made in place, piece by piece, without a string for each
// piece: the times and waits shown are made often and are a few characters.
class ShortText {
public:
    ShortText& Add(std::wstring_view piece) noexcept
    {
        for (const wchar_t c : piece)
            if (size_ < std::size(text_))
                text_[size_++] = c;
        return *this;
    }
    // A number of zero or more, with leading zeros up to the digits asked for.
    ShortText& Number(std::int64_t value, int digits = 1) noexcept
    {
        wchar_t reversed[20];
        int count = 0;
        do {
            reversed[count++] = static_cast<wchar_t>(L'0' + value % 10);
            value /= 10;
        } while (value > 0 || count < digits);
        while (count > 0)
            Add({&reversed[--count], 1});
        return *this;
    }
    // "07:05".
    ShortText& Clock(int minuteOfDay) noexcept
    {
        minuteOfDay %= 1440;  // the hour after 23:00 is 00:00
        return Number(minuteOfDay / 60, 2).Add(L":").Number(minuteOfDay % 60, 2);
    }
    std::wstring Text() const { return {text_, size_}; }

private:
    wchar_t text_[48];
    std::size_t size_ = 0;
};

}  // namespace

std::optional<std::uint32_t> ParseDuration(std::wstring_view text) noexcept
{
    std::uint64_t unit = 60;
    if (!text.empty() && !IsDigit(text.back())) {
        switch (text.back()) {
        case L's':
        case L'S':
            unit = 1;
            break;
        case L'm':
        case L'M':
            unit = 60;
            break;
        case L'h':
        case L'H':
            unit = 3600;
            break;
        default:
            return std::nullopt;
        }
        text.remove_suffix(1);
    }
    // More digits than any wait in range has, leading zeros aside.
    while (text.size() > 1 && text.front() == L'0')
        text.remove_prefix(1);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    const std::uint64_t seconds = value * unit;
    if (seconds < ShortestWaitSeconds || seconds > LongestWaitSeconds)
        return std::nullopt;
    return static_cast<std::uint32_t>(seconds);
}

std::wstring DurationWord(std::uint32_t seconds)
{
    return ShortText().Number(seconds).Add(L"s").Text();
}

std::optional<int> ParseClockTime(std::wstring_view text) noexcept
{
    const std::size_t colon = text.find(L':');
    if (colon != 1 && colon != 2)
        return std::nullopt;
    if (text.size() != colon + 3)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != colon && !IsDigit(text[i]))
            return std::nullopt;
    int hour = 0;
    for (std::size_t i = 0; i < colon; ++i)
        hour = hour * 10 + (text[i] - L'0');
    const int minute = (text[colon + 1] - L'0') * 10 + (text[colon + 2] - L'0');
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return hour * 60 + minute;
}

std::wstring ClockTimeText(int minuteOfDay)
{
    return ShortText().Clock(minuteOfDay).Text();
}

std::int64_t LocalMilliseconds(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    return DaysFrom1601(year, month, day) * DayMs + ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
}

int MinuteOfDay(std::int64_t localMs) noexcept
{
    return static_cast<int>((localMs % DayMs + DayMs) % DayMs / MinuteMs);
}

DueTime DueIn(std::uint32_t seconds, const ClockReading& now) noexcept
{
    DueTime due;
    due.Kind = DueKind::In;
    due.SetTick = now.Tick;
    due.WaitMs = seconds * 1000u;
    due.LocalDueMs = now.LocalMs + due.WaitMs;
    due.ClockMinute = MinuteOfDay(due.LocalDueMs);
    return due;
}

DueTime DueAt(int minuteOfDay, const ClockReading& now) noexcept
{
    DueTime due;
    due.Kind = DueKind::At;
    due.ClockMinute = minuteOfDay;
    const std::int64_t today = now.LocalMs - (now.LocalMs % DayMs + DayMs) % DayMs;
    due.LocalDueMs = today + minuteOfDay * MinuteMs;
    if (due.LocalDueMs <= now.LocalMs)
        due.LocalDueMs += DayMs;
    return due;
}

DueTime DueFor(const LaterTime& when, const ClockReading& now) noexcept
{
    return when.Kind == DueKind::At ? DueAt(when.ClockMinute, now) : DueIn(when.Seconds, now);
}

std::int64_t RemainingMs(const DueTime& due, const ClockReading& now) noexcept
{
    if (due.Kind == DueKind::At)
        return due.LocalDueMs - now.LocalMs;
    // The counter only runs forward: the unsigned distance is right across
    // its wrap.
    const std::uint32_t elapsed = now.Tick - due.SetTick;
    return static_cast<std::int64_t>(due.WaitMs) - elapsed;
}

void FollowClock(DueTime& due, const ClockReading& now) noexcept
{
    if (due.Kind == DueKind::In) {
        due.LocalDueMs = now.LocalMs + RemainingMs(due, now);
        due.ClockMinute = MinuteOfDay(due.LocalDueMs);
        return;
    }
    if (due.LocalDueMs - now.LocalMs > DayMs)
        due = DueAt(due.ClockMinute, now);
}

DueState StateOf(std::int64_t remainingMs) noexcept
{
    if (remainingMs > 0)
        return DueState::Waiting;
    return remainingMs > -MissedAfterMs ? DueState::Due : DueState::Missed;
}

std::int64_t MinutesLeft(std::int64_t remainingMs) noexcept
{
    return remainingMs <= 0 ? 0 : (remainingMs - 1) / MinuteMs + 1;
}

std::wstring RemainingText(std::int64_t remainingMs)
{
    ShortText text;
    text.Add(L"in ");
    // Rounded up as the minutes are: the last second shows as 1.
    const std::int64_t seconds = std::max<std::int64_t>((remainingMs + 999) / 1000, 1);
    if (seconds < 60)
        return text.Number(seconds).Add(L" s").Text();
    const std::int64_t minutes = MinutesLeft(remainingMs);
    if (minutes < 60)
        return text.Number(minutes).Add(L" min").Text();
    text.Number(minutes / 60).Add(L" h");
    if (minutes % 60 != 0)
        text.Add(L" ").Number(minutes % 60).Add(L" min");
    return text.Text();
}

std::wstring MomentText(std::int64_t localMs, std::int64_t nowLocalMs)
{
    static constexpr std::wstring_view DayNames = L"MonTueWedThuFriSatSun";
    ShortText text;
    text.Clock(MinuteOfDay(localMs));
    const std::int64_t day = DayOf(localMs);
    const std::int64_t daysAway = day - DayOf(nowLocalMs);
    if (daysAway == 1)
        text.Add(L" tomorrow");
    if (daysAway < 2)
        return text.Text();
    // A week or more away, the day's name alone would read as this week's.
    text.Add(daysAway < 7 ? L" on " : L" next ");
    return text.Add(DayNames.substr(static_cast<std::size_t>(day % 7) * 3, 3)).Text();
}

std::uint32_t NextWakeMs(std::int64_t remainingMs, const WakePlan& plan) noexcept
{
    if (remainingMs <= 1)
        return 1;
    // The due moment, and the moment the minute (or second) shown changes:
    // in the last minute the time left is shown in seconds.
    const std::int64_t step = plan.EverySecond || remainingMs <= MinuteMs ? 1000 : MinuteMs;
    std::int64_t wake = std::min(remainingMs, (remainingMs - 1) % step + 1);
    for (const std::int64_t at : {plan.WarningAtMs, plan.CountdownAtMs})
        if (at > 0 && remainingMs > at)
            wake = std::min(wake, remainingMs - at);
    return static_cast<std::uint32_t>(std::max<std::int64_t>(wake, 1));
}

}  // namespace corvello
