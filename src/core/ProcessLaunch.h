// Starting other programs: a command line, another copy of this program, or a
// Windows tool from the system directory.
#pragma once

#include <cstdint>
#include <string>

namespace corvello {

// Starts a command line; with wait, returns the program's exit code, else 0.
std::uint32_t RunProcess(const std::wstring& commandLine, bool wait, bool show);
// Starts another copy of a program, shown, without arguments and without
// waiting. The path is quoted: unquoted, a path with blanks would start
// another program.
void StartProgramCopy(const std::wstring& exePath);
// The same for a Windows tool named by the command line's first word
// ("shutdown.exe -l"), started from the system directory with exactly that
// command line. A first word with a path in it is refused (0).
std::uint32_t RunSystemTool(const std::wstring& commandLine, bool wait, bool show);

}  // namespace corvello
