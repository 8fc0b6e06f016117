#include "core/SingleInstance.h"

#include <algorithm>

#include "core/FileVersion.h"
#include "core/Messages.h"
#include "core/SystemNames.h"
#include "core/Ticks.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace corvello {
namespace {

tk::KernelHandle& InstanceMutexHandle()
{
    static tk::KernelHandle handle;
    return handle;
}

}  // namespace

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

InstanceNames ProgramInstanceNames(bool useUserName, bool useExeName, const std::wstring& extra)
{
    InstanceNameParts parts;
    parts.UseUserName = useUserName;
    if (useUserName)
        parts.UserName = GetCurrentUserName();
    parts.UseExeName = useExeName;
    parts.ExeFileName = SplitPath(GetModulePath()).FileName;
    parts.AppTitle = tk::Application::Current().Title();
    parts.Extra = extra;
    return ComposeInstanceNames(parts);
}

bool IsAnotherInstance(bool useUserName, bool useExeName, const std::wstring& extra)
{
    const InstanceNames names = ProgramInstanceNames(useUserName, useExeName, extra);

    // The guard serialises two starts at the same moment; the instance mutex
    // alone says whether a copy runs. A guard that is there is waited for, a
    // while: another start holds it for a moment, but a process that merely
    // has it open, or hangs holding it, must not keep every start away.
    tk::KernelHandle guard(::CreateMutexW(nullptr, FALSE, names.Guard.c_str()));
    const DWORD guardError = guard ? ERROR_TIMEOUT : ::GetLastError();
    const DWORD guardWait = guard ? ::WaitForSingleObject(guard.Get(), StartGuardWait) : WAIT_FAILED;
    const bool guarded = guardWait == WAIT_OBJECT_0 || guardWait == WAIT_ABANDONED;
    if (!guarded)
        tk::LogFailure(L"taking the start guard (the instance mutex decides without it)", guardError);

    auto& instance = InstanceMutexHandle();
    instance.Reset(::CreateMutexW(nullptr, FALSE, names.Instance.c_str()));
    const DWORD wait = instance ? ::WaitForSingleObject(instance.Get(), 0) : WAIT_FAILED;
    if (guarded)
        ::ReleaseMutex(guard.Get());
    // WAIT_OBJECT_0 or WAIT_ABANDONED: this process owns the instance now.
    return wait == WAIT_TIMEOUT || wait == WAIT_FAILED;
}

HWND FindInstanceWindow(const std::wstring& className, const std::wstring& title)
{
    const HWND own = tk::Application::Current().Handle();
    HWND found = nullptr;
    do {
        found = ::FindWindowExW(nullptr, found, className.c_str(), title.c_str());
    } while (found && found == own);
    return found;
}

bool WindowExists(HWND window)
{
    return window && ::IsWindow(window);
}

namespace {

constexpr std::uint32_t StopPollMilliseconds = 50;

void PostToInstance(HWND window, UINT message)
{
    ::PostMessageW(window, message, reinterpret_cast<WPARAM>(tk::Application::Current().Handle()),
                   reinterpret_cast<LPARAM>(tk::Application::Current().Instance()));
}

}  // namespace

// The mutex is taken for a moment and let go again, and the caller's own
// ownership counts for nothing. A mutex that is there but cannot be opened
// counts as held.
bool InstanceHeldElsewhere()
{
    const InstanceNames names = ProgramInstanceNames(true, true, L"");
    const tk::KernelHandle mutex(::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, names.Instance.c_str()));
    if (!mutex)
        return ::GetLastError() != ERROR_FILE_NOT_FOUND;
    const DWORD wait = ::WaitForSingleObject(mutex.Get(), 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
        ::ReleaseMutex(mutex.Get());
        return false;
    }
    return true;
}

bool ActivateInstance(const std::wstring& className, const std::wstring& title, UINT request, std::uint32_t timeout)
{
    const HWND window = FindInstanceWindow(className, title);
    if (!WindowExists(window))
        return false;
    if (::IsIconic(window))
        ::OpenIcon(window);
    else
        ::SetForegroundWindow(window);
    // Sent, so a copy that is ending can say so: posted, the request would
    // wait in a queue nobody reads any more.
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(window, request, reinterpret_cast<WPARAM>(tk::Application::Current().Handle()),
                              reinterpret_cast<LPARAM>(tk::Application::Current().Instance()), SMTO_ABORTIFHUNG,
                              timeout, &answer))
        return static_cast<LRESULT>(answer) != InstanceLeavingAnswer;
    // No answer: the window went with a copy on its way out, or the copy
    // hangs.
    return false;
}

StartOutcome HandOverOrTakeInstance(const std::wstring& className, const std::wstring& title, UINT request,
                                    std::uint32_t timeout)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const std::uint32_t passed = TickDistance(::GetTickCount(), start);
        const std::uint32_t left = passed < timeout ? timeout - passed : 0;
        // At least a moment for the answer, however long the wait was.
        if (ActivateInstance(className, title, request, std::max<std::uint32_t>(left, 500)))
            return StartOutcome::HandedOver;
        // The instance is taken the moment it is let go, also by a copy
        // ending or by another process that holds it only to look at it.
        // Messages keep flowing while it waits.
        const HANDLE mutex = InstanceMutex();
        const DWORD wait = mutex ? ::MsgWaitForMultipleObjectsEx(1, &mutex, std::min(left, StopPollMilliseconds),
                                                                  QS_ALLINPUT, MWMO_INPUTAVAILABLE)
                                 : WAIT_FAILED;
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED_0)
            return StartOutcome::TookInstance;
        if (wait == WAIT_FAILED || left == 0) {
            tk::LogFailure(L"handing over to the running copy (it holds the instance but shows no window)",
                           wait == WAIT_FAILED ? ::GetLastError() : ERROR_TIMEOUT);
            return StartOutcome::StillHeld;
        }
        tk::Application::Current().ProcessMessages();
    }
}

namespace {

// Waits up to timeout ms until the copy's window has gone and no other
// process holds the instance; asked to, it posts the stop to the window,
// once, as soon as it is there.
bool WaitUntilGone(std::uint32_t timeout, const std::wstring& className, const std::wstring& title, bool stop)
{
    bool asked = !stop;
    auto gone = [&] {
        const HWND window = FindInstanceWindow(className, title);
        if (WindowExists(window)) {
            if (!asked) {
                PostToInstance(window, WM_INSTANCE_STOP);
                asked = true;
            }
            return false;
        }
        return !InstanceHeldElsewhere();
    };
    if (gone())
        return true;
    const DWORD start = ::GetTickCount();
    for (;;) {
        const std::uint32_t passed = TickDistance(::GetTickCount(), start);
        if (passed >= timeout)
            return false;
        // Messages keep flowing while it waits.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, std::min(timeout - passed, StopPollMilliseconds), QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
        tk::Application::Current().ProcessMessages();
        if (gone())
            return true;
    }
}

}  // namespace

bool StopInstance(std::uint32_t timeout, const std::wstring& className, const std::wstring& title)
{
    // A copy that is starting may have the instance before its window: it
    // is asked as soon as the window is there.
    const bool stopped = WaitUntilGone(timeout, className, title, true);
    if (!stopped)
        tk::LogFailure(L"stopping the running copy (it has neither ended nor let the instance go)", ERROR_TIMEOUT);
    return stopped;
}

bool WaitForInstanceToEnd(std::uint32_t timeout, const std::wstring& className, const std::wstring& title)
{
    return WaitUntilGone(timeout, className, title, false);
}

HandOverResult HandOverToInstance(const std::wstring& className, const std::wstring& title, std::uintptr_t tag,
                                  const void* data, std::uint32_t size, LRESULT taken, std::uint32_t timeout)
{
    const DWORD start = ::GetTickCount();
    HWND window = FindInstanceWindow(className, title);
    // A copy that is starting may hold the instance before its window is
    // there.
    while (!WindowExists(window)) {
        if (!InstanceHeldElsewhere())
            return HandOverResult::NoCopy;
        const std::uint32_t passed = TickDistance(::GetTickCount(), start);
        if (passed >= timeout) {
            tk::LogFailure(L"handing over to the running copy (it holds the instance but shows no window)",
                           ERROR_TIMEOUT);
            return HandOverResult::NotTaken;
        }
        ::MsgWaitForMultipleObjectsEx(0, nullptr, std::min(timeout - passed, StopPollMilliseconds), QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
        tk::Application::Current().ProcessMessages();
        window = FindInstanceWindow(className, title);
    }

    COPYDATASTRUCT message{};
    message.dwData = tag;
    message.cbData = size;
    message.lpData = const_cast<void*>(data);
    // At least a moment for the answer, however long the window took.
    const std::uint32_t passed = TickDistance(::GetTickCount(), start);
    const std::uint32_t left = passed < timeout ? timeout - passed : 0;
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(window, WM_COPYDATA, reinterpret_cast<WPARAM>(tk::Application::Current().Handle()),
                               reinterpret_cast<LPARAM>(&message), SMTO_ABORTIFHUNG, std::max<std::uint32_t>(left, 500),
                               &answer)) {
        const DWORD error = ::GetLastError();
        tk::LogFailure(L"handing over to the running copy (no answer in time)", error ? error : ERROR_TIMEOUT);
        return HandOverResult::NotTaken;
    }
    if (static_cast<LRESULT>(answer) != taken) {
        tk::LogFailure(L"handing over to the running copy (it did not take it)", 0);
        return HandOverResult::Refused;
    }
    return HandOverResult::Taken;
}

}  // namespace corvello
