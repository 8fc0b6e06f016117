// When a statistics ping may go out, and what its query says. No Windows
// types here: the caller passes the clock's reading and the settings.
#pragma once

#include <cstdint>
#include <string>

#include "core/DateTime.h"

namespace corvello {

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
