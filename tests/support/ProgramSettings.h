// Where the real program keeps its settings, and forgetting them.
#pragma once

#include <windows.h>

#include <string>

#include "core/RegistryLayout.h"
#include "support/RegistryTestSupport.h"
#include "toolkit/Registry.h"

namespace testsupport {

// The real program's settings key below HKEY_CURRENT_USER, and its main
// window's placement below that.
inline constexpr const wchar_t* ProgramSettingsKey = L"Software\\QUORVANT\\Corvello\\1.0";
inline constexpr const wchar_t* MainFormKey = L"Software\\QUORVANT\\Corvello\\1.0\\frmMain";

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
