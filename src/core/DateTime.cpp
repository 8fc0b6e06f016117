#include "core/DateTime.h"

#include <cmath>
#include <limits>

namespace corvello {

namespace {

constexpr std::int64_t MillisecondsPerDay = 86'400'000;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t EpochDay = DaysFromCivil(1899, 12, 30);

// The date-time as signed milliseconds since its epoch; the fraction always
// moves forward within the day, also before the epoch.
std::int64_t ToMilliseconds(double dateTime)
{
    const double day = std::trunc(dateTime);
    const double fraction = std::fabs(dateTime - day);
    return static_cast<std::int64_t>(day) * MillisecondsPerDay +
           static_cast<std::int64_t>(std::llround(fraction * MillisecondsPerDay));
}

// Far outside any clock reading; beyond it the conversion would overflow.
constexpr double MaxDays = 1e9;

}  // namespace

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    const auto days =
        static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - EpochDay);
    const double fraction =
        static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / MillisecondsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

std::uint64_t WholeMinutesBetween(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b) || std::fabs(a) > MaxDays || std::fabs(b) > MaxDays)
        return std::numeric_limits<std::uint64_t>::max();
    const std::int64_t difference = ToMilliseconds(a) - ToMilliseconds(b);
    return static_cast<std::uint64_t>(difference < 0 ? -difference : difference) / 60'000;
}

}  // namespace corvello
