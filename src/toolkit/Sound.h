// Short sounds, played without waiting: a wave file or a WAVE resource of
// the program. winmm.dll is loaded the first time, from the system directory
// only.
#pragma once

#include <string>

namespace tk {

// False when the file is missing or Windows could not start it.
bool PlayWaveFile(const std::wstring& path) noexcept;
bool PlayWaveResource(const wchar_t* name) noexcept;

}  // namespace tk
