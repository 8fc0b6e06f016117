#include "core/Text.h"

#include <cstdint>

namespace corvello {

std::wstring LowerAscii(std::wstring text)
{
    for (auto& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

std::wstring UpperAscii(std::wstring text)
{
    for (auto& c : text)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

std::wstring TrimBlanks(const std::wstring& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<std::uint32_t>(text[first]) <= 0x20u)
        ++first;
    while (last > first && static_cast<std::uint32_t>(text[last - 1]) <= 0x20u)
        --last;
    return text.substr(first, last - first);
}

std::wstring FormatText(const std::wstring& format, std::initializer_list<std::wstring> arguments)
{
    std::wstring text;
    auto next = arguments.begin();
    std::size_t at = 0;
    for (;;) {
        const std::size_t mark = format.find(L"%s", at);
        if (mark == std::wstring::npos || next == arguments.end()) {
            text.append(format, at, std::wstring::npos);
            return text;
        }
        text.append(format, at, mark - at);
        text += *next++;
        at = mark + 2;
    }
}

}  // namespace corvello
