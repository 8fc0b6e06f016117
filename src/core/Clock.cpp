#include "core/Clock.h"

#include "core/DateTime.h"
#include "core/Identity.h"

namespace corvello {

namespace {

SYSTEMTIME SystemLocalTime()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return now;
}

LocalClock CurrentClock = &SystemLocalTime;

}  // namespace

SYSTEMTIME LocalNow()
{
    return CurrentClock();
}

void SetLocalClock(LocalClock clock)
{
    CurrentClock = clock ? clock : &SystemLocalTime;
}

std::wstring TodayIso()
{
    const SYSTEMTIME now = LocalNow();
    return FormatIsoDate(now.wYear, now.wMonth, now.wDay);
}

double LocalDateTimeNow()
{
    const SYSTEMTIME now = LocalNow();
    return EncodeDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

ClockReading ClocksNow()
{
    const SYSTEMTIME now = LocalNow();
    return {::GetTickCount(),
            LocalMilliseconds(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds)};
}

}  // namespace corvello
