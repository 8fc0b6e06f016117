// Joins pieces of text into one wide string in a single call, for the
// messages and paths the program builds: a chain of "+" builds and frees a
// string at every step, and each step costs code of its own.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tk {

// The pieces one after another: Concat({L"a", name, L"b"}).
std::wstring Concat(std::initializer_list<std::wstring_view> pieces);

}  // namespace tk
