// The Windows version this copy runs on, read once at start-up.
#pragma once

#include "core/WindowsVersion.h"

namespace corvello {

// Set by DetectWindowsVersion, the first thing the program does.
extern bool IsWinNT;
extern bool IsWin95;
extern bool IsWin95OSR2;
extern bool IsWinVistaOrHigher;
// Windows 7 or later: what only these know
// (MOD_NOREPEAT, say) may be asked for.
extern bool IsWin7OrHigher;

// Reads the version from Windows, fills the flags above and returns it.
WindowsVersion DetectWindowsVersion();
// 1 workstation, 2 server, 3 domain controller, 0 not readable.
int GetWindowsProductType();

}  // namespace corvello
