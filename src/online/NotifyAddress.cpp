#include "online/NotifyAddress.h"

namespace corvello {

std::wstring EnsureTrailingSlash(std::wstring text)
{
    if (text.empty() || text.back() != L'/')
        text += L'/';
    return text;
}

std::wstring ComposeNotifyAddress(const std::wstring& url, const std::wstring& verb, const std::wstring& data)
{
    std::wstring address = EnsureTrailingSlash(url);
    if (!verb.empty())
        address += EnsureTrailingSlash(verb);
    if (!data.empty())
        address += L'?' + data;
    return address;
}

namespace {

constexpr bool KeptAsIs(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '!':
    case '$':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '-':
    case '.':
    case '@':
    case '_':
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string UrlEncode(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0)
            break;
        if (KeptAsIs(c)) {
            encoded += ch;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += Hex[c >> 4];
            encoded += Hex[c & 0x0F];
        }
    }
    return encoded;
}

std::wstring WidenAscii(std::string_view text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (const char ch : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    return wide;
}

}  // namespace corvello
