// The words installers use, against a copy that runs and against one that
// does not answer: the stop wait first, then the word's own work.
#include <gtest/gtest.h>

#include <string>

#include "core/Messages.h"
#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "support/RegistryTestSupport.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;
using testsupport::TestWindow;
using testsupport::WaitUntil;

namespace {

constexpr const wchar_t* Key = testsupport::ProgramSettingsKey;

class InstallerWords : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        testsupport::ForgetProgramSettings();
    }
    static bool SettingsThere() { return static_cast<bool>(tk::RegKey::Open(HKEY_CURRENT_USER, Key)); }
    static std::optional<DWORD> Online() { return testsupport::StoredDword(HKEY_CURRENT_USER, Key, registry::Online); }
    static bool RunValueThere()
    {
        return testsupport::StoredSz(HKEY_CURRENT_USER, registry::RunKey, L"corvello.exe").has_value();
    }
};

// What each word leaves behind once the running copy is gone.
struct Outcome {
    const wchar_t* Word;
    bool Runs;          // the starting process becomes the instance
    bool SettingsStay;  // the settings key is still there
};

constexpr Outcome AgainstARunningCopy[] = {
    {L"install", true, true},
    {L"uninstall", false, false},
    {L"reset", true, true},
    {L"stop", false, true},
};

}  // namespace

TEST_F(InstallerWords, EachEndsTheRunningCopyFirstThenDoesItsWork)
{
    for (const Outcome& expected : AgainstARunningCopy) {
        SCOPED_TRACE(std::string(expected.Word, expected.Word + std::wcslen(expected.Word)));
        Clean();
        Corvello running(L"");
        ASSERT_TRUE(running.WaitRunning());
        // A setting the reset must put back.
        testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 0);
        ::PostMessageW(running.AppWindow(), WM_APP_SETTINGS_READ, 0, 0);

        Corvello word(std::wstring(L"-") + expected.Word);
        EXPECT_EQ(running.WaitExit(15000), std::optional<DWORD>(0)) << "the running copy ends";
        if (expected.Runs) {
            ASSERT_TRUE(word.WaitRunning());
            EXPECT_EQ(word.Stop(), std::optional<DWORD>(0));
        } else {
            EXPECT_EQ(word.WaitExit(15000), std::optional<DWORD>(0));
        }
        EXPECT_EQ(SettingsThere(), expected.SettingsStay);
        if (std::wstring(expected.Word) == L"reset") {
            EXPECT_EQ(Online(), 1u);
        }
        // The program's own uninstall leaves the start-with-Windows entry to
        // the uninstaller.
        if (std::wstring(expected.Word) == L"uninstall") {
            EXPECT_TRUE(RunValueThere());
        }
    }
}

TEST_F(InstallerWords, AgainstACopyThatDoesNotAnswerEachWaitsThenGoesOn)
{
    struct Stubborn {
        const wchar_t* Word;
        bool Runs;
        bool SettingsStay;
    };
    // The stand-in holds no instance: after the wait the starting process may
    // run. Only the uninstall keeps the settings, as a copy that did not end
    // would write them back.
    const Stubborn cases[] = {
        {L"install", true, true},
        {L"uninstall", false, true},
        {L"reset", true, true},
        {L"stop", false, true},
    };
    for (const Stubborn& c : cases) {
        SCOPED_TRACE(std::string(c.Word, c.Word + std::wcslen(c.Word)));
        Clean();
        testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 0);
        int stopRequests = 0;
        TestWindow standIn(L"TfrmMain", L"Corvello", [&](UINT message, WPARAM, LPARAM) {
            stopRequests += message == WM_INSTANCE_STOP;
            return message == WM_INSTANCE_STOP || message == WM_CLOSE;  // ignored
        });
        Corvello word(std::wstring(L"-") + c.Word);
        if (c.Runs) {
            // The stand-in stays, so the starting copy's own window would be
            // found instead of it only once the stand-in is gone: wait for
            // the run by the process's own application window.
            ASSERT_TRUE(word.WaitRunning(20000));
            EXPECT_EQ(word.Stop(), std::optional<DWORD>(0));
        } else {
            EXPECT_EQ(word.WaitExit(20000), std::optional<DWORD>(0));
        }
        EXPECT_GE(stopRequests, 1);
        EXPECT_EQ(SettingsThere(), c.SettingsStay);
        if (std::wstring(c.Word) == L"reset") {
            EXPECT_EQ(Online(), 1u);
        }
    }
}
