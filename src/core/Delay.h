// Waiting while the program's windows stay responsive.
#pragma once

#include <cstdint>

namespace corvello {

// Waits while the program's messages keep flowing.
void Delay(std::uint32_t milliseconds);

}  // namespace corvello
