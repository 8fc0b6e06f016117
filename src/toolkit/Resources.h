// Texts from the program's own resources.
#pragma once

#include <string>

namespace tk {

// The string with this id from the program's string table; empty when there is
// none.
std::wstring LoadResourceString(unsigned id);

}  // namespace tk
