// Power, session and display actions: which request each makes of Windows,
// which command-line tool takes over when Windows refuses, and what each
// reports. The requests go through an interface, so the decisions are
// checked without shutting anything down.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace corvello {

// The sleep states the machine offers, as Windows reports its power
// capabilities.
struct SleepStates {
    bool S1 = false;
    bool S2 = false;
    bool S3 = false;
    // Modern Standby ("always on, always connected").
    bool AoAc = false;
};

class PowerRequests {
public:
    virtual ~PowerRequests() = default;
    // Posts (never sends) a message to the program's own application window,
    // whose default handling carries out a system command. Never to every
    // top-level window: a console window takes WM_SYSCOMMAND for Ctrl+C.
    virtual bool PostToProgramWindow(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual bool LockWorkStation() = 0;
    virtual bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) = 0;
    virtual bool IsPwrHibernateAllowed() = 0;
    virtual bool ExitWindowsEx(unsigned flags, unsigned long reason) = 0;
    // Starts a Windows tool from the system directory with exactly this
    // command line; the tool's exit code when waited for, else 0.
    virtual std::uint32_t RunSystemTool(const std::wstring& commandLine, bool wait, bool show) = 0;
    // What sleep the machine offers; nullopt where Windows does not say.
    virtual std::optional<SleepStates> SleepCapabilities() { return std::nullopt; }
};

namespace power {

// The Windows values (EWX_..., WM_SYSCOMMAND, SC_...), named apart from the
// macros of windows.h.
inline constexpr unsigned ExitLogOff = 0x0;
inline constexpr unsigned ExitShutDown = 0x1;
inline constexpr unsigned ExitReboot = 0x2;
inline constexpr unsigned ExitPowerOff = 0x8;
inline constexpr unsigned ExitHybridShutDown = 0x400000;
inline constexpr unsigned SysCommand = 0x0112;
inline constexpr std::uintptr_t ScMonitorPower = 0xF170;
inline constexpr std::uintptr_t ScScreenSave = 0xF140;

inline constexpr const wchar_t* LockCommand = L"rundll32.exe user32.dll,LockWorkStation";
inline constexpr const wchar_t* LogOffCommand = L"shutdown.exe -l";
inline constexpr const wchar_t* RebootCommand = L"shutdown.exe -r -t 00";
inline constexpr const wchar_t* ShutDownCommand = L"shutdown.exe -s -t 00";
inline constexpr const wchar_t* ControlPanelCommand = L"control.exe";

// How Sleep puts the machine to sleep. With Modern Standby and none of the
// S1 to S3 states SetSuspendState does nothing; turning the display off
// lets such a machine enter its standby. Where Windows does not say,
// SetSuspendState as ever.
enum class SleepPath { Suspend, DisplayOff };
SleepPath ChooseSleepPath(const std::optional<SleepStates>& states) noexcept;

bool MonitorOff(PowerRequests& requests);
bool MonitorOn(PowerRequests& requests);
bool ScreenSaver(PowerRequests& requests);
bool LockUser(PowerRequests& requests);
bool Sleep(PowerRequests& requests);
bool Hibernate(PowerRequests& requests);
// exitFlags are or-ed into every ExitWindowsEx flag word.
bool HybridShutDown(PowerRequests& requests, unsigned exitFlags);
bool LogOff(PowerRequests& requests, unsigned exitFlags);
bool Reboot(PowerRequests& requests, unsigned exitFlags);
bool ShutDown(PowerRequests& requests, unsigned exitFlags);
bool PowerOff(PowerRequests& requests, unsigned exitFlags);
bool ControlPanel(PowerRequests& requests);
// Locks the session, waits (for quiet input: the keys of a shortcut must
// not wake the screen again), then turns the monitor off. False when the
// lock was refused: then nothing else is asked and the monitor stays on.
bool LockMonitorOff(PowerRequests& requests, const std::function<void()>& wait);

}  // namespace power
}  // namespace corvello
