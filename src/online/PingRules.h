// When a statistics ping may go out, and what its query says. No Windows
// types here: the caller passes the clock's reading and the settings.
#pragma once

#include <cstdint>
#include <string>

namespace corvello {

// A local date and time in the toolkit's format: days since 30 December 1899,
// the time of day as the fraction (for days before that date the fraction
// counts forward from the start of the day, as the format has it).
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// Whole minutes between two date-times, whichever is later: the absolute
// difference in milliseconds divided by 60000, truncated. Each reading is
// rounded to the millisecond first, so 30 minutes never reads as 29.
std::uint64_t WholeMinutesBetween(double a, double b);

// Non-urgent pings closer together than this are dropped.
inline constexpr std::uint64_t PingSpacingMinutes = 30;

enum class PingGate {
    Send,
    Offline,     // online features are switched off
    Terminated,  // the program is ending
    TooSoon,     // a non-urgent ping within the spacing of the last one
};

// The gates in their order: online, terminated, then the spacing, which an
// urgent ping ignores.
PingGate CheckPingGates(bool onlineEnabled, bool terminated, bool urgent, double now, double last);

// "version=" and the version, then "&" and the extra parameters when there
// are any. Nothing is encoded: the parameters are plain ASCII.
std::wstring ComposePingParams(const std::wstring& version, const std::wstring& additionalParams);

}  // namespace corvello
