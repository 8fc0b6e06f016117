// Any bytes of any value type read as a number or as nothing, never beyond
// their end; torn text and numbers beyond 32 bits read as nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/StoredNumber.h"

namespace vt = corvello::value_type;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the type; the rest, copied to a buffer of its own
    // size, is the value.
    const std::uint32_t type = data[0] % 12;
    const std::vector<std::uint8_t> value(data + 1, data + size);
    const auto number = corvello::DecodeStoredNumber(type, value.data(), value.size());
    if (number && (type == vt::String || type == vt::ExpandString) && value.size() % 2 != 0)
        std::abort();
    if (type == vt::Qword && value.size() == 8) {
        std::uint64_t whole = 0;
        for (std::size_t i = 8; i-- > 0;)
            whole = (whole << 8) | value[i];
        // Read exactly when it fits, and as itself: never capped.
        if (number.has_value() != (whole <= 0xFFFFFFFFu) || (number && *number != whole))
            std::abort();
    }
    return 0;
}
