// The general settings as read from their stored values.
#include "core/GeneralSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/StoredNumber.h"

using namespace corvello;

namespace {

StoredValue Bytes(std::uint32_t type, std::vector<std::uint8_t> data)
{
    return StoredValue{type, std::move(data), false};
}

StoredValue Text(const std::u16string& text)
{
    StoredValue value{value_type::String, {}, false};
    for (const char16_t c : text) {
        value.Data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        value.Data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return value;
}

}  // namespace

TEST(GeneralSettings, TheDefaultsAreAllOn)
{
    const GeneralSettings defaults;
    EXPECT_TRUE(defaults.AutoRun);
    EXPECT_TRUE(defaults.Online);
    EXPECT_TRUE(defaults.Confirmations);
}

TEST(GeneralSettings, AStoredSwitchReadsAsWellAsItCanAndDamageTurnsItOff)
{
    struct Case {
        const char* What;
        std::optional<StoredValue> Value;
        bool Expected;  // whatever the default
    };
    const Case cases[] = {
        {"a DWORD 0", Bytes(value_type::Dword, {0, 0, 0, 0}), false},
        {"a DWORD 1", Bytes(value_type::Dword, {1, 0, 0, 0}), true},
        {"a DWORD 7", Bytes(value_type::Dword, {7, 0, 0, 0}), true},
        {"a DWORD of one byte", Bytes(value_type::Dword, {1}), true},
        {"a QWORD 0", Bytes(value_type::Qword, {0, 0, 0, 0, 0, 0, 0, 0}), false},
        {"a QWORD beyond 32 bits", Bytes(value_type::Qword, {0, 0, 0, 0, 1, 0, 0, 0}), false},
        {"text \" 1 \"", Text(u" 1 "), true},
        {"text \"0\"", Text(u"0"), false},
        {"text that is no number", Text(u"yes"), false},
        {"bytes", Bytes(value_type::Binary, {1, 0, 0, 0}), false},
        {"an empty value", Bytes(0, {}), false},
        {"a value too large", StoredValue{value_type::Dword, {}, true}, false},
    };
    for (const Case& c : cases) {
        for (const bool whenMissing : {false, true})
            EXPECT_EQ(StoredSwitch(c.Value, whenMissing), c.Expected) << c.What << " " << whenMissing;
    }
    EXPECT_TRUE(StoredSwitch(std::nullopt, true));
    EXPECT_FALSE(StoredSwitch(std::nullopt, false));
}

TEST(GeneralSettings, EachValueIsReadUnderItsNameAndAMissingOneKeepsWhatWasThere)
{
    std::map<std::wstring, StoredValue> stored = {{L"Online", Bytes(value_type::Dword, {0, 0, 0, 0})}};
    std::map<std::wstring, std::size_t> asked;
    const auto lookup = [&](const wchar_t* name, std::size_t maxBytes) -> std::optional<StoredValue> {
        asked[name] = maxBytes;
        const auto found = stored.find(name);
        return found == stored.end() ? std::nullopt : std::optional<StoredValue>(found->second);
    };
    GeneralSettings before;
    before.Confirmations = false;
    const GeneralSettings read = ReadGeneralSettings(before, lookup);
    EXPECT_TRUE(read.AutoRun);
    EXPECT_FALSE(read.Online);
    EXPECT_FALSE(read.Confirmations);
    EXPECT_EQ(asked, (std::map<std::wstring, std::size_t>{{L"AutoRun", 256}, {L"Online", 256}, {L"Confirmations", 256}}));
}
