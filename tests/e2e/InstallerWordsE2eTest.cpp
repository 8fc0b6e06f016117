// The words installers use, against a copy that runs and against one that
// hangs: the stop wait first, then the word's own work, or nothing at all
// and a failure when the copy would not end.
#include <gtest/gtest.h>

#include <string>

#include "core/Messages.h"
#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "support/NothingStoredTest.h"
#include "support/RegistryTestSupport.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;
using testsupport::WaitUntil;

namespace {

const std::wstring& Key = testsupport::ProgramSettingsKey;

class InstallerWords : public testsupport::NothingStoredTest {
protected:
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
        testsupport::ForgetProgramSettings();
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

TEST_F(InstallerWords, AgainstACopyThatHangsEachFailsAndDoesNothingElse)
{
    const testsupport::ShortTimings timings(L"StopWait=1000,StopModeWait=1000");
    for (const wchar_t* word : {L"install", L"uninstall", L"reset", L"stop"}) {
        SCOPED_TRACE(std::string(word, word + std::wcslen(word)));
        testsupport::ForgetProgramSettings();
        Corvello hung(L"");
        ASSERT_TRUE(hung.WaitRunning());
        ASSERT_TRUE(WaitUntil([] { return SettingsThere(); }, 5000));
        // A setting a reset would put back, and the copy's threads stopped.
        testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 0);
        hung.SuspendThreads(true);

        Corvello starting(std::wstring(L"-") + word);
        EXPECT_EQ(starting.WaitExit(10000), std::optional<DWORD>(1)) << "a failure, not a success";
        // Nothing else was done: no second instance, nothing removed, nothing reset.
        EXPECT_EQ(starting.AppWindow(), nullptr);
        EXPECT_TRUE(SettingsThere());
        EXPECT_EQ(Online(), 0u);
        EXPECT_TRUE(hung.Running());

        hung.SuspendThreads(false);
        EXPECT_EQ(hung.Stop(), std::optional<DWORD>(0));
    }
}
