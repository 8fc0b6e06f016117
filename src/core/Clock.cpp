#include "core/Clock.h"

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

}  // namespace corvello
