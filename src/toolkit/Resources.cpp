#include "toolkit/Resources.h"

#include <windows.h>

namespace tk {

std::wstring LoadResourceString(unsigned id)
{
    // With a zero length LoadStringW hands out a pointer into the resource.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

}  // namespace tk
