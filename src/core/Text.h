// Small text routines that must not depend on the user's locale: every copy
// of the program, on any Windows, must get the same answer.
#pragma once

#include <initializer_list>
#include <string>

namespace corvello {

// A-Z to a-z; every other character, including non-ASCII letters, unchanged.
std::wstring LowerAscii(std::wstring text);
// a-z to A-Z, likewise.
std::wstring UpperAscii(std::wstring text);
// Without the blanks and control characters at both ends.
std::wstring TrimBlanks(const std::wstring& text);
// The text with every "%s" replaced, in order, by the arguments; a "%s"
// without an argument stays. Nothing else in the text, and nothing in the
// arguments, is read as a format.
std::wstring FormatText(const std::wstring& format, std::initializer_list<std::wstring> arguments);

}  // namespace corvello
