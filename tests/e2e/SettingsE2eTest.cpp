// What the real program leaves in the registry, start by start.
#include <gtest/gtest.h>

#include "core/Clock.h"
#include "core/Messages.h"
#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "support/NothingStoredTest.h"
#include "support/RegistryTestSupport.h"
#include "support/ScreenPixels.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;

namespace {

const std::wstring& Key = testsupport::ProgramSettingsKey;

class Store : public testsupport::NothingStoredTest {
protected:
    std::optional<DWORD> Dword(const wchar_t* name) { return testsupport::StoredDword(HKEY_CURRENT_USER, Key, name); }
    std::optional<std::wstring> Sz(const wchar_t* name) { return testsupport::StoredSz(HKEY_CURRENT_USER, Key, name); }
    std::optional<std::wstring> RunValue()
    {
        return testsupport::StoredSz(HKEY_CURRENT_USER, registry::RunKey, L"corvello.exe");
    }

    // Starts the program, waits until it runs as the instance and has stored
    // its settings, then stops it.
    void StartAndStop(const std::wstring& arguments = L"")
    {
        Corvello start(arguments);
        ASSERT_TRUE(start.WaitRunning());
        ASSERT_EQ(start.Stop(), std::optional<DWORD>(0));
    }

    static std::wstring Today() { return TodayIso(); }
};

}  // namespace

TEST_F(Store, FirstStart)
{
    StartAndStop();
    EXPECT_EQ(Dword(registry::RunCount), 1u);
    EXPECT_EQ(Sz(registry::RunFirst), Today());
    EXPECT_EQ(Sz(registry::RunLast), Today());
    EXPECT_EQ(Dword(registry::AutoRun), 1u);
    EXPECT_EQ(Dword(registry::Online), 1u);
    EXPECT_EQ(Dword(registry::Confirmations), 1u);
    EXPECT_EQ(RunValue(), L'"' + testsupport::BinDir() + L"corvello.exe\" -startup");
}

TEST_F(Store, ALaterStartCountsOnAndKeepsTheFirstDate)
{
    // As left by a run on an earlier day.
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::RunCount, 1);
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunFirst, L"2025-12-24");
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunLast, L"2025-12-31");
    StartAndStop(L"-startup");
    EXPECT_EQ(Dword(registry::RunCount), 2u);
    EXPECT_EQ(Sz(registry::RunFirst), L"2025-12-24");
    EXPECT_EQ(Sz(registry::RunLast), Today());
}

TEST_F(Store, StoredAutorunOffRemovesTheRunEntryAndOnlineSevenIsOne)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::AutoRun, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 7);
    testsupport::WriteSz(HKEY_CURRENT_USER, registry::RunKey, L"corvello.exe", L"\"C:\\old\\corvello.exe\" -startup");
    StartAndStop();
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_EQ(Dword(registry::AutoRun), 0u);
    EXPECT_EQ(Dword(registry::Online), 1u);
}

TEST_F(Store, ResetWritesTheDefaultsThenRunsAsTheInstance)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::RunCount, 17);
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunFirst, L"2020-02-02");
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::AutoRun, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 0);
    StartAndStop(L"reset");
    EXPECT_EQ(Dword(registry::RunCount), 1u);
    EXPECT_EQ(Sz(registry::RunFirst), L"2020-02-02");
    EXPECT_EQ(Dword(registry::AutoRun), 1u);
    EXPECT_EQ(Dword(registry::Online), 1u);
    EXPECT_EQ(Dword(registry::Confirmations), 1u);
    EXPECT_TRUE(RunValue().has_value());
}

TEST_F(Store, ADeletedFirstDateIsWrittenAgain)
{
    StartAndStop();
    testsupport::DeleteValue(HKEY_CURRENT_USER, Key, registry::RunFirst);
    StartAndStop();
    EXPECT_EQ(Sz(registry::RunFirst), Today());
    EXPECT_EQ(Dword(registry::RunCount), 2u);
}

TEST_F(Store, AHandOverChangesNothing)
{
    Corvello first(L"");
    ASSERT_TRUE(first.WaitRunning());
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunLast, L"2000-01-01");
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::AutoRun, 0);
    const auto before = Dword(registry::RunCount);
    Corvello second(L"");
    EXPECT_EQ(second.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_EQ(Dword(registry::RunCount), before);
    EXPECT_EQ(Sz(registry::RunLast), L"2000-01-01");
    EXPECT_EQ(Dword(registry::AutoRun), 0u);
    EXPECT_TRUE(RunValue().has_value());
    EXPECT_EQ(first.Stop(), std::optional<DWORD>(0));
}

TEST_F(Store, WrongTypesAndSizesAreReplacedByProperValues)
{
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunCount, L"5");
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::RunFirst, std::wstring(32 * 1024, L'x'));
    testsupport::WriteSz(HKEY_CURRENT_USER, Key, registry::AutoRun, L"0");
    const BYTE bytes[3] = {1, 2, 3};
    testsupport::WriteValue(HKEY_CURRENT_USER, Key, registry::Online, REG_BINARY, bytes, sizeof bytes);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 0);
    StartAndStop();
    // Read what can be read, then stored properly.
    EXPECT_EQ(Dword(registry::RunCount), 6u);
    EXPECT_EQ(Sz(registry::RunFirst), std::wstring(32 * 1024, L'x'));  // a first date stays
    EXPECT_EQ(Dword(registry::AutoRun), 0u);
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_EQ(Dword(registry::Online), 0u);  // unreadable: off, not the first start's on
    EXPECT_EQ(Dword(registry::Confirmations), 0u);  // a proper value is kept
}

TEST_F(Store, TheRunningInstanceSavesAndRereadsOnRequest)
{
    Corvello instance(L"");
    ASSERT_TRUE(instance.WaitRunning());
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::AutoRun, 0);
    ::PostMessageW(instance.AppWindow(), WM_APP_SETTINGS_READ, 0, 0);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !RunValue().has_value(); }, 5000));

    testsupport::DeleteValue(HKEY_CURRENT_USER, Key, registry::Online);
    ::PostMessageW(instance.AppWindow(), WM_APP_UPDATE, 0, 0);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return Dword(registry::Online) == 1u; }, 5000));
    EXPECT_EQ(Dword(registry::AutoRun), 0u);
    EXPECT_EQ(instance.Stop(), std::optional<DWORD>(0));
}

TEST_F(Store, TheFixedSizeMainWindowIsNeverMaximisedNorMinimised)
{
    // Neither has a box on the window to undo it.
    for (const DWORD state : {2u, 1u}) {
        SCOPED_TRACE(state);
        testsupport::WriteSz(HKEY_CURRENT_USER, testsupport::MainFormKey, registry::Bounds, L"300,200,900,700");
        testsupport::WriteDword(HKEY_CURRENT_USER, testsupport::MainFormKey, registry::WindowState, state);
        Corvello program(L"");
        ASSERT_TRUE(program.WaitShown());
        const testsupport::ProgramUser user(program.Id());
        const RECT placed = testsupport::WindowRect(user.MainWindow());
        EXPECT_FALSE(::IsZoomed(user.MainWindow()));
        EXPECT_FALSE(::IsIconic(user.MainWindow()));
        // At its place, in its own size.
        EXPECT_EQ(placed.left, 300);
        EXPECT_EQ(placed.top, 200);
        EXPECT_LT(placed.right - placed.left, 900);
        ASSERT_EQ(program.Stop(), std::optional<DWORD>(0));
        EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, testsupport::MainFormKey, registry::WindowState), 0u);
    }
}
