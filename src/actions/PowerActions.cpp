#include "actions/PowerActions.h"

namespace corvello::power {
namespace {

// The tool runs hidden and is not waited for, so this reports false even when
// the tool started: the caller cannot tell, and says no more than it knows.
bool Fallback(TPowerRequests& requests, const wchar_t* commandLine)
{
    return requests.RunSystemTool(commandLine, false, false) != 0;
}

bool ExitOrFallback(TPowerRequests& requests, unsigned flags, const wchar_t* commandLine)
{
    if (requests.ExitWindowsEx(flags, 0))
        return true;
    return Fallback(requests, commandLine);
}

}  // namespace

bool MonitorOff(TPowerRequests& requests)
{
    return requests.PostBroadcast(SysCommand, ScMonitorPower, 2);
}

bool MonitorOn(TPowerRequests& requests)
{
    return requests.PostBroadcast(SysCommand, ScMonitorPower, -1);
}

bool ScreenSaver(TPowerRequests& requests)
{
    return requests.PostBroadcast(SysCommand, ScScreenSave, 0);
}

bool LockUser(TPowerRequests& requests)
{
    if (requests.LockWorkStation())
        return true;
    return Fallback(requests, LockCommand);
}

bool Sleep(TPowerRequests& requests)
{
    return requests.SetSuspendState(false, false, false);
}

bool Hibernate(TPowerRequests& requests)
{
    return requests.SetSuspendState(true, false, false);
}

bool HybridShutDown(TPowerRequests& requests, unsigned exitFlags)
{
    if (requests.ExitWindowsEx(ExitHybridShutDown | ExitShutDown | exitFlags, 0))
        return true;
    return Hibernate(requests);
}

bool LogOff(TPowerRequests& requests, unsigned exitFlags)
{
    return ExitOrFallback(requests, ExitLogOff | exitFlags, LogOffCommand);
}

bool Reboot(TPowerRequests& requests, unsigned exitFlags)
{
    return ExitOrFallback(requests, ExitReboot | exitFlags, RebootCommand);
}

bool ShutDown(TPowerRequests& requests, unsigned exitFlags)
{
    return ExitOrFallback(requests, ExitShutDown | exitFlags, ShutDownCommand);
}

bool PowerOff(TPowerRequests& requests, unsigned exitFlags)
{
    // Power off is asked of Windows only where it can hibernate as well;
    // elsewhere the tool shuts down at once.
    if (requests.IsPwrHibernateAllowed() && requests.ExitWindowsEx(ExitPowerOff | exitFlags, 0))
        return true;
    return Fallback(requests, ShutDownCommand);
}

bool ControlPanel(TPowerRequests& requests)
{
    requests.RunSystemTool(ControlPanelCommand, false, true);
    return true;
}

}  // namespace corvello::power
