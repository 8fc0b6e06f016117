// Ctrl+Alt+Del where Windows still lets a program try (before Vista; here
// Wine reports Windows XP x64): no warning, but the way through the logon
// desktop. Windows keeps that desktop to itself, and so does Wine: which of
// the five steps it refuses shows in the program's log of swallowed failures,
// read here as a debug-output viewer reads it.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/CorvelloProcess.h"
#include "e2e/DebugOutputCapture.h"
#include "e2e/ProgramUi.h"
#include "e2e/RecordingWitness.h"
#include "toolkit/Registry.h"

using namespace e2eui;
using testsupport::Corvello;
using testsupport::RecordingWitness;

namespace {

const std::wstring& Key = testsupport::ProgramSettingsKey;

struct Case {
    const char* Name;
    // A witness makes a desktop named "Winlogon" and waits there for the
    // WM_HOTKEY broadcast.
    bool LogonDesktop;
    // The one line the program logs: the step refused, and its error code
    // (the system's text of it follows).
    const wchar_t* Logged;
};

// Test names and messages show the case by its name.
void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.Name;
}

class CtrlAltDelBeforeVista : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key); }
    void TearDown() override { tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key); }
};

}  // namespace

TEST(WindowsXp, IsWhatThisPrefixReports)
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(::GetVersionExW(&info));
#pragma GCC diagnostic pop
    EXPECT_EQ(info.dwMajorVersion, 5u);
}

TEST_P(CtrlAltDelBeforeVista, GoesTheStepsUntilWineRefusesOne)
{
    const Case& c = GetParam();
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());
    std::optional<RecordingWitness> witness;
    if (c.LogonDesktop) {
        witness.emplace(L"Winlogon");
        ASSERT_TRUE(witness->WaitReady()) << witness->Dump();
    }
    Corvello program(L"");
    ASSERT_TRUE(program.WaitRunning());
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (main = ::FindWindowW(L"TfrmMain", L"Corvello")) && ::IsWindowVisible(main); }, 10000));
    const DWORD processId = ProcessOf(main);

    Click(FindButton(main, L"Ctrl+Alt+Del"));
    // The station is opened and taken (those steps log nothing), then the
    // steps stop at the first refusal.
    ASSERT_TRUE(WaitUntil([&] { return !log.LinesOf(processId).empty(); }, 5000)) << "no step failed";
    const std::vector<std::wstring> lines = log.LinesOf(processId);
    ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
    EXPECT_EQ(lines[0].rfind(c.Logged, 0), 0u) << testing::PrintToString(lines[0]);
    EXPECT_EQ(WaitDialog(processId, 0), nullptr) << "no warning before Vista";
    if (witness) {
        ASSERT_TRUE(witness->Ping());
        EXPECT_TRUE(witness->LinesOf(L"hotkey").empty()) << witness->Dump();
    }
    // The program goes on as before.
    EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
}

// Without a logon desktop Wine has none to open. With one, the thread that
// owns the program's windows may not move to it, as on Windows itself.
INSTANTIATE_TEST_SUITE_P(
    Wine, CtrlAltDelBeforeVista,
    ::testing::Values(Case{"NoLogonDesktop", false, L"corvello: OpenDesktop Winlogon failed (error 2:"},
                      Case{"LogonDesktop", true,
                           L"corvello: SetThreadDesktop failed (error 170:"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.Name); });
