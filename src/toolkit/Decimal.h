#pragma once
// Whole numbers as decimal text, without the C runtime's formatted output:
// that pulls a floating-point printer into the program for a few digits.
#include <string>

namespace tk {

inline std::wstring Decimal(long long value)
{
    // Worked on the magnitude as unsigned, so the most negative value has one.
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    wchar_t digits[24];
    wchar_t* first = digits + sizeof digits / sizeof digits[0];
    do {
        *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--first = L'-';
    return std::wstring(first, digits + sizeof digits / sizeof digits[0]);
}

}  // namespace tk
