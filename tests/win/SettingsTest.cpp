// The settings store against the registry, with a clock of the test's own.
#include <gtest/gtest.h>

#include "core/Clock.h"
#include "core/FileVersion.h"
#include "core/Messages.h"
#include "core/RegistryLayout.h"
#include "app/CorvelloApp.h"
#include "support/RegistryTestSupport.h"
#include "support/WinTestSupport.h"

using namespace corvello;
using testsupport::ReadValue;

namespace {

constexpr const wchar_t* Key = L"Software\\QUORVANT\\CorvelloSettingsTest\\1.0";

// Counts a run as a start that becomes the instance does.
class TestApp : public CorvelloApp {
public:
    using CorvelloApp::CorvelloApp;
};

SYSTEMTIME TestDay{2026, 3, 0, 14, 10, 0, 0, 0};
SYSTEMTIME Clock()
{
    return TestDay;
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestDay = SYSTEMTIME{2026, 3, 0, 14, 10, 0, 0, 0};
        SetLocalClock(&Clock);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key);
        testsupport::DeleteValue(HKEY_CURRENT_USER, registry::RunKey, RunName().c_str());
    }
    void TearDown() override
    {
        SetLocalClock(nullptr);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloSettingsTest");
        testsupport::DeleteValue(HKEY_CURRENT_USER, registry::RunKey, RunName().c_str());
    }

    static std::wstring RunName() { return SplitPath(GetModulePath()).FileName; }

    std::unique_ptr<TestApp> NewApp()
    {
        return std::make_unique<TestApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser,
                                      std::wstring(L"\\") + Key);
    }

    // What a start that becomes the instance does with the store.
    void Start(TestApp& app)
    {
        app.SettingsReset();
        app.SettingsRead();
        app.CountRun();
        app.SettingsWrite();
    }

    std::optional<testsupport::StoredValue> value(const wchar_t* name) { return ReadValue(HKEY_CURRENT_USER, Key, name); }
    std::optional<std::wstring> RunValue()
    {
        auto v = ReadValue(HKEY_CURRENT_USER, registry::RunKey, RunName().c_str());
        return v ? v->Sz() : std::nullopt;
    }
};

}  // namespace

TEST_F(Settings, FirstStartStoresTheDefaults)
{
    auto app = NewApp();
    Start(*app);
    EXPECT_EQ(value(registry::RunCount)->Dword(), 1u);
    EXPECT_EQ(value(registry::RunFirst)->Sz(), L"2026-03-14");
    EXPECT_EQ(value(registry::RunLast)->Sz(), L"2026-03-14");
    EXPECT_EQ(value(registry::AutoRun)->Dword(), 1u);
    EXPECT_EQ(value(registry::Online)->Dword(), 1u);
    EXPECT_EQ(value(registry::Confirmations)->Dword(), 1u);
    EXPECT_EQ(RunValue(), L'"' + GetModulePath() + L"\" -startup");
}

TEST_F(Settings, ALaterDayCountsOnAndKeepsTheFirstDate)
{
    Start(*NewApp());
    TestDay.wDay = 15;
    auto app = NewApp();
    Start(*app);
    EXPECT_EQ(value(registry::RunCount)->Dword(), 2u);
    EXPECT_EQ(value(registry::RunFirst)->Sz(), L"2026-03-14");
    EXPECT_EQ(value(registry::RunLast)->Sz(), L"2026-03-15");
    // In memory, the last run stays the previous run's date.
    EXPECT_EQ(app->Software().RunLast, L"2026-03-14");
}

TEST_F(Settings, StoredSwitchesWin)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::AutoRun, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 7);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 0);
    auto app = NewApp();
    Start(*app);
    EXPECT_FALSE(app->AutoRun());
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_EQ(value(registry::AutoRun)->Dword(), 0u);
    EXPECT_TRUE(app->OnlineEnabled());
    EXPECT_EQ(value(registry::Online)->Dword(), 1u);
    EXPECT_FALSE(app->Confirmations());
    EXPECT_EQ(value(registry::Confirmations)->Dword(), 0u);
}

TEST_F(Settings, ResetModeWritesDefaultsAndKeepsTheFirstDate)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::RunCount, 41);
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunFirst, L"2001-02-03");
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunLast, L"2001-02-04");
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::AutoRun, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 0);
    auto app = NewApp();
    const ModeResult result = app->HandleResetMode();
    EXPECT_TRUE(result.Succeeded);
    EXPECT_FALSE(result.EndAfter);
    EXPECT_EQ(value(registry::RunCount)->Dword(), 0u);
    EXPECT_EQ(value(registry::RunFirst)->Sz(), L"2001-02-03");
    EXPECT_EQ(value(registry::RunLast)->Sz(), L"2026-03-14");
    EXPECT_EQ(value(registry::AutoRun)->Dword(), 1u);
    EXPECT_EQ(value(registry::Online)->Dword(), 1u);
    EXPECT_EQ(value(registry::Confirmations)->Dword(), 1u);
    EXPECT_TRUE(RunValue().has_value());
    // The normal start that follows in the same process.
    Start(*app);
    EXPECT_EQ(value(registry::RunCount)->Dword(), 1u);
}

TEST_F(Settings, ADeletedFirstDateIsWrittenAgain)
{
    Start(*NewApp());
    testsupport::DeleteValue(HKEY_CURRENT_USER, Key, registry::RunFirst);
    TestDay.wYear = 2027;
    Start(*NewApp());
    EXPECT_EQ(value(registry::RunFirst)->Sz(), L"2027-03-14");
}

TEST_F(Settings, AStoredFirstDateStaysWhateverItsType)
{
    // Read where it is text as it stands; otherwise the run reports today's
    // date. Rewritten never: only a missing one is written.
    const auto text = [](const std::wstring& t) {
        const auto* bytes = reinterpret_cast<const BYTE*>(t.c_str());
        return std::vector<BYTE>(bytes, bytes + (t.size() + 1) * sizeof(wchar_t));
    };
    struct Case {
        const char* What;
        DWORD Type;
        std::vector<BYTE> Data;
        const wchar_t* InMemory;
    };
    const Case cases[] = {
        {"an expand-string", REG_EXPAND_SZ, text(L"2019-05-06"), L"2019-05-06"},
        {"a string that is no date", REG_SZ, text(L"long ago"), L"long ago"},
        {"a multi-string", REG_MULTI_SZ, text(std::wstring(L"2019-05-06\0", 11)), L"2026-03-14"},
        {"bytes", REG_BINARY, {1, 2, 3}, L"2026-03-14"},
        {"a number", REG_DWORD, {6, 5, 1, 2}, L"2026-03-14"},
        {"an empty value", REG_NONE, {}, L"2026-03-14"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        testsupport::WriteValue(HKEY_CURRENT_USER, Key, registry::RunFirst, c.Type, c.Data.data(), c.Data.size());
        auto app = NewApp();
        Start(*app);
        const auto stored = value(registry::RunFirst);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->Type, c.Type);
        EXPECT_EQ(stored->data, c.Data);
        EXPECT_EQ(app->Software().RunFirst, c.InMemory);
    }
}

TEST_F(Settings, DamagedValuesReadWhatCanBeRead)
{
    const std::wstring text = L"5";
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunCount, text);
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunFirst, std::wstring(32 * 1024, L'9'));
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::RunLast, 20260101);
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::AutoRun, L"0");
    const BYTE binary[4] = {0, 0, 0, 0};
    testsupport::WriteValue(HKEY_CURRENT_USER, Key, registry::Online, REG_BINARY, binary, sizeof binary);
    const ULONGLONG wide = 0;
    testsupport::WriteValue(HKEY_CURRENT_USER, Key, registry::Confirmations, REG_QWORD, &wide, sizeof wide);

    auto app = NewApp();
    Start(*app);
    // A number stored as text counts on from its value; a first date of any
    // length stays; the last date is written anew.
    EXPECT_EQ(value(registry::RunCount)->Dword(), 6u);
    EXPECT_EQ(value(registry::RunFirst)->Sz(), std::wstring(32 * 1024, L'9'));
    EXPECT_EQ(value(registry::RunLast)->Sz(), L"2026-03-14");
    // The switches: "0" as text and a QWORD 0 read as off; a binary value
    // cannot be read and counts as off, never as the first start's on.
    EXPECT_FALSE(app->AutoRun());
    EXPECT_FALSE(app->OnlineEnabled());
    EXPECT_FALSE(app->Confirmations());
    EXPECT_EQ(value(registry::AutoRun)->Dword(), 0u);
    EXPECT_EQ(value(registry::Online)->Dword(), 0u);
    EXPECT_EQ(value(registry::Confirmations)->Dword(), 0u);
}

TEST_F(Settings, ShortNumbersAndTheLargestCountAreKept)
{
    const BYTE one = 1;
    testsupport::WriteValue(HKEY_CURRENT_USER, Key, registry::Online, REG_DWORD, &one, sizeof one);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::RunCount, 0xFFFFFFFFu);
    auto app = NewApp();
    Start(*app);
    EXPECT_TRUE(app->OnlineEnabled());
    EXPECT_EQ(value(registry::Online)->Dword(), 1u);
    // The count stops at its largest value instead of starting again at 0.
    EXPECT_EQ(value(registry::RunCount)->Dword(), 0xFFFFFFFFu);
}

TEST_F(Settings, ReleasingTheApplicationWhileRunningSavesIt)
{
    {
        auto app = NewApp();
        app->SettingsRead();
        app->SetConfirmations(true);
    }
    EXPECT_EQ(value(registry::Confirmations)->Dword(), 1u);
    EXPECT_EQ(value(registry::RunCount)->Dword(), 0u);

    testsupport::DeleteValue(HKEY_CURRENT_USER, Key, registry::Confirmations);
    {
        auto app = NewApp();
        app->Terminate(0);
    }
    EXPECT_EQ(value(registry::Confirmations), std::nullopt);  // no write once terminating
}

TEST_F(Settings, ApplicationMessagesSaveAndReread)
{
    auto app = NewApp();
    Start(*app);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::AutoRun, 0);
    testsupport::DeleteValue(HKEY_CURRENT_USER, Key, registry::RunCount);
    tk::Application::Current().Initialize();
    const HWND window = tk::Application::Current().Handle();
    ::PostMessageW(window, WM_APP_SETTINGS_READ, 0, 0);
    ::PostMessageW(window, WM_APP_UPDATE, 0, 0);
    tk::Application::Current().ProcessMessages();
    EXPECT_FALSE(app->AutoRun());
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_EQ(value(registry::RunCount)->Dword(), 1u);
}
