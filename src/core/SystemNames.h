// The names of the logged-on user and of the computer.
#pragma once

#include <string>

namespace corvello {

// Empty when Windows cannot tell.
std::wstring GetCurrentUserName();
std::wstring GetCurrentComputerName();

}  // namespace corvello
