// Local date-times as one number, and the whole minutes between two of them.
// No Windows types here.
#pragma once

#include <cstdint>

namespace corvello {

// A local date and time in the toolkit's format: days since 30 December 1899,
// the time of day as the fraction (for days before that date the fraction
// counts forward from the start of the day, as the format has it).
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// Whole minutes between two date-times, whichever is later: the absolute
// difference in milliseconds divided by 60000, truncated. Each reading is
// rounded to the millisecond first, so 30 minutes never reads as 29.
std::uint64_t WholeMinutesBetween(double a, double b);

}  // namespace corvello
