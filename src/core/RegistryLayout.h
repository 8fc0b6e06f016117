// Where the program keeps what it keeps: value names below the settings key,
// the per-form subkeys, and the autorun entry. The one place these names live.
#pragma once

#include <cstddef>
#include <string>

#include "core/GeneralSettings.h"

namespace corvello::registry {

// Values of the settings key (its path comes from the identity): the run
// statistics, and the general settings (AutoRun, Online, Confirmations: their
// table, core/GeneralSettings.h).
inline constexpr const wchar_t* RunCount = L"RunCount";  // REG_DWORD
inline constexpr const wchar_t* RunFirst = L"RunFirst";  // REG_SZ, "yyyy-mm-dd"
inline constexpr const wchar_t* RunLast = L"RunLast";    // REG_SZ, "yyyy-mm-dd"

// A stored date longer than this is no date of ours and counts as not stored.
inline constexpr std::size_t MaxDateChars = 64;

// Values of a form's own key, a subkey of the settings key named after the form.
inline constexpr const wchar_t* Bounds = L"Bounds";            // REG_SZ, "left,top,width,height"
inline constexpr const wchar_t* WindowState = L"WindowState";  // REG_DWORD, 0 normal, 1 minimised, 2 maximised
inline constexpr const wchar_t* Visible = L"Visible";          // REG_DWORD, 0 or 1

// A subkey of the settings key: one REG_DWORD a keyboard shortcut, named
// after its action (the catalogue's name), the key in the low word and the
// modifiers in the high word.
inline constexpr const wchar_t* HotkeysKey = L"Hotkeys";

// A subkey of the settings key: the lock keys' notice, tray icons, sounds and
// policies (their values: actions/LockKeySettings.h).
inline constexpr const wchar_t* LockKeysKey = L"LockKeys";

// Below HKEY_CURRENT_USER, whatever the settings root: a value named after the
// executable's file name starts the program with Windows.
inline constexpr const wchar_t* RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// "\"C:\Tools\tool.exe\" -startup"
inline std::wstring AutorunCommand(const std::wstring& exePath)
{
    return L'"' + exePath + L"\" -startup";
}

}  // namespace corvello::registry
