// The main window of the real program as a user meets it.
#include <gtest/gtest.h>

#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "support/RegistryTestSupport.h"
#include "support/Screenshot.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;
using testsupport::WaitUntil;

namespace {

constexpr const wchar_t* Key = L"Software\\QUORVANT\\Corvello\\1.0";

class MainWindowE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key);
        testsupport::DeleteValue(HKEY_CURRENT_USER, registry::RunKey, L"corvello.exe");
    }
    void TearDown() override { SetUp(); }

    static HWND MainWindowOf(const Corvello&)
    {
        HWND main = nullptr;
        WaitUntil([&] { return (main = ::FindWindowW(L"TfrmMain", L"Corvello")) != nullptr; }, 10000);
        return main;
    }
};

}  // namespace

TEST_F(MainWindowE2e, FirstStartShowsTheWindowCentred)
{
    Corvello program(L"");
    ASSERT_TRUE(program.WaitRunning());
    const HWND main = MainWindowOf(program);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
    EXPECT_TRUE(testsupport::SaveWindowPng(main, L"main-window.png"));
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}
