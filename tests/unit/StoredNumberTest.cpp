// Numbers read from registry values that may have been damaged.
#include "core/StoredNumber.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvello;

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

std::vector<std::uint8_t> Text(const std::u16string& text, bool terminated = true)
{
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminated)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

}  // namespace

TEST(StoredNumber, ReadsWhatCanBeRead)
{
    struct Case {
        const char* What;
        std::uint32_t Type;
        std::vector<std::uint8_t> Data;
        std::optional<std::uint32_t> Expected;
    };
    const std::optional<std::uint32_t> none;
    const Case cases[] = {
        {"dword", value_type::Dword, Bytes({7, 1, 0, 0}), 263u},
        {"dword of two bytes", value_type::Dword, Bytes({2, 1}), 258u},
        {"dword of one byte", value_type::Dword, Bytes({1}), 1u},
        {"empty dword", value_type::Dword, {}, none},
        {"dword of five bytes", value_type::Dword, Bytes({1, 0, 0, 0, 0}), none},
        {"qword", value_type::Qword, Bytes({5, 0, 0, 0, 0, 0, 0, 0}), 5u},
        {"qword of the largest 32-bit number", value_type::Qword, Bytes({255, 255, 255, 255, 0, 0, 0, 0}),
         0xFFFFFFFFu},
        {"qword beyond 32 bits", value_type::Qword, Bytes({0, 0, 0, 0, 1, 0, 0, 0}), none},
        {"qword with only the top bit set", value_type::Qword, Bytes({0, 0, 0, 0, 0, 0, 0, 128}), none},
        {"short qword", value_type::Qword, Bytes({5, 0, 0, 0}), none},
        {"number as text", value_type::String, Text(u"42"), 42u},
        {"text with blanks and sign", value_type::ExpandString, Text(u"  +17 \t"), 17u},
        {"negative text", value_type::String, Text(u"-1"), none},
        {"minus zero", value_type::String, Text(u"-0"), 0u},
        {"the largest 32-bit number as text", value_type::String, Text(u"4294967295"), 0xFFFFFFFFu},
        {"one beyond it", value_type::String, Text(u"4294967296"), none},
        {"text beyond 32 bits", value_type::String, Text(u"99999999999999999999"), none},
        {"leading zeros", value_type::String, Text(u"000000000000000000001"), 1u},
        {"unterminated text", value_type::String, Text(u"12", false), 12u},
        {"odd-length text", value_type::String, Bytes({'3', 0, '4'}), none},
        {"terminated text with a stray byte", value_type::String, Bytes({'1', 0, 0, 0, 7}), none},
        {"text after a zero is not read", value_type::String, Text(u"5\u00009"), 5u},
        {"empty text", value_type::String, Text(u""), none},
        {"words", value_type::String, Text(u"True"), none},
        {"a sign alone", value_type::String, Text(u"-"), none},
        {"binary", value_type::Binary, Bytes({1, 0, 0, 0}), none},
        {"multi-string", value_type::MultiString, Text(u"1\u0000"), none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeStoredNumber(c.Type, c.Data.data(), c.Data.size()), c.Expected) << c.What;
    EXPECT_EQ(DecodeStoredNumber(value_type::Dword, nullptr, 4), none);
}
