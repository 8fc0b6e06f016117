// Settings structs loaded from and saved to the registry through their table
// of fields.
#include "core/StoredSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RegistryTestSupport.h"
#include "toolkit/Log.h"

using namespace corvello;

namespace {

constexpr const wchar_t* Path = L"Software\\QUORVANT\\CorvelloStoredSettingsTest";

struct Sample {
    std::uint32_t Delay = 1500;
    bool Shown = true;
    std::wstring Sound;
};

constexpr StoredField<Sample> SampleFields[] = {
    NumberField(L"Delay", &Sample::Delay, 300, 10000),
    SwitchField(L"Shown", &Sample::Shown),
    TextField(L"Sound", &Sample::Sound, 260),
};

std::vector<std::wstring>& Logged()
{
    static std::vector<std::wstring> lines;
    return lines;
}

class StoredSettings : public testing::Test {
protected:
    void SetUp() override
    {
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Path);
        Logged().clear();
        tk::SetLogSink([](const std::wstring& line) { Logged().push_back(line); });
    }
    void TearDown() override
    {
        tk::SetLogSink(nullptr);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Path);
    }
    static Sample Load() { return LoadSettings(tk::RegKey::Open(HKEY_CURRENT_USER, Path), SampleFields); }
};

}  // namespace

TEST_F(StoredSettings, NothingStoredGivesTheDefaults)
{
    const Sample loaded = Load();
    EXPECT_EQ(loaded.Delay, 1500u);
    EXPECT_TRUE(loaded.Shown);
    EXPECT_EQ(loaded.Sound, L"");
    EXPECT_TRUE(Logged().empty());
}

TEST_F(StoredSettings, WhatIsSavedComesBack)
{
    const Sample saved{300, false, L"C:\\Media\\ding.wav"};
    ASSERT_TRUE(SaveSettings(tk::RegKey::Create(HKEY_CURRENT_USER, Path), saved, SampleFields));
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, Path, L"Delay"), 300u);
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, Path, L"Shown"), 0u);
    const Sample loaded = Load();
    EXPECT_EQ(loaded.Delay, 300u);
    EXPECT_FALSE(loaded.Shown);
    EXPECT_EQ(loaded.Sound, L"C:\\Media\\ding.wav");
}

TEST_F(StoredSettings, ADamagedValueKeepsItsDefaultIsLoggedAndLosesNothingElse)
{
    struct Case {
        const char* What;
        const wchar_t* Name;
        DWORD Type;
        std::vector<std::uint8_t> Data;
    };
    const std::uint8_t big[4] = {0x10, 0x27, 0x01, 0x00};   // 75536: above the range
    const std::uint8_t small[4] = {0x2B, 0x01, 0x00, 0x00};  // 299: below it
    const std::uint8_t two[4] = {2, 0, 0, 0};
    const Case cases[] = {
        {"a number above its range", L"Delay", REG_DWORD, {big, big + 4}},
        {"a number below its range", L"Delay", REG_DWORD, {small, small + 4}},
        {"a binary number", L"Delay", REG_BINARY, {1, 2, 3, 4, 5}},
        {"a switch of 2", L"Shown", REG_DWORD, {two, two + 4}},
        {"a switch as a word", L"Shown", REG_SZ, {'n', 0, 'o', 0, 0, 0}},
        {"a text as a number", L"Sound", REG_DWORD, {two, two + 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Path);
        Logged().clear();
        // The other values are stored properly and must load.
        SaveSettings(tk::RegKey::Create(HKEY_CURRENT_USER, Path), Sample{4000, false, L"x.wav"}, SampleFields);
        testsupport::WriteValue(HKEY_CURRENT_USER, Path, c.Name, c.Type, c.Data.data(),
                                static_cast<DWORD>(c.Data.size()));
        const Sample loaded = Load();
        const Sample defaults{};
        EXPECT_EQ(loaded.Delay, std::wstring(c.Name) == L"Delay" ? defaults.Delay : 4000u);
        EXPECT_EQ(loaded.Shown, std::wstring(c.Name) == L"Shown" ? defaults.Shown : false);
        EXPECT_EQ(loaded.Sound, std::wstring(c.Name) == L"Sound" ? defaults.Sound : L"x.wav");
        ASSERT_EQ(Logged().size(), 1u);
        EXPECT_NE(Logged().front().find(c.Name), std::wstring::npos);
    }
}

TEST_F(StoredSettings, ATextLongerThanItsBoundKeepsItsDefault)
{
    testsupport::WriteSz(HKEY_CURRENT_USER, Path, L"Sound", std::wstring(261, L'a'));
    EXPECT_EQ(Load().Sound, L"");
    EXPECT_EQ(Logged().size(), 1u);
    testsupport::WriteSz(HKEY_CURRENT_USER, Path, L"Sound", std::wstring(260, L'a'));
    EXPECT_EQ(Load().Sound, std::wstring(260, L'a'));
}
