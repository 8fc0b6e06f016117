// The installer and its uninstaller as a user runs them, silently: what
// they leave in the user's profile, and what runs afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Product.h"
#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "support/RegistryTestSupport.h"
#include "support/ScreenPixels.h"
#include "toolkit/ComPtr.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;
using testsupport::WaitUntil;

namespace {

const std::wstring Name = CORVELLO_WIDEN(CORVELLO_NAME);
const std::wstring Maker = CORVELLO_WIDEN(CORVELLO_MAKER);
const std::wstring ExeName = CORVELLO_WIDEN(CORVELLO_EXE_NAME);
const std::wstring MakerKey = L"Software\\" + Maker;
const std::wstring ProductKey = MakerKey + L"\\" + Name;
const std::wstring& SettingsKey = testsupport::ProgramSettingsKey;
const std::wstring UninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + Name;

std::wstring ShellFolder(int id)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring InstallDir()
{
    return ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\" + Name;
}
std::wstring InstalledExe()
{
    return InstallDir() + L"\\" + ExeName;
}
std::wstring Uninstaller()
{
    return InstallDir() + L"\\uninstall.exe";
}
std::wstring Shortcut()
{
    return ShellFolder(CSIDL_PROGRAMS) + L"\\" + Name + L".lnk";
}
std::wstring SetupProgram()
{
    return testsupport::BinDir() + L"..\\dist\\" CORVELLO_WIDEN(CORVELLO_SETUP_FILE);
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names in the user's temporary folder.
std::vector<std::wstring> TempEntries()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((std::wstring(temp) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool KeyExists(const std::wstring& path)
{
    return static_cast<bool>(tk::RegKey::Open(HKEY_CURRENT_USER, path));
}

std::optional<std::wstring> RunValue()
{
    return testsupport::StoredSz(HKEY_CURRENT_USER, registry::RunKey, ExeName.c_str());
}

std::string Contents(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The installed program is the one built beside the tests, byte for byte.
::testing::AssertionResult InstalledAsBuilt()
{
    const std::string installed = Contents(InstalledExe());
    const std::string built = Contents(testsupport::BinDir() + ExeName);
    if (installed == built)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the installed program (" << installed.size()
                                         << " bytes) is not the one built (" << built.size() << " bytes)";
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// What a shortcut starts.
std::wstring ShortcutTarget(const std::wstring& path)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring target;
    {
        tk::ComPtr<IShellLinkW> link;
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         link.PutVoid()))) {
            const auto file = link.As<IPersistFile>();
            wchar_t buffer[MAX_PATH] = {};
            if (file && SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
                target = buffer;
        }
    }
    ::CoUninitialize();
    return target;
}

// A process started from a whole command line, killed at the end of the test
// if it still runs.
class Launched {
public:
    explicit Launched(std::wstring commandLine)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &info)) {
            process_.Reset(info.hProcess);
            ::CloseHandle(info.hThread);
        }
    }
    ~Launched()
    {
        if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.Get(), 99);
            ::WaitForSingleObject(process_.Get(), 5000);
        }
    }
    std::optional<DWORD> WaitExit(std::uint32_t timeoutMs) const
    {
        if (!process_ || !WaitUntil([this] { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; },
                                    timeoutMs))
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

private:
    tk::KernelHandle process_;
};

// Runs the installer silently to its end.
std::optional<DWORD> RunSetup()
{
    return Launched(L'"' + SetupProgram() + L"\" /S").WaitExit(60000);
}

// A copy of the program seen from outside: found by its main window.
struct RunningCopy {
    DWORD Id = 0;
    HWND Main = nullptr;
    tk::KernelHandle Process;
    std::wstring Image;

    bool Ended(std::uint32_t timeoutMs) const
    {
        return WaitUntil([this] { return ::WaitForSingleObject(Process.Get(), 0) == WAIT_OBJECT_0; }, timeoutMs);
    }
};

// Waits for a copy other than the one given to show its main window and wait
// for input in its loop.
std::optional<RunningCopy> WaitRunningCopy(DWORD otherThan = 0)
{
    RunningCopy copy;
    const bool found = WaitUntil(
        [&] {
            const HWND main = ::FindWindowW(L"TfrmMain", Name.c_str());
            DWORD id = 0;
            if (main)
                ::GetWindowThreadProcessId(main, &id);
            if (id == 0 || id == otherThan)
                return false;
            copy.Id = id;
            copy.Main = main;
            return true;
        },
        15000);
    if (!found)
        return std::nullopt;
    copy.Process.Reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, copy.Id));
    if (!copy.Process || ::WaitForInputIdle(copy.Process.Get(), 15000) != 0)
        return std::nullopt;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (::QueryFullProcessImageNameW(copy.Process.Get(), 0, image, &size))
        copy.Image = image;
    return copy;
}

// Every process of the program's name, whoever started it.
std::vector<DWORD> ProgramProcesses()
{
    std::vector<DWORD> ids;
    const tk::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry))
        if (SamePath(entry.szExeFile, ExeName))
            ids.push_back(entry.th32ProcessID);
    return ids;
}

class Installer : public ::testing::Test {
protected:
    // Each test starts on a profile where Corvello never was, and leaves one.
    void SetUp() override
    {
        RemoveEverything();
        ASSERT_FALSE(Exists(InstallDir()));
        ASSERT_FALSE(KeyExists(UninstallKey));
        ASSERT_TRUE(Exists(SetupProgram())) << "no installer built";
        othersUnderMaker_ = KeyExists(MakerKey);
    }
    void TearDown() override { RemoveEverything(); }

    static void RemoveEverything()
    {
        // As the program's own stop word would; a copy that will not go is killed.
        Corvello(L"stop").WaitExit(15000);
        for (const DWORD id : ProgramProcesses()) {
            const tk::KernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            ::TerminateProcess(process.Get(), 99);
            ::WaitForSingleObject(process.Get(), 5000);
        }
        ::DeleteFileW(InstalledExe().c_str());
        ::DeleteFileW(Uninstaller().c_str());
        ::RemoveDirectoryW(InstallDir().c_str());
        ::DeleteFileW(Shortcut().c_str());
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, UninstallKey);
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, ProductKey);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, MakerKey.c_str());  // only when nothing else is below it
        testsupport::DeleteValue(HKEY_CURRENT_USER, registry::RunKey, ExeName.c_str());
    }

    // Other programs of the maker keep their settings beside ours.
    bool othersUnderMaker_ = false;
};

}  // namespace

TEST_F(Installer, InstallsForTheUserAndStartsTheProgram)
{
    ASSERT_EQ(RunSetup(), std::optional<DWORD>(0));

    // Running from the user's programs folder.
    const auto copy = WaitRunningCopy();
    ASSERT_TRUE(copy);
    EXPECT_TRUE(SamePath(copy->Image, InstalledExe())) << copy->Image;

    EXPECT_TRUE(InstalledAsBuilt());
    EXPECT_TRUE(Exists(Uninstaller()));
    EXPECT_TRUE(SamePath(ShortcutTarget(Shortcut()), InstalledExe())) << Shortcut();

    const std::wstring quotedUninstaller = L'"' + Uninstaller() + L'"';
    const std::pair<const wchar_t*, std::wstring> entry[] = {
        {L"DisplayName", Name},
        {L"DisplayVersion", CORVELLO_WIDEN(CORVELLO_VERSION_TEXT)},
        {L"Publisher", Maker},
        {L"DisplayIcon", InstalledExe() + L",0"},
        {L"InstallLocation", InstallDir()},
        {L"UninstallString", quotedUninstaller},
        {L"QuietUninstallString", quotedUninstaller + L" /S"},
    };
    for (const auto& [name, value] : entry)
        EXPECT_EQ(testsupport::StoredSz(HKEY_CURRENT_USER, UninstallKey, name), value) << name;
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, UninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, UninstallKey, L"NoRepair"), 1u);
    // In KiB: the program and the uninstaller.
    const auto size = testsupport::StoredDword(HKEY_CURRENT_USER, UninstallKey, L"EstimatedSize");
    ASSERT_TRUE(size);
    const auto exeKiB = Contents(InstalledExe()).size() / 1024;
    EXPECT_GE(*size, exeKiB);
    EXPECT_LE(*size, exeKiB + 1024);

    // The running copy starts with Windows from where it is installed.
    EXPECT_TRUE(WaitUntil([] { return RunValue().has_value(); }, 10000));
    EXPECT_EQ(RunValue(), registry::AutorunCommand(InstalledExe()));
}

TEST_F(Installer, UpgradeOverARunningCopyReplacesItAndKeepsItsSettings)
{
    ASSERT_EQ(RunSetup(), std::optional<DWORD>(0));
    {
        const auto first = WaitRunningCopy();
        ASSERT_TRUE(first);
        ::PostMessageW(first->Main, WM_INSTANCE_STOP, 0, 0);
        ASSERT_TRUE(first->Ended(10000));
    }

    // The installed copy as an older build would be (the bytes past its image
    // change nothing when it runs), with settings of the user's choosing.
    {
        std::ofstream exe(InstalledExe().c_str(), std::ios::binary | std::ios::app);
        exe << "an older build";
        ASSERT_TRUE(exe.good());
    }
    const std::pair<const wchar_t*, DWORD> settings[] = {{registry::Confirmations, 0}, {registry::Online, 0}};
    for (const auto& [name, value] : settings)
        testsupport::WriteDword(HKEY_CURRENT_USER, SettingsKey, name, value);
    Launched started(L'"' + InstalledExe() + L'"');
    const auto old = WaitRunningCopy();
    ASSERT_TRUE(old);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(old->Main) != FALSE; }, 5000));
    // The user moved the window.
    RECT moved{};
    ::GetWindowRect(old->Main, &moved);
    ::OffsetRect(&moved, 123 - moved.left, 87 - moved.top);
    ::SetWindowPos(old->Main, nullptr, moved.left, moved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil(
        [&] {
            RECT now{};
            return ::GetWindowRect(old->Main, &now) && ::EqualRect(&now, &moved);
        },
        5000));

    ASSERT_EQ(RunSetup(), std::optional<DWORD>(0));

    EXPECT_TRUE(old->Ended(10000));
    const auto upgraded = WaitRunningCopy(old->Id);
    ASSERT_TRUE(upgraded);
    EXPECT_TRUE(SamePath(upgraded->Image, InstalledExe())) << upgraded->Image;
    EXPECT_TRUE(InstalledAsBuilt());
    EXPECT_EQ(ProgramProcesses(), std::vector<DWORD>{upgraded->Id});

    // The new copy has written what it read at its start.
    for (const auto& [name, value] : settings)
        EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, SettingsKey, name), value) << name;
    RECT placed{};
    EXPECT_TRUE(WaitUntil(
        [&] { return ::IsWindowVisible(upgraded->Main) && ::GetWindowRect(upgraded->Main, &placed) && ::EqualRect(&placed, &moved); },
        5000))
        << placed.left << ',' << placed.top << ' ' << placed.right << ',' << placed.bottom;
}

TEST_F(Installer, UninstallLeavesNothingBehind)
{
    ASSERT_EQ(RunSetup(), std::optional<DWORD>(0));
    const auto copy = WaitRunningCopy();
    ASSERT_TRUE(copy);
    ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }, 10000));

    // As Settings > Apps runs it when asked to be quiet.
    const auto quiet = testsupport::StoredSz(HKEY_CURRENT_USER, UninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);
    const auto temp = TempEntries();
    EXPECT_EQ(Launched(*quiet).WaitExit(30000), std::optional<DWORD>(0));
    // The uninstaller goes on from a copy of itself in the temporary folder,
    // removes its entry last, and that copy once it has ended.
    EXPECT_TRUE(WaitUntil([] { return !KeyExists(UninstallKey); }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return TempEntries() == temp; }, 35000));

    EXPECT_TRUE(copy->Ended(5000));
    EXPECT_EQ(ProgramProcesses(), std::vector<DWORD>{});
    EXPECT_FALSE(Exists(InstallDir()));
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_FALSE(KeyExists(ProductKey));
    EXPECT_EQ(KeyExists(MakerKey), othersUnderMaker_);
}

namespace {

// The exit code of the uninstaller's copy of itself in the temporary folder,
// which does the work, once it has ended.
std::optional<DWORD> UninstallerCopyExit(std::uint32_t timeoutMs)
{
    wchar_t temp[MAX_PATH] = {};
    wchar_t longTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    ::GetLongPathNameW(temp, longTemp, MAX_PATH);
    const std::wstring tempFolder = longTemp;
    tk::KernelHandle copy;
    if (!WaitUntil(
            [&] {
                const tk::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
                PROCESSENTRY32W entry{};
                entry.dwSize = sizeof entry;
                for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
                     more = ::Process32NextW(snapshot.Get(), &entry)) {
                    tk::KernelHandle process(
                        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
                    wchar_t image[MAX_PATH] = {};
                    wchar_t longImage[MAX_PATH] = {};
                    DWORD size = MAX_PATH;
                    if (process && ::QueryFullProcessImageNameW(process.Get(), 0, image, &size) &&
                        ::GetLongPathNameW(image, longImage, MAX_PATH) &&
                        ::CompareStringOrdinal(longImage, static_cast<int>(tempFolder.size()), tempFolder.c_str(),
                                               -1, TRUE) == CSTR_EQUAL)
                        copy = std::move(process);
                }
                return static_cast<bool>(copy);
            },
            timeoutMs) ||
        !WaitUntil([&] { return ::WaitForSingleObject(copy.Get(), 0) == WAIT_OBJECT_0; }, timeoutMs))
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(copy.Get(), &code);
    return code;
}

// The uninstaller's window, or a message box of it, by the start of its
// caption.
HWND UninstallerWindow(const wchar_t* className)
{
    const std::wstring caption = Name + L" Uninstall";
    for (const HWND window : testsupport::TopWindows(testsupport::AnyProcess, className))
        if (testsupport::TextOf(window).rfind(caption, 0) == 0)
            return window;
    return nullptr;
}

}  // namespace

TEST_F(Installer, AgainstACopyThatHangsSilentSetupAndUninstallChangeNothingAndFail)
{
    const testsupport::ShortTimings timings(L"StopWait=1000,StopModeWait=1000");
    ASSERT_EQ(RunSetup(), std::optional<DWORD>(0));
    const auto copy = WaitRunningCopy();
    ASSERT_TRUE(copy);
    ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }, 10000));
    // The installed program as an older build would be: an upgrade would
    // replace it.
    ::PostMessageW(copy->Main, WM_INSTANCE_STOP, 0, 0);
    ASSERT_TRUE(copy->Ended(10000));
    {
        std::ofstream exe(InstalledExe().c_str(), std::ios::binary | std::ios::app);
        exe << "an older build";
    }
    const std::string older = Contents(InstalledExe());
    Launched started(L'"' + InstalledExe() + L'"');
    const auto hung = WaitRunningCopy(copy->Id);
    ASSERT_TRUE(hung);
    testsupport::SuspendProcessThreads(hung->Id, true);

    // The upgrade stops before it replaces anything, and says so.
    EXPECT_EQ(RunSetup(), std::optional<DWORD>(2));
    EXPECT_EQ(Contents(InstalledExe()), older);

    // So does the removal: everything stays, so it can be removed later.
    const auto quiet = testsupport::StoredSz(HKEY_CURRENT_USER, UninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);
    Launched uninstall(*quiet);
    EXPECT_EQ(UninstallerCopyExit(30000), std::optional<DWORD>(2));
    EXPECT_TRUE(KeyExists(UninstallKey));
    EXPECT_TRUE(Exists(InstalledExe()));
    EXPECT_TRUE(Exists(Uninstaller()));
    EXPECT_TRUE(Exists(Shortcut()));
    EXPECT_TRUE(RunValue().has_value());
    EXPECT_TRUE(KeyExists(SettingsKey));

    testsupport::SuspendProcessThreads(hung->Id, false);
    ::PostMessageW(hung->Main, WM_INSTANCE_STOP, 0, 0);
    EXPECT_TRUE(hung->Ended(10000));
}

TEST_F(Installer, AgainstACopyThatHangsTheUninstallerSaysWhyAndRetries)
{
    const testsupport::ShortTimings timings(L"StopWait=1000,StopModeWait=1000");
    ASSERT_EQ(RunSetup(), std::optional<DWORD>(0));
    const auto copy = WaitRunningCopy();
    ASSERT_TRUE(copy);
    testsupport::SuspendProcessThreads(copy->Id, true);

    Launched uninstall(L'"' + Uninstaller() + L'"');
    // The confirmation page, then its Uninstall button.
    HWND page = nullptr;
    HWND button = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            page = UninstallerWindow(L"#32770");
            button = page ? ::FindWindowExW(page, nullptr, L"Button", L"&Uninstall") : nullptr;
            return button && ::IsWindowVisible(button) && ::IsWindowEnabled(button);
        },
        30000));
    ::PostMessageW(button, BM_CLICK, 0, 0);
    // The message: why, and Retry.
    HWND message = nullptr;
    HWND retry = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            message = UninstallerWindow(L"#32770");
            retry = message ? ::FindWindowExW(message, nullptr, L"Button", L"&Retry") : nullptr;
            return retry != nullptr;
        },
        30000));
    HWND text = ::FindWindowExW(message, nullptr, L"Static", nullptr);
    std::wstring shown;
    for (; text; text = ::FindWindowExW(message, text, L"Static", nullptr)) {
        wchar_t buffer[512] = {};
        ::GetWindowTextW(text, buffer, 512);
        shown += buffer;
    }
    EXPECT_NE(shown.find(L"does not answer"), std::wstring::npos) << std::string(shown.begin(), shown.end());
    EXPECT_TRUE(testsupport::SaveWindowPng(message, L"uninstall-copy-does-not-answer.png"));
    EXPECT_TRUE(KeyExists(UninstallKey));
    EXPECT_TRUE(Exists(InstalledExe()));

    // The copy answers again; Retry finishes the removal.
    testsupport::SuspendProcessThreads(copy->Id, false);
    ::PostMessageW(retry, BM_CLICK, 0, 0);
    EXPECT_TRUE(copy->Ended(15000));
    EXPECT_TRUE(WaitUntil([] { return !KeyExists(UninstallKey); }, 30000));
    EXPECT_FALSE(Exists(InstalledExe()));
    // The finished page closes with its own button.
    HWND finish = nullptr;
    WaitUntil(
        [&] {
            const HWND last = UninstallerWindow(L"#32770");
            finish = last ? ::FindWindowExW(last, nullptr, L"Button", L"&Close") : nullptr;
            return finish && ::IsWindowVisible(finish) && ::IsWindowEnabled(finish);
        },
        15000);
    if (finish)
        ::PostMessageW(finish, BM_CLICK, 0, 0);
}
