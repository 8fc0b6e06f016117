#include "actions/PowerActions.h"

namespace corvello::power {
namespace {

// The tool runs hidden and is not waited for, so this reports false even when
// the tool started: the caller cannot tell, and says no more than it knows.
bool Fallback(PowerRequests& requests, const wchar_t* commandLine)
{
    return requests.RunSystemTool(commandLine, false, false) != 0;
}

bool ExitOrFallback(PowerRequests& requests, unsigned flags, const wchar_t* commandLine)
{
    if (requests.ExitWindowsEx(flags, 0))
        return true;
    return Fallback(requests, commandLine);
}

}  // namespace

SleepPath ChooseSleepPath(const std::optional<SleepStates>& states) noexcept
{
    if (states && states->AoAc && !states->S1 && !states->S2 && !states->S3)
        return SleepPath::DisplayOff;
    return SleepPath::Suspend;
}

bool MonitorOff(PowerRequests& requests)
{
    return requests.PostToProgramWindow(SysCommand, ScMonitorPower, 2);
}

bool MonitorOn(PowerRequests& requests)
{
    return requests.PostToProgramWindow(SysCommand, ScMonitorPower, -1);
}

bool ScreenSaver(PowerRequests& requests)
{
    return requests.PostToProgramWindow(SysCommand, ScScreenSave, 0);
}

bool LockUser(PowerRequests& requests)
{
    if (requests.LockWorkStation())
        return true;
    return Fallback(requests, LockCommand);
}

bool Sleep(PowerRequests& requests)
{
    if (ChooseSleepPath(requests.SleepCapabilities()) == SleepPath::DisplayOff)
        return MonitorOff(requests);
    return requests.SetSuspendState(false, false, false);
}

bool Hibernate(PowerRequests& requests)
{
    return requests.SetSuspendState(true, false, false);
}

bool HybridShutDown(PowerRequests& requests, unsigned exitFlags)
{
    if (requests.ExitWindowsEx(ExitHybridShutDown | ExitShutDown | exitFlags, 0))
        return true;
    return Hibernate(requests);
}

bool LogOff(PowerRequests& requests, unsigned exitFlags)
{
    return ExitOrFallback(requests, ExitLogOff | exitFlags, LogOffCommand);
}

bool Reboot(PowerRequests& requests, unsigned exitFlags)
{
    return ExitOrFallback(requests, ExitReboot | exitFlags, RebootCommand);
}

bool ShutDown(PowerRequests& requests, unsigned exitFlags)
{
    return ExitOrFallback(requests, ExitShutDown | exitFlags, ShutDownCommand);
}

bool PowerOff(PowerRequests& requests, unsigned exitFlags)
{
    // Power off is asked of Windows only where it can hibernate as well;
    // elsewhere the tool shuts down at once.
    if (requests.IsPwrHibernateAllowed() && requests.ExitWindowsEx(ExitPowerOff | exitFlags, 0))
        return true;
    return Fallback(requests, ShutDownCommand);
}

bool ControlPanel(PowerRequests& requests)
{
    requests.RunSystemTool(ControlPanelCommand, false, true);
    return true;
}

bool LockMonitorOff(PowerRequests& requests, const std::function<void()>& wait)
{
    // A dark screen passes for a locked one: without the lock it stays on.
    // No fallback tool here, since whether that one locked cannot be told.
    if (!requests.LockWorkStation())
        return false;
    if (wait)
        wait();
    MonitorOff(requests);
    return true;
}

}  // namespace corvello::power
