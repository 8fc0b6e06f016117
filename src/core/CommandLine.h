// The program's command line: splitting it into arguments the way Windows does
// for every program, and choosing the start-up work mode from the arguments.
// No Windows types here, so the whole path is tested and fuzzed natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvello {

enum class WorkMode : int {
    Undefined = 0,
    Default = 1,
    Settings = 2,
    Install = 3,
    Uninstall = 4,
    Startup = 5,
    Reset = 6,
    Stop = 7,
};

// Splits a full command line (program name first) by the rules of
// CommandLineToArgvW: blanks and tabs separate; the program name ends at the
// next blank, or at the closing quote when it starts with one; elsewhere double
// quotes group, backslashes escape only quotes, and runs of quotes inside a
// quoted part count in threes. An empty line gives no elements here (Windows
// would substitute the module path, which the caller already knows).
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The program's arguments: every element after the program name, up to the
// first empty one.
std::vector<std::wstring> CollectParams(const std::vector<std::wstring>& elements);

// The first argument that matches a rule decides; the rules in order are:
// "startup", "uninstall", "install", "reset", "stop" anywhere in the argument,
// then "c" or "s" as the whole argument. No match at all gives Default.
WorkMode ChooseWorkMode(const std::vector<std::wstring>& params);

}  // namespace corvello
