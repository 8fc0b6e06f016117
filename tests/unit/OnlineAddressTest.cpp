#include "online/NotifyAddress.h"

#include <gtest/gtest.h>

#include <string>

using namespace corvello;

TEST(OnlineAddress, ComposesBaseVerbAndQuery)
{
    struct Case {
        const wchar_t* Url;
        const wchar_t* verb;
        const wchar_t* data;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {L"x/ping/", L"start", L"version=1.2.0.21", L"x/ping/start/?version=1.2.0.21"},
        {L"x/ping", L"start", L"version=1.2.0.21", L"x/ping/start/?version=1.2.0.21"},
        {L"x/ping/", L"start/", L"version=1.2.0.21", L"x/ping/start/?version=1.2.0.21"},
        {L"x/ping/", L"", L"version=1.2.0.21", L"x/ping/?version=1.2.0.21"},
        {L"x/ping", L"", L"version=1.2.0.21", L"x/ping/?version=1.2.0.21"},
        {L"x/ping/", L"about", L"", L"x/ping/about/"},
        {L"x/ping", L"", L"", L"x/ping/"},
        {L"", L"start", L"a=1", L"/start/?a=1"},
        // The query is taken as it is: nothing encoded, nothing doubled.
        {L"http://h/ping/", L"openlink", L"version=1.2.0.21&id=100", L"http://h/ping/openlink/?version=1.2.0.21&id=100"},
        {L"http://h/ping//", L"a b", L"q=a b?c", L"http://h/ping//a b/?q=a b?c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposeNotifyAddress(c.Url, c.verb, c.data), c.Expected)
            << "url " << testing::PrintToString(std::wstring(c.Url)) << " verb "
            << testing::PrintToString(std::wstring(c.verb));
}

TEST(OnlineAddress, UrlEncodeKeepsItsExactSet)
{
    struct Case {
        std::string Input;
        std::string Expected;
    };
    const Case cases[] = {
        {"a b/c~d", "a+b%2Fc%7Ed"},
        {"(1.2)", "(1.2)"},
        {"", ""},
        {"\xE9", "%E9"},
        {"Corvello (1.2.0.21)", "Corvello+(1.2.0.21)"},
        {"AZaz09!$'()*-.@_", "AZaz09!$'()*-.@_"},
        {"\"#%&+,/:;<=>?[\\]^`{|}~", "%22%23%25%26%2B%2C%2F%3A%3B%3C%3D%3E%3F%5B%5C%5D%5E%60%7B%7C%7D%7E"},
        {"\x01\x7F\x80\xFF", "%01%7F%80%FF"},
        {"http://corvello.quorvant.com", "http%3A%2F%2Fcorvello.quorvant.com"},
        // Up to the first zero byte only.
        {std::string("ab\0cd", 5), "ab"},
        {std::string("\0x", 2), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlEncode(c.Input), c.Expected) << testing::PrintToString(c.Input);
}

TEST(OnlineAddress, UrlEncodeTreatsEveryByteByTheRule)
{
    for (int byte = 1; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string encoded = UrlEncode(std::string(1, c));
        const bool alnum = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9');
        const bool kept = alnum || std::string("!$'()*-.@_").find(c) != std::string::npos;
        if (kept)
            EXPECT_EQ(encoded, std::string(1, c)) << byte;
        else if (byte == ' ')
            EXPECT_EQ(encoded, "+");
        else
            EXPECT_EQ(encoded, "%" + std::string(1, "0123456789ABCDEF"[byte >> 4]) + "0123456789ABCDEF"[byte & 15])
                << byte;
    }
}
