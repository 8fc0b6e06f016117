// Distance between two readings of the 32-bit millisecond tick counter, which
// wraps after 49.7 days: the difference taken as a signed number, made positive.
#pragma once

#include <cstdint>

namespace corvello {

constexpr std::uint32_t TickDistance(std::uint32_t now, std::uint32_t then)
{
    const auto diff = static_cast<std::int32_t>(now - then);
    return diff < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(diff)) : static_cast<std::uint32_t>(diff);
}

}  // namespace corvello
