// Any bytes of any value type read as a number or as nothing, never beyond
// their end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/StoredNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the type; the rest, copied to a buffer of its own
    // size, is the value.
    const std::uint32_t type = data[0] % 12;
    const std::vector<std::uint8_t> value(data + 1, data + size);
    (void)corvello::DecodeStoredNumber(type, value.data(), value.size());
    return 0;
}
