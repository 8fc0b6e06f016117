// The real corvello.exe as a process under test.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/SingleInstance.h"
#include "core/SystemNames.h"
#include "core/InstanceNames.h"
#include "core/Messages.h"
#include "core/RegistryLayout.h"
#include "support/ProgramSettings.h"
#include "support/ProgramUser.h"
#include "support/RegistryTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Registry.h"

namespace testsupport {

// A start of the program at that path with exactly this command line, as a
// shortcut or an entry that forgot the quotes makes it.
struct ExactStart {
    std::wstring Application;
    std::wstring CommandLine;
};

// Stops every thread of a process, as a program that hangs is stopped, or
// lets them go on again.
inline void SuspendProcessThreads(DWORD processId, bool suspend)
{
    const tk::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more; more = ::Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != processId)
            continue;
        const tk::KernelHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
        if (suspend)
            ::SuspendThread(thread.Get());
        else
            ::ResumeThread(thread.Get());
    }
}

// A program built beside the tests, started by a test; killed at the end of
// the test if it still runs.
class TestedProcess {
public:
    TestedProcess(const wchar_t* exeName, const std::wstring& arguments, bool suspended = false)
        : TestedProcess(ExactStart{BinDir() + exeName, L'"' + BinDir() + exeName + L'"' +
                                                            (arguments.empty() ? L"" : L" " + arguments)},
                        suspended)
    {
    }
    explicit TestedProcess(ExactStart start, bool suspended = false)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(start.Application.c_str(), start.CommandLine.data(), nullptr, nullptr, FALSE,
                             suspended ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &info)) {
            process_.Reset(info.hProcess);
            thread_.Reset(info.hThread);
            id_ = info.dwProcessId;
            threadId_ = info.dwThreadId;
        } else {
            startError_ = ::GetLastError();
        }
    }
    TestedProcess(TestedProcess&&) = default;
    ~TestedProcess()
    {
        if (Running())
            Kill();
    }

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const noexcept { return id_; }
    DWORD ThreadId() const noexcept { return threadId_; }
    void Resume() { ::ResumeThread(thread_.Get()); }
    bool Running() const { return process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    void Kill()
    {
        ::TerminateProcess(process_.Get(), 99);
        ::WaitForSingleObject(process_.Get(), 5000);
    }
    // Waits until the program first waits for input, which it does in its
    // loop; WaitForInputIdle's answer (WAIT_FAILED for a process that never
    // started).
    DWORD WaitForIdle(std::uint32_t timeoutMs) const
    {
        return process_ ? ::WaitForInputIdle(process_.Get(), timeoutMs) : WAIT_FAILED;
    }
    bool WaitIdle(std::uint32_t timeoutMs) const { return WaitForIdle(timeoutMs) == 0; }

    // Says in the test's output why the process is not what was waited for:
    // CreateProcess's error for one that never started, else the answer of
    // the wait for input and the exit code, or that it still runs.
    void Explain(const char* what, DWORD idle) const
    {
        if (!process_) {
            std::fprintf(stderr, "%s: the process did not start, CreateProcess error %lu\n", what,
                         static_cast<unsigned long>(startError_));
            return;
        }
        DWORD code = 0;
        const bool ended = !Running() && ::GetExitCodeProcess(process_.Get(), &code);
        std::fprintf(stderr, "%s: WaitForInputIdle answered %lu; %s %lu\n", what, static_cast<unsigned long>(idle),
                     ended ? "exit code" : "still running, process", static_cast<unsigned long>(ended ? code : id_));
    }

    // The exit code, once the process has ended within the time; messages of
    // this thread keep flowing meanwhile.
    std::optional<DWORD> WaitExit(std::uint32_t timeoutMs) const
    {
        if (!WaitUntil([this] { return !Running(); }, timeoutMs))
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

    // Stops every thread of the process, as a copy that hangs is stopped,
    // or lets them go on again.
    void SuspendThreads(bool suspend) const { SuspendProcessThreads(id_, suspend); }

    // The foreground and focus as the program's thread sees them.
    GUITHREADINFO ThreadInfo() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(threadId_, &info);
        return info;
    }

    // The control that has the program's keyboard focus once it is one of
    // that window class, within the time; null when none came.
    HWND WaitFocusOfClass(const wchar_t* className, DWORD timeoutMs = 5000) const
    {
        HWND focus = nullptr;
        const bool came = WaitUntil(
            [&] {
                focus = ThreadInfo().hwndFocus;
                return focus && ClassOf(focus) == className;
            },
            timeoutMs);
        return came ? focus : nullptr;
    }

protected:
    tk::KernelHandle process_;
    tk::KernelHandle thread_;
    DWORD id_ = 0;
    DWORD threadId_ = 0;
    DWORD startError_ = 0;
};

// The real corvello.exe.
class Corvello : public TestedProcess {
public:
    explicit Corvello(const std::wstring& arguments, bool suspended = false)
        : TestedProcess(L"corvello.exe", arguments, suspended)
    {
    }
    explicit Corvello(ExactStart start) : TestedProcess(std::move(start)) {}

    // The hidden application window, which exists once the process runs as
    // the instance or hands over.
    HWND AppWindow() const
    {
        const std::vector<HWND> found = TopWindows(id_, L"TApplication", false);
        return found.empty() ? nullptr : found.front();
    }

    // Waits until the process runs its message loop as the instance: it
    // waits for input (which it first does in its loop) and has its window.
    bool WaitRunning(std::uint32_t timeoutMs = 15000) const
    {
        // A start that is not running says how in the test's output.
        const DWORD idle = WaitForIdle(timeoutMs);
        if (idle != 0) {
            Explain("the program did not wait for input", idle);
            return false;
        }
        if (!WaitUntil([this] { return AppWindow() != nullptr; }, timeoutMs)) {
            Explain("the program waited for input but made no application window", idle);
            return false;
        }
        if (!Running()) {
            Explain("the program made its application window and ended", idle);
            return false;
        }
        return true;
    }

    // Waits until the process runs as the instance and shows its main window,
    // as a first start does.
    bool WaitShown() const
    {
        if (!WaitRunning())
            return false;
        if (!ProgramUser(id_).WaitMainVisible(true)) {
            std::fprintf(stderr, "the program runs but its main window did not show\n");
            return false;
        }
        return true;
    }

    // Asks the instance to end, as a stopping start would, and waits.
    std::optional<DWORD> Stop(std::uint32_t timeoutMs = 10000) const
    {
        ::PostMessageW(AppWindow(), corvello::WM_INSTANCE_STOP, 0, 0);
        return WaitExit(timeoutMs);
    }
};

// The program's own waits shortened for the processes a test starts while
// this lives (the program reads CORVELLO_TIMINGS at its start).
class ShortTimings {
public:
    explicit ShortTimings(const wchar_t* list) { ::SetEnvironmentVariableW(L"CORVELLO_TIMINGS", list); }
    ~ShortTimings() { ::SetEnvironmentVariableW(L"CORVELLO_TIMINGS", nullptr); }
    ShortTimings(const ShortTimings&) = delete;
    ShortTimings& operator=(const ShortTimings&) = delete;
};

inline std::wstring InstanceMutexName()
{
    corvello::InstanceNameParts parts;
    parts.UserName = corvello::GetCurrentUserName();
    parts.ExeFileName = L"corvello.exe";
    return corvello::ComposeInstanceNames(parts).Instance;
}

// Who holds the instance mutex now: WAIT_TIMEOUT while an instance runs.
inline DWORD ProbeInstanceMutex(HANDLE mutex)
{
    const DWORD wait = ::WaitForSingleObject(mutex, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
        ::ReleaseMutex(mutex);
    return wait;
}

// The instance mutex, opened to look at who holds it; null when there is none.
inline tk::KernelHandle OpenInstanceMutex()
{
    return tk::KernelHandle(::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, InstanceMutexName().c_str()));
}

// Whether some process holds the instance mutex now.
inline bool InstanceHeld()
{
    const tk::KernelHandle mutex = OpenInstanceMutex();
    return mutex && ProbeInstanceMutex(mutex.Get()) == static_cast<DWORD>(WAIT_TIMEOUT);
}

// Waits until some process holds the instance mutex, opening it into the
// handle on the way.
inline bool WaitInstanceHeld(tk::KernelHandle& mutex, std::uint32_t timeoutMs = 10000)
{
    return WaitUntil(
        [&] {
            if (!mutex)
                mutex = OpenInstanceMutex();
            return mutex && ProbeInstanceMutex(mutex.Get()) == static_cast<DWORD>(WAIT_TIMEOUT);
        },
        timeoutMs);
}

}  // namespace testsupport
