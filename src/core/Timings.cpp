#include "core/Timings.h"

#include <windows.h>

#include <string>

namespace corvello {

std::uint32_t TimingMs(Timing timing)
{
    static const std::wstring list = [] {
        wchar_t buffer[512] = {};
        const DWORD length = ::GetEnvironmentVariableW(TimingsVariable, buffer, static_cast<DWORD>(std::size(buffer)));
        return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
    }();
    return ChooseTiming(list, timing);
}

}  // namespace corvello
