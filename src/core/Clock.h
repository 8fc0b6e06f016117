// The local date and time, with a seam for tests.
#pragma once

#include <windows.h>

#include <string>

#include "core/DueTime.h"

namespace corvello {

// The local date and time. Tests put a clock of their own in its place.
using LocalClock = SYSTEMTIME (*)();
SYSTEMTIME LocalNow();
void SetLocalClock(LocalClock clock);
// Today's local date as "yyyy-mm-dd", whatever the user's locale.
std::wstring TodayIso();
// Now as one number (see EncodeDateTime), for the spacing of the pings.
double LocalDateTimeNow();
// The tick counter and the local clock (LocalNow) now, for what waits.
ClockReading ClocksNow();

}  // namespace corvello
