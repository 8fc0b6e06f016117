#include "core/StoredNumber.h"

#include <limits>

namespace corvello {
namespace {

constexpr std::uint32_t Largest = std::numeric_limits<std::uint32_t>::max();

std::uint64_t LittleEndian(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | data[i];
    return value;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::optional<std::uint32_t> FromText(const std::uint8_t* data, std::size_t size)
{
    // UTF-16 units up to the first zero.
    if (size % 2 != 0)
        return std::nullopt;
    const std::size_t units = size / 2;
    std::size_t end = 0;
    while (end < units && LittleEndian(data + 2 * end, 2) != 0)
        ++end;
    const auto at = [data](std::size_t i) { return static_cast<char16_t>(LittleEndian(data + 2 * i, 2)); };
    std::size_t first = 0;
    while (first < end && IsBlank(at(first)))
        ++first;
    while (end > first && IsBlank(at(end - 1)))
        --end;
    bool negative = false;
    if (first < end && (at(first) == u'+' || at(first) == u'-')) {
        negative = at(first) == u'-';
        ++first;
    }
    if (first == end)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = first; i < end; ++i) {
        const char16_t c = at(i);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
        if (value > Largest)
            return std::nullopt;
    }
    if (negative && value != 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<std::uint32_t> DecodeStoredNumber(std::uint32_t type, const std::uint8_t* data, std::size_t size)
{
    if (!data && size > 0)
        return std::nullopt;
    switch (type) {
    case value_type::Dword:
        if (size < 1 || size > 4)
            return std::nullopt;
        return static_cast<std::uint32_t>(LittleEndian(data, size));
    case value_type::Qword: {
        if (size != 8)
            return std::nullopt;
        const std::uint64_t value = LittleEndian(data, size);
        if (value > Largest)
            return std::nullopt;
        return static_cast<std::uint32_t>(value);
    }
    case value_type::String:
    case value_type::ExpandString:
        return FromText(data, size);
    default:
        return std::nullopt;
    }
}

}  // namespace corvello
