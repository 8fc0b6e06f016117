// Small text routines that must not depend on the user's locale: every copy
// of the program, on any Windows, must get the same answer.
#pragma once

#include <string>

namespace corvello {

// A-Z to a-z; every other character, including non-ASCII letters, unchanged.
std::wstring LowerAscii(std::wstring text);
// a-z to A-Z, likewise.
std::wstring UpperAscii(std::wstring text);
// Without the blanks and control characters at both ends.
std::wstring TrimBlanks(const std::wstring& text);

}  // namespace corvello
