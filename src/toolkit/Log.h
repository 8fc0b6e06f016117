// The one log: every failure the program swallows is reported here, with the
// Windows error code, as a line of debug output (a debugger or a debug-output
// viewer shows it). Nothing is shown to the user and no file is written.
#pragma once

#include <string>

namespace tk {

// "<program>: <what> failed (error <code>: <system text>)"; a code of 0 leaves
// the error part out.
void LogFailure(const std::wstring& what, unsigned long errorCode) noexcept;
// The same with the calling thread's last Windows error.
void LogLastError(const std::wstring& what) noexcept;

// Where the lines go: OutputDebugString, unless a test catches them.
using LogSink = void (*)(const std::wstring& line);
void SetLogSink(LogSink sink) noexcept;

}  // namespace tk
