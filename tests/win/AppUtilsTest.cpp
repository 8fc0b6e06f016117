#include "core/Delay.h"
#include "core/FileVersion.h"
#include "core/ProcessLaunch.h"
#include "core/SystemNames.h"
#include "core/SystemVersion.h"

#include <gtest/gtest.h>

#include "support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::BinDir;

TEST(GetFileVersion, ReadsTheProgramsOwnVersion)
{
    VersionArray version{9, 9, 9, 9};
    ASSERT_TRUE(GetFileVersion(BinDir() + L"corvello.exe", version));
    EXPECT_EQ(version, (VersionArray{1, 2, 0, 21}));
}

TEST(GetFileVersion, LeavesTheArrayAloneWithoutVersionInformation)
{
    VersionArray version{1, 2, 0, 21};
    EXPECT_FALSE(GetFileVersion(BinDir() + L"corvello_child.exe", version));
    EXPECT_FALSE(GetFileVersion(BinDir() + L"no such file.exe", version));
    EXPECT_EQ(version, (VersionArray{1, 2, 0, 21}));
}

TEST(Names, UserAndComputerMatchWindows)
{
    wchar_t user[256] = {};
    DWORD size = 256;
    ASSERT_TRUE(::GetUserNameW(user, &size));
    EXPECT_EQ(GetCurrentUserName(), user);
    wchar_t computer[256] = {};
    size = 256;
    ASSERT_TRUE(::GetComputerNameW(computer, &size));
    EXPECT_EQ(GetCurrentComputerName(), computer);
    EXPECT_FALSE(GetCurrentComputerName().empty());
}

TEST(WindowsVersion, DetectionUnderThisWindowsIsNTAndModern)
{
    DetectWindowsVersion();
    EXPECT_TRUE(IsWinNT);
    EXPECT_TRUE(IsWinVistaOrHigher);
    EXPECT_FALSE(IsWin95);
    EXPECT_FALSE(IsWin95OSR2);
}

// Puts a value into HKLM's ProductOptions for one test and restores it after.
class ProductTypeTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* Path = L"System\\CurrentControlSet\\Control\\ProductOptions";

    void SetUp() override
    {
        key_ = tk::RegKey::Create(HKEY_LOCAL_MACHINE, Path);
        ASSERT_TRUE(key_) << "the tests need write access to HKLM (a Wine prefix gives it)";
        saved_ = key_.ReadString(L"ProductType");
    }
    void TearDown() override
    {
        if (saved_)
            Write(*saved_);
        else
            ::RegDeleteValueW(key_.Get(), L"ProductType");
    }
    void Write(const std::wstring& text)
    {
        ::RegSetValueExW(key_.Get(), L"ProductType", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    tk::RegKey key_;
    std::optional<std::wstring> saved_;
};

TEST_F(ProductTypeTest, ReadsTheRegistryInAnyCase)
{
    Write(L"servernt");
    EXPECT_EQ(GetWindowsProductType(), 2);
    Write(L"LanmanNT");
    EXPECT_EQ(GetWindowsProductType(), 3);
    Write(L"WinNT");
    EXPECT_EQ(GetWindowsProductType(), 1);
    Write(L"Embedded");
    EXPECT_EQ(GetWindowsProductType(), 0);
    ::RegDeleteValueW(key_.Get(), L"ProductType");
    EXPECT_EQ(GetWindowsProductType(), 0);
    const DWORD number = 2;
    ::RegSetValueExW(key_.Get(), L"ProductType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    EXPECT_EQ(GetWindowsProductType(), 0);
}

TEST(RunProcess, WaitsForTheExitCode)
{
    EXPECT_EQ(RunProcess(L'"' + BinDir() + L"corvello_child.exe\" 3", true, false), 3u);
    EXPECT_EQ(RunProcess(L'"' + BinDir() + L"corvello_child.exe\" 0 200", true, true), 0u);
}

TEST(RunProcess, WithoutWaitReturnsZeroAtOnce)
{
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(RunProcess(L'"' + BinDir() + L"corvello_child.exe\" 7 3000", false, false), 0u);
    EXPECT_LT(::GetTickCount() - start, 2000u);
}

TEST(RunProcess, FailuresGiveZero)
{
    EXPECT_EQ(RunProcess(L"\"C:\\no\\such\\program.exe\"", true, false), 0u);
    EXPECT_EQ(RunProcess(L"", true, false), 0u);
    // Too long for Windows: refused whole rather than cut into another command.
    EXPECT_EQ(RunProcess(L'"' + BinDir() + L"corvello_child.exe\" 3 " + std::wstring(40000, L'1'), true, false), 0u);
}

TEST(Delay, KeepsMessagesFlowing)
{
    tk::Application::Current().Initialize();
    int ticks = 0;
    testsupport::TestWindow window(L"CorvelloDelayTest", L"", [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_TIMER)
            ++ticks;
        return message == WM_TIMER;
    });
    ::SetTimer(window.Handle(), 1, 10, nullptr);
    Delay(300);
    EXPECT_GE(ticks, 3);

    // Delay(0) still handles what is waiting, once.
    bool seen = false;
    testsupport::TestWindow poster(L"CorvelloDelayPost", L"", [&](UINT message, WPARAM, LPARAM) {
        seen = seen || message == WM_APP + 5;
        return false;
    });
    ::PostMessageW(poster.Handle(), WM_APP + 5, 0, 0);
    Delay(0);
    EXPECT_TRUE(seen);
}
