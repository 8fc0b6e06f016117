// The option bridge over a real application object and registry.
#include "ui/OptionBridge.h"

#include <gtest/gtest.h>

#include "core/FileVersion.h"
#include "core/RegistryLayout.h"
#include "app/CorvelloApp.h"
#include "support/RegistryTestSupport.h"

using namespace corvello;

namespace {

constexpr const wchar_t* Key = L"Software\\QUORVANT\\CorvelloApiTest\\1.0";

class Bridge : public ::testing::Test {
protected:
    void SetUp() override
    {
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key);
        app_ = std::make_unique<CorvelloApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser,
                                      std::wstring(L"\\") + Key);
        api_ = std::make_unique<OptionBridge>(*app_, L"Corvello", VersionArray{1, 2, 0, 21}, L"", RegistryRootCurrentUser, L"");
        app_->SettingsReset();
    }
    void TearDown() override
    {
        api_.reset();
        app_->Terminate(0);
        app_.reset();
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloApiTest");
        testsupport::DeleteValue(HKEY_CURRENT_USER, registry::RunKey, RunName().c_str());
    }
    static std::wstring RunName() { return SplitPath(GetModulePath()).FileName; }
    std::optional<DWORD> Stored(const wchar_t* name) { return testsupport::StoredDword(HKEY_CURRENT_USER, Key, name); }

    std::unique_ptr<CorvelloApp> app_;
    std::unique_ptr<OptionBridge> api_;
};

}  // namespace

TEST_F(Bridge, GetsValuesAsText)
{
    EXPECT_EQ(api_->OptionGet(2), L"-1");
    app_->SetOnlineEnabled(false);
    EXPECT_EQ(api_->OptionGet(2), L"0");
    EXPECT_EQ(api_->OptionGet(L"ONLINE"), L"0");
    EXPECT_EQ(api_->OptionGet(L"AutoRun"), L"-1");
    EXPECT_EQ(api_->OptionGet(4), L"");
    EXPECT_EQ(api_->OptionGet(L"snd1"), L"");
    EXPECT_EQ(api_->OptionGet(-1), L"");
    EXPECT_EQ(api_->OptionGet(L"autorun "), L"");
    EXPECT_EQ(api_->OptionFindIndex(L"OSD2ANIM"), 36);
}

TEST_F(Bridge, EverySetSavesAndOnlyBooleansChangeOptions)
{
    struct Case {
        const wchar_t* Name;  // or null for the index
        int index;
        const wchar_t* value;
        bool Confirmations;   // expected afterwards
    };
    const Case cases[] = {
        {nullptr, 3, L"false", false}, {nullptr, 3, L"yes", false},  {nullptr, 3, L"2", true},
        {L"Confirm", 0, L"0", false},  {L"confirm", 0, L"", false},  {L"CONFIRM", 0, L"TRUE", true},
        {L"tray1", 0, L"0", true},     {nullptr, 4, L"0", true},     {nullptr, -1, L"0", true},
    };
    for (const auto& c : cases) {
        testsupport::DeleteValue(HKEY_CURRENT_USER, Key, registry::Confirmations);
        if (c.Name)
            api_->OptionSet(std::wstring(c.Name), c.value);
        else
            api_->OptionSet(c.index, c.value);
        EXPECT_EQ(app_->Confirmations(), c.Confirmations) << c.index << " " << (c.Name ? "by name" : "");
        // Saved every time, whatever changed.
        EXPECT_EQ(Stored(registry::Confirmations), std::optional<DWORD>(c.Confirmations ? 1u : 0u));
    }
}

TEST_F(Bridge, AutorunOffRemovesTheRunEntry)
{
    auto runValue = [] {
        return testsupport::ReadValue(HKEY_CURRENT_USER, registry::RunKey, RunName().c_str()).has_value();
    };
    ASSERT_TRUE(runValue());
    api_->OptionSet(1, L"0");
    EXPECT_FALSE(app_->AutoRun());
    EXPECT_FALSE(runValue());
    EXPECT_EQ(Stored(registry::AutoRun), std::optional<DWORD>(0u));
    api_->OptionSet(L"online", L"False");
    EXPECT_EQ(Stored(registry::Online), std::optional<DWORD>(0u));
    api_->OptionSet(L"autorun", L"-1");
    EXPECT_TRUE(runValue());
}
