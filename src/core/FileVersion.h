// The running program's path and a file's version resource.
#pragma once

#include <string>

#include "core/Identity.h"

namespace corvello {

// Reads a file's version resource. False, with the array untouched, when the
// file carries no readable version information.
bool GetFileVersion(const std::wstring& fileName, VersionArray& version);
// The full path of the running executable.
std::wstring GetModulePath();

}  // namespace corvello
