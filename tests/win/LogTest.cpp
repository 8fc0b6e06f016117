// Failures the program swallows reach the one log, with what failed and the
// Windows error code.
#include "toolkit/Log.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"

namespace {

std::vector<std::wstring>& Lines()
{
    static std::vector<std::wstring> lines;
    return lines;
}

class Log : public ::testing::Test {
protected:
    void SetUp() override
    {
        Lines().clear();
        tk::SetLogSink([](const std::wstring& line) { Lines().push_back(line); });
    }
    void TearDown() override { tk::SetLogSink(nullptr); }
};

}  // namespace

TEST_F(Log, SaysWhatFailedWithTheWindowsCodeAndText)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    tk::LogLastError(L"opening the door");
    tk::LogFailure(L"a step without a code", 0);
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_EQ(Lines()[0].rfind(L"corvello_win_tests: opening the door failed (error 5: ", 0), 0u) << Lines()[0];
    EXPECT_EQ(Lines()[0].back(), L'\n');
    EXPECT_EQ(Lines()[1], L"corvello_win_tests: a step without a code failed\n");
    // The caller's last error survives the logging.
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(Log, ExceptionsCaughtAtTheLoopAreLoggedWithTheirText)
{
    tk::Application::Current().Initialize();
    tk::Timer timer(10);
    timer.OnTimer = [](tk::Timer& sender) {
        sender.SetEnabled(false);
        throw tk::WindowsError("the handler broke", ERROR_INVALID_HANDLE);
    };
    ASSERT_TRUE(testsupport::WaitUntil([] { return !Lines().empty(); }, 5000));
    EXPECT_NE(Lines()[0].find(L"a timer's handler: the handler broke failed (error 6: "), std::wstring::npos)
        << Lines()[0];
}

TEST_F(Log, AFailedRegistryWriteIsLogged)
{
    // A key opened for reading only refuses the write.
    const auto key = tk::RegKey::Open(HKEY_CURRENT_USER, L"Software", KEY_READ);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key.WriteDword(L"CorvelloLogTest", 1));
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_NE(Lines()[0].find(L"writing the registry value CorvelloLogTest failed (error 5"), std::wstring::npos)
        << Lines()[0];
}
