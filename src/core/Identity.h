// Identity of a settings-keeping object: version numbers, their text forms and
// the registry key composed from them. No Windows types here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Product.h"

namespace corvello {

// major, minor, release, build
using VersionArray = std::array<std::uint16_t, 4>;

inline constexpr VersionArray BuiltInVersion{CORVELLO_VERSION_MAJOR, CORVELLO_VERSION_MINOR,
                                              CORVELLO_VERSION_RELEASE, CORVELLO_VERSION_BUILD};

// HKEY_CURRENT_USER as its numeric handle value; the registry root of every
// identity in this program.
inline constexpr std::uint32_t RegistryRootCurrentUser = 0x80000001u;

// "1.2.0.21"
std::wstring VersionToText(const VersionArray& version);

// "Corvello (1.2.0.21)"
std::wstring ComposeFullName(const std::wstring& name, const std::wstring& version);

// "\Software\<maker>\<name>\<major>.0": only the major number takes part, so
// every 1.x release shares one key.
std::wstring ComposeSettingsKey(const std::wstring& name, const VersionArray& version);

// Fills the array from the two 32-bit words of a version resource.
VersionArray VersionFromWords(std::uint32_t mostSignificant, std::uint32_t leastSignificant);

// Splits a full path at its last backslash (or slash): directory with its
// trailing separator, and the file name with extension.
struct PathParts {
    std::wstring Directory;
    std::wstring FileName;
};
PathParts SplitPath(const std::wstring& fullPath);

// The path with its extension (the text after the last dot of the file name)
// replaced; a name without a dot gets the extension appended.
std::wstring ChangeFileExt(const std::wstring& path, const std::wstring& extension);

// Machine-and-user identifier: "DESK01-operator".
std::wstring ComposeHardware(const std::wstring& computerName, const std::wstring& userName);

// "yyyy-mm-dd", independent of the user's locale.
std::wstring FormatIsoDate(int year, int month, int day);

}  // namespace corvello
