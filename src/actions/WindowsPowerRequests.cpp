#include "actions/WindowsPowerRequests.h"

#include <windows.h>

#include "core/ProcessLaunch.h"
#include "toolkit/Application.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace corvello {

bool WindowsPowerRequests::PostToProgramWindow(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    // Without the window a null target would post to this thread instead.
    const HWND window = tk::Application::Current().Handle();
    if (!window) {
        tk::LogFailure(
            tk::Concat({L"posting message ", tk::Decimal(message), L" before the application window exists"}), 0);
        return false;
    }
    if (::PostMessageW(window, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)))
        return true;
    tk::LogLastError(tk::Concat({L"posting message ", tk::Decimal(message), L" to the application window"}));
    return false;
}

bool WindowsPowerRequests::LockWorkStation()
{
    if (::LockWorkStation())
        return true;
    tk::LogLastError(L"LockWorkStation");
    return false;
}

bool WindowsPowerRequests::SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent)
{
    using Fn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
    const tk::SystemLibrary powrprof(L"powrprof.dll");
    const auto fn = powrprof.Proc<Fn>("SetSuspendState");
    if (!fn) {
        tk::LogLastError(L"loading SetSuspendState");
        return false;
    }
    if (fn(hibernate, forceCritical, disableWakeEvent))
        return true;
    tk::LogLastError(hibernate ? L"SetSuspendState (hibernate)" : L"SetSuspendState (sleep)");
    return false;
}

bool WindowsPowerRequests::IsPwrHibernateAllowed()
{
    using Fn = BOOLEAN(WINAPI*)();
    const tk::SystemLibrary powrprof(L"powrprof.dll");
    const auto fn = powrprof.Proc<Fn>("IsPwrHibernateAllowed");
    return fn && fn() != FALSE;
}

bool WindowsPowerRequests::ExitWindowsEx(unsigned flags, unsigned long reason)
{
    if (::ExitWindowsEx(flags, reason))
        return true;
    tk::LogLastError(tk::Concat({L"ExitWindowsEx ", tk::Decimal(flags)}));
    return false;
}

std::optional<SleepStates> WindowsPowerRequests::SleepCapabilities()
{
    using Fn = BOOLEAN(WINAPI*)(PSYSTEM_POWER_CAPABILITIES);
    const tk::SystemLibrary powrprof(L"powrprof.dll");
    const auto fn = powrprof.Proc<Fn>("GetPwrCapabilities");
    SYSTEM_POWER_CAPABILITIES capabilities{};
    if (!fn || !fn(&capabilities)) {
        tk::LogLastError(L"GetPwrCapabilities");
        return std::nullopt;
    }
    // Newer headers name the three spare bytes after FastSystemS4
    // Hiberboot, WakeAlarmPresent and AoAc; Windows before 8 leaves them 0.
    return SleepStates{capabilities.SystemS1 != FALSE, capabilities.SystemS2 != FALSE,
                       capabilities.SystemS3 != FALSE, capabilities.spare2[2] != FALSE};
}

std::uint32_t WindowsPowerRequests::RunSystemTool(const std::wstring& commandLine, bool wait, bool show)
{
    return corvello::RunSystemTool(commandLine, wait, show);
}

}  // namespace corvello
