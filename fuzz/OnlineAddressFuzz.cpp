// Any bytes: UrlEncode keeps its alphabet and its bound and decodes back to
// its input, and the addresses built around it keep their shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Text.h"
#include "online/LinkRules.h"
#include "online/NotifyAddress.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string Decode(const std::string& encoded)
{
    std::string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%') {
            if (i + 2 >= encoded.size())
                std::abort();
            const int high = HexValue(encoded[i + 1]);
            const int low = HexValue(encoded[i + 2]);
            if (high < 0 || low < 0)
                std::abort();
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

std::wstring Wide(std::string_view bytes)
{
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string input(bytes.substr(0, bytes.find('\0')));

    const std::string encoded = corvello::UrlEncode(bytes);
    if (encoded.size() > input.size() * 3)
        std::abort();
    for (const char c : encoded) {
        const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!alnum && std::string_view("!$'()*-.@_+%").find(c) == std::string_view::npos)
            std::abort();
    }
    if (Decode(encoded) != input)
        std::abort();

    // Three wide strings from the rest: base, verb, data.
    const std::size_t third = size / 3;
    const std::wstring url = Wide(bytes.substr(0, third));
    const std::wstring verb = Wide(bytes.substr(third, third));
    const std::wstring query = Wide(bytes.substr(2 * third));
    const std::wstring address = corvello::ComposeNotifyAddress(url, verb, query);
    if (address.compare(0, url.size(), url) != 0)
        std::abort();
    const std::wstring path = query.empty() ? address : address.substr(0, address.size() - query.size() - 1);
    if (path.empty() || path.back() != L'/' || (!query.empty() && address[path.size()] != L'?'))
        std::abort();
    if (address.size() > url.size() + verb.size() + query.size() + 3)
        std::abort();

    const std::wstring mail = corvello::ComposeMailUrl(url, input, input);
    if (corvello::LowerAscii(mail).find(L"mailto:") == std::wstring::npos)
        std::abort();
    if (mail.size() > url.size() + 7 + (input.empty() ? 0 : 2 * (input.size() * 3) + 15))
        std::abort();
    return 0;
}
