#include "toolkit/Log.h"

#include <windows.h>

#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"

namespace tk {
namespace {

void DebugOutput(const std::wstring& line)
{
    ::OutputDebugStringW(line.c_str());
}

LogSink CurrentSink = &DebugOutput;

std::wstring ProgramName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : 0);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.rfind(L'.'));
}

std::wstring SystemText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return text;
}

// The exceptions' texts are ASCII.
std::wstring Widen(const char* text)
{
    std::wstring wide;
    for (; text && *text; ++text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return wide;
}

}  // namespace

void LogFailure(std::wstring_view what, unsigned long errorCode) noexcept
{
    // The log itself must never fail its caller.
    try {
        const DWORD saved = ::GetLastError();
        std::wstring line = ProgramName() + L": ";
        line += what;
        line += L" failed";
        if (errorCode != 0) {
            line += tk::Concat({L" (error ", tk::Decimal(errorCode)});
            const std::wstring text = SystemText(errorCode);
            if (!text.empty())
                line += tk::Concat({L": ", text});
            line += L')';
        }
        line += L'\n';
        CurrentSink(line);
        ::SetLastError(saved);
    } catch (...) {
    }
}

void LogLastError(std::wstring_view what) noexcept
{
    LogFailure(what, ::GetLastError());
}

void LogCurrentException(std::wstring_view what) noexcept
{
    try {
        throw;
    } catch (const WindowsError& error) {
        LogFailure(Concat({what, L": ", Widen(error.what())}), static_cast<unsigned long>(error.Code()));
    } catch (const std::exception& error) {
        LogFailure(Concat({what, L": ", Widen(error.what())}), 0);
    } catch (...) {
        LogFailure(what, 0);
    }
}

void SetLogSink(LogSink sink) noexcept
{
    CurrentSink = sink ? sink : &DebugOutput;
}

}  // namespace tk
