#include "core/AppUtils.h"

#include <vector>

#include "core/InstanceNames.h"
#include "core/Ticks.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Registry.h"

namespace corvello {

bool IsWinNT = false;
bool IsWin95 = false;
bool IsWin95OSR2 = false;
bool IsWinVistaOrHigher = false;

namespace {

tk::KernelHandle& InstanceMutexHandle()
{
    static tk::KernelHandle handle;
    return handle;
}

// Name routines share one shape: a zero-filled buffer of 261 characters.
template <typename Fn>
std::wstring QueryName(Fn fn)
{
    std::vector<wchar_t> buffer(261, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!fn(buffer.data(), &size))
        return {};
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}

}  // namespace

void InitAppUtils()
{
    DetectWindowsVersion();
    InstanceMutexHandle().Reset();
}

TWindowsVersion DetectWindowsVersion()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // the manifest makes this report the true version
#endif
    ::GetVersionExW(&info);
    const TVersionQuery query{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion};
    const TVersionResult result = ClassifyWindowsVersion(query, &GetWindowsProductType);
    IsWinNT = result.Flags.IsWinNT;
    IsWin95 = result.Flags.IsWin95;
    IsWin95OSR2 = result.Flags.IsWin95OSR2;
    IsWinVistaOrHigher = result.Flags.IsWinVistaOrHigher;
    return result.Version;
}

int GetWindowsProductType()
{
    const auto key = tk::RegKey::Open(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\ProductOptions");
    return ProductTypeFromText(key.ReadString(L"ProductType").value_or(L""));
}

bool GetFileVersion(const std::wstring& fileName, TVersionArray& version)
{
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    const tk::SystemLibrary library(L"version.dll");
    const auto getSize = library.Proc<SizeFn>("GetFileVersionInfoSizeW");
    const auto getInfo = library.Proc<InfoFn>("GetFileVersionInfoW");
    const auto query = library.Proc<QueryFn>("VerQueryValueW");
    if (!getSize || !getInfo || !query)
        return false;

    DWORD ignored = 0;
    const DWORD size = getSize(fileName.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    if (!getInfo(fileName.c_str(), 0, size, buffer.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!query(buffer.data(), L"\\", reinterpret_cast<LPVOID*>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    version = VersionFromWords(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    return true;
}

std::wstring GetModulePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring GetCurrentUserName()
{
    return QueryName([](wchar_t* buffer, DWORD* size) { return ::GetUserNameW(buffer, size) != FALSE; });
}

std::wstring GetCurrentComputerName()
{
    return QueryName([](wchar_t* buffer, DWORD* size) { return ::GetComputerNameW(buffer, size) != FALSE; });
}

HANDLE InstanceMutex()
{
    return InstanceMutexHandle().Get();
}

void FreeInstanceMutex()
{
    auto& handle = InstanceMutexHandle();
    if (handle) {
        // Fails harmlessly in a process that only opened it.
        ::ReleaseMutex(handle.Get());
        handle.Reset();
    }
}

bool IsAnotherInstance(bool useUserName, bool useExeName, const std::wstring& extra)
{
    TInstanceNameParts parts;
    parts.UseUserName = useUserName;
    if (useUserName)
        parts.UserName = GetCurrentUserName();
    parts.UseExeName = useExeName;
    parts.ExeFileName = SplitPath(GetModulePath()).FileName;
    parts.AppTitle = tk::Application::Current().Title();
    parts.Extra = extra;
    const TInstanceNames names = ComposeInstanceNames(parts);

    // The guard serialises two starts at the same moment: whoever finds it
    // already there treats the other as the running instance.
    ::SetLastError(ERROR_SUCCESS);
    tk::KernelHandle guard(::CreateMutexW(nullptr, TRUE, names.Guard.c_str()));
    if (!guard || ::GetLastError() != ERROR_SUCCESS)
        return true;

    auto& instance = InstanceMutexHandle();
    instance.Reset(::CreateMutexW(nullptr, FALSE, names.Instance.c_str()));
    const DWORD wait = instance ? ::WaitForSingleObject(instance.Get(), 0) : WAIT_FAILED;
    ::ReleaseMutex(guard.Get());
    // WAIT_OBJECT_0 or WAIT_ABANDONED: this process owns the instance now.
    return wait == WAIT_TIMEOUT || wait == WAIT_FAILED;
}

HWND FindInstanceWindow(const std::wstring& className, const std::wstring& title)
{
    auto& application = tk::Application::Current();
    const HWND mainWindow = application.MainWindow();

    std::wstring cls = className;
    if (cls.empty() && mainWindow) {
        wchar_t buffer[256] = {};
        if (::GetClassNameW(mainWindow, buffer, 256) > 0)
            cls = buffer;
    }
    if (cls.empty())
        cls = tk::Application::WindowClassName;

    std::wstring caption = title;
    if (caption.empty() && mainWindow) {
        const int length = ::GetWindowTextLengthW(mainWindow);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(mainWindow, text.data(), length + 1)));
        caption = text;
    }
    if (caption.empty())
        caption = application.Title();

    HWND found = nullptr;
    do {
        found = ::FindWindowExW(nullptr, found, cls.c_str(), caption.c_str());
    } while (found && found == application.Handle());
    return found;
}

bool WindowExists(HWND window)
{
    return window && ::IsWindow(window);
}

namespace {

void PostToInstance(HWND window, UINT message)
{
    ::PostMessageW(window, message, reinterpret_cast<WPARAM>(tk::Application::Current().Handle()),
                   reinterpret_cast<LPARAM>(tk::Application::Current().Instance()));
}

}  // namespace

bool ActivateInstance(const std::wstring& className, const std::wstring& title)
{
    const HWND window = FindInstanceWindow(className, title);
    if (!WindowExists(window))
        return false;
    if (::IsIconic(window))
        ::OpenIcon(window);
    else
        ::SetForegroundWindow(window);
    PostToInstance(window, WM_INSTANCE_ACTIVATE);
    return true;
}

bool StopInstance(std::uint32_t timeout, const std::wstring& className, const std::wstring& title)
{
    const HWND window = FindInstanceWindow(className, title);
    if (!WindowExists(window))
        return true;
    PostToInstance(window, WM_INSTANCE_STOP);
    const DWORD start = ::GetTickCount();
    for (;;) {
        ::Sleep(100);
        tk::Application::Current().ProcessMessages();
        if (!WindowExists(FindInstanceWindow(className, title)))
            return true;
        if (TickDistance(::GetTickCount(), start) >= timeout)
            return false;
    }
}

namespace {

SYSTEMTIME SystemLocalTime()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return now;
}

LocalClock CurrentClock = &SystemLocalTime;

}  // namespace

SYSTEMTIME LocalNow()
{
    return CurrentClock();
}

void SetLocalClock(LocalClock clock)
{
    CurrentClock = clock ? clock : &SystemLocalTime;
}

std::wstring TodayIso()
{
    const SYSTEMTIME now = LocalNow();
    return FormatIsoDate(now.wYear, now.wMonth, now.wDay);
}

namespace {

FlashWindowFn CurrentFlash = &::FlashWindowEx;

}  // namespace

void SetFlashWindowFn(FlashWindowFn fn)
{
    CurrentFlash = fn ? fn : &::FlashWindowEx;
}

bool WindowFlash(HWND window, UINT count, DWORD timeout)
{
    FLASHWINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.dwFlags = FLASHW_ALL;
    info.uCount = count;
    info.dwTimeout = timeout;
    return CurrentFlash(&info) != FALSE;
}

void Delay(std::uint32_t milliseconds)
{
    const DWORD start = ::GetTickCount();
    do {
        tk::Application::Current().ProcessMessages();
    } while (TickDistance(::GetTickCount(), start) < milliseconds);
}

namespace {

std::uint32_t StartProcess(const wchar_t* applicationName, const std::wstring& commandLine, bool wait, bool show)
{
    // CreateProcessW may write into the command line, and takes at most 32767
    // characters; a longer one is refused rather than cut into another command.
    constexpr std::size_t BufferChars = 32769;
    if (commandLine.size() >= 32768)
        return 0;
    std::vector<wchar_t> buffer(BufferChars, L'\0');
    std::copy(commandLine.begin(), commandLine.end(), buffer.begin());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show ? SW_SHOWNORMAL : SW_HIDE);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(applicationName, buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info))
        return 0;
    tk::KernelHandle process(info.hProcess);
    tk::KernelHandle thread(info.hThread);
    DWORD exitCode = 0;
    if (wait) {
        ::WaitForSingleObject(process.Get(), INFINITE);
        if (!::GetExitCodeProcess(process.Get(), &exitCode))
            exitCode = 0;
    }
    return exitCode;
}

}  // namespace

std::uint32_t RunProcess(const std::wstring& commandLine, bool wait, bool show)
{
    return StartProcess(nullptr, commandLine, wait, show);
}

void StartProgramCopy(const std::wstring& exePath)
{
    RunProcess(L'"' + exePath + L'"', false, true);
}

std::uint32_t RunSystemTool(const std::wstring& commandLine, bool wait, bool show)
{
    // The tool is the command line's first word, taken from the system
    // directory only: never a planted copy from the current directory, the
    // program's folder or the search path.
    const std::wstring tool = commandLine.substr(0, commandLine.find(L' '));
    if (tool.empty() || tool.find_first_of(L"\\/:\"") != std::wstring::npos)
        return 0;
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    const std::wstring image = std::wstring(system, length) + L'\\' + tool;
    return StartProcess(image.c_str(), commandLine, wait, show);
}

}  // namespace corvello
