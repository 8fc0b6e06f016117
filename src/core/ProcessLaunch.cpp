#include "core/ProcessLaunch.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace corvello {

namespace {

std::uint32_t StartProcess(const wchar_t* applicationName, const std::wstring& commandLine, bool wait, bool show)
{
    // CreateProcessW may write into the command line, and takes at most 32767
    // characters; a longer one is refused rather than cut into another command.
    constexpr std::size_t BufferChars = 32769;
    if (commandLine.size() >= 32768) {
        tk::LogFailure(tk::Concat({L"starting a command line of ", tk::Decimal(static_cast<long long>(commandLine.size())),
                                   L" characters"}),
                       0);
        return 0;
    }
    std::vector<wchar_t> buffer(BufferChars, L'\0');
    std::copy(commandLine.begin(), commandLine.end(), buffer.begin());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show ? SW_SHOWNORMAL : SW_HIDE);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(applicationName, buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
        tk::LogLastError(tk::Concat({L"starting ", commandLine}));
        return 0;
    }
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
    RunProcess(tk::Concat({L"\"", exePath, L"\""}), false, true);
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
    const std::wstring image = tk::Concat({std::wstring_view(system, length), L"\\", tool});
    return StartProcess(image.c_str(), commandLine, wait, show);
}

}  // namespace corvello
