// The standard dialog that chooses a file to open. comdlg32.dll is loaded
// the first time, from the system directory only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tk {

// filter: pairs of a description and its patterns, each ended by '\0'
// ("Sounds (*.wav)\0*.wav\0"). Nothing when the user cancels.
std::optional<std::wstring> ChooseFileToOpen(HWND owner, const std::wstring& filter, const std::wstring& current);

}  // namespace tk
