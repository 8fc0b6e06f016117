// When the minute timer sends the daily "running" ping. No
// Windows types here: the caller passes the minutes and the random draw.
#pragma once

#include <cstdint>

namespace corvello {

// "running" goes out once more whole minutes than a day and a random part
// of half a day (drawn anew at every minute tick) have passed since the last
// ping: strictly more, so a day to the minute is never enough.
inline constexpr std::uint32_t RunningThresholdBase = 1440;
inline constexpr std::uint32_t RunningThresholdSpread = 720;

// draw: the tick's random part, 0 to RunningThresholdSpread - 1.
constexpr bool RunningPingDue(std::uint64_t wholeMinutesSinceLastPing, std::uint32_t draw) noexcept
{
    return wholeMinutesSinceLastPing > RunningThresholdBase + draw;
}

}  // namespace corvello
