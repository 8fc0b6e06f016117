// Routines of the program that talk to Windows: its own file version, the
// user and computer names, the single-instance guard and instance control, the
// Windows version, waiting while messages flow, and running other programs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/Identity.h"
#include "core/Messages.h"
#include "core/WindowsVersion.h"

namespace corvello {

// Set once by InitAppUtils, before anything else runs.
extern bool IsWinNT;
extern bool IsWin95;
extern bool IsWin95OSR2;
extern bool IsWinVistaOrHigher;

// Fills the version flags and clears the instance mutex handle; the first
// thing the program does.
void InitAppUtils();

TWindowsVersion DetectWindowsVersion();
// 1 workstation, 2 server, 3 domain controller, 0 not readable.
int GetWindowsProductType();

// Reads a file's version resource. False, with the array untouched, when the
// file carries no readable version information.
bool GetFileVersion(const std::wstring& fileName, TVersionArray& version);
// The full path of the running executable.
std::wstring GetModulePath();

std::wstring GetCurrentUserName();
std::wstring GetCurrentComputerName();

// The handle of the instance mutex; null until IsAnotherInstance made it.
HANDLE InstanceMutex();
// Releases and closes the instance mutex, if there is one.
void FreeInstanceMutex();

bool IsAnotherInstance(bool useUserName, bool useExeName, const std::wstring& extra);
HWND FindInstanceWindow(const std::wstring& className, const std::wstring& title);
bool WindowExists(HWND window);
bool ActivateInstance(const std::wstring& className, const std::wstring& title);
bool StopInstance(std::uint32_t timeout, const std::wstring& className, const std::wstring& title);

// The local date and time. Tests put a clock of their own in its place.
using LocalClock = SYSTEMTIME (*)();
SYSTEMTIME LocalNow();
void SetLocalClock(LocalClock clock);
// Today's local date as "yyyy-mm-dd", whatever the user's locale.
std::wstring TodayIso();

// Flashes a window's caption and task-bar button count times, timeout ms apart.
bool WindowFlash(HWND window, UINT count, DWORD timeout);
// Where the flashing goes: FlashWindowEx, unless a test watches it.
using FlashWindowFn = BOOL(WINAPI*)(PFLASHWINFO);
void SetFlashWindowFn(FlashWindowFn fn);

// Waits while the program's messages keep flowing.
void Delay(std::uint32_t milliseconds);
// Starts a command line; with wait, returns the program's exit code, else 0.
std::uint32_t RunProcess(const std::wstring& commandLine, bool wait, bool show);
// Starts another copy of a program, shown, without arguments and without
// waiting. The path is quoted: unquoted, a path with blanks would start
// another program.
void StartProgramCopy(const std::wstring& exePath);
// The same for a Windows tool named by the command line's first word
// ("shutdown.exe -l"), started from the system directory with exactly that
// command line. A first word with a path in it is refused (0).
std::uint32_t RunSystemTool(const std::wstring& commandLine, bool wait, bool show);

}  // namespace corvello
