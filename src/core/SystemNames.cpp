#include "core/SystemNames.h"

#include <windows.h>

#include <vector>

namespace corvello {
namespace {

// Name routines share one shape: a zero-filled buffer of 261 characters.
template <typename Fn>
std::wstring QueryName(Fn fn)
{
    std::vector<wchar_t> buffer(261, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!fn(buffer.data(), &size))
        return {};
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}

}  // namespace

std::wstring GetCurrentUserName()
{
    return QueryName([](wchar_t* buffer, DWORD* size) { return ::GetUserNameW(buffer, size) != FALSE; });
}

std::wstring GetCurrentComputerName()
{
    return QueryName([](wchar_t* buffer, DWORD* size) { return ::GetComputerNameW(buffer, size) != FALSE; });
}

}  // namespace corvello
