// The one log: every failure the program swallows is reported here, with the
// Windows error code, as a line of debug output (a debugger or a debug-output
// viewer shows it). Nothing is shown to the user and no file is written.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace tk {

// A failure that carries a Windows error or result code, with a fixed text.
class WindowsError : public std::exception {
public:
    WindowsError(const char* what, long code) noexcept : what_(what), code_(code) {}
    const char* what() const noexcept override { return what_; }
    long Code() const noexcept { return code_; }

private:
    const char* what_;
    long code_;
};

// "<program>: <what> failed (error <code>: <system text>)"; a code of 0 leaves
// the error part out.
void LogFailure(std::wstring_view what, unsigned long errorCode) noexcept;
// The same with the calling thread's last Windows error.
void LogLastError(std::wstring_view what) noexcept;

// For a catch block that swallows what it caught: the exception's text and
// code when it says them.
void LogCurrentException(std::wstring_view what) noexcept;

// Where the lines go: OutputDebugString, unless a test catches them.
using LogSink = void (*)(const std::wstring& line);
void SetLogSink(LogSink sink) noexcept;

}  // namespace tk
