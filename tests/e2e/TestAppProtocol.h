// What the end-to-end tests and the test program agree on.
#pragma once

#include <windows.h>

namespace testapp {

inline constexpr const wchar_t* MainClass = L"TfrmTestMain";
// Sent to the main form: how often the window in lParam was flashed three
// times, 75 ms apart.
inline constexpr UINT AskFlashes = WM_APP + 77;

}  // namespace testapp
