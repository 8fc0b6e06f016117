// Where the real program keeps its settings, and forgetting them.
#pragma once

#include <windows.h>

#include <string>

#include "core/Identity.h"
#include "core/Product.h"
#include "core/RegistryLayout.h"
#include "support/RegistryTestSupport.h"
#include "toolkit/Registry.h"

namespace testsupport {

// The real program's settings key below HKEY_CURRENT_USER, composed as the
// program composes its own from its name and built-in version.
inline const std::wstring ProgramSettingsKey =
    corvello::ComposeSettingsKey(CORVELLO_WIDEN(CORVELLO_NAME), corvello::BuiltInVersion).substr(1);

// A subkey of the settings key: a form's own ("frmMain"), the shortcuts' or
// the lock keys'.
inline std::wstring ProgramSubkey(const wchar_t* name)
{
    return ProgramSettingsKey + L'\\' + name;
}

// The main window's placement.
inline const std::wstring MainFormKey = ProgramSubkey(L"frmMain");

// A window's rectangle as the program stores it: "left,top,width,height".
inline std::wstring BoundsText(const RECT& r)
{
    return std::to_wstring(r.left) + L',' + std::to_wstring(r.top) + L',' + std::to_wstring(r.right - r.left) + L',' +
           std::to_wstring(r.bottom - r.top);
}

// Nothing of the real program stored: no settings and no start-with-Windows
// entry. Tests of the program start and end with this.
inline void ForgetProgramSettings()
{
    tk::RegKey::DeleteTree(HKEY_CURRENT_USER, ProgramSettingsKey);
    DeleteValue(HKEY_CURRENT_USER, corvello::registry::RunKey, L"corvello.exe");
}

}  // namespace testsupport
