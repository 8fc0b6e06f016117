// With confirmations off, Log Off ends the Windows session at once: here the
// Wine session of a prefix made for this, which the test outlives (it has no
// window to be asked).
#include <gtest/gtest.h>

#include <optional>

#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/ProgramUi.h"
#include "e2e/RecordingWitness.h"
#include "support/RegistryTestSupport.h"
#include "toolkit/Registry.h"

using namespace e2eui;
using testsupport::Corvello;
using testsupport::RecordingWitness;

namespace {

const std::wstring& Key = testsupport::ProgramSettingsKey;

}  // namespace

TEST(LogOff, WithoutConfirmationsEndsTheSessionAtOnce)
{
    tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, corvello::registry::Confirmations, 0);
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    Corvello program(L"");
    ASSERT_TRUE(program.WaitRunning());
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (main = ::FindWindowW(L"TfrmMain", L"Corvello")) && ::IsWindowVisible(main); }, 10000));

    Click(FindButton(main, L"Log Off"));
    // No question holds it up: every window is asked whether the session
    // may end, then told that it ends, and the programs go.
    EXPECT_TRUE(WaitUntil([&] { return !program.Running(); }, 20000)) << "the program waits for something";
    EXPECT_TRUE(WaitUntil([&] { return !witness.Running(); }, 10000)) << "the witness's program still runs";
    EXPECT_EQ(witness.Lines(), (std::vector<std::wstring>{L"ready", L"queryendsession 0", L"endsession 1"}));
    tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key);
}
