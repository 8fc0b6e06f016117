// The registry through one owning key type. Paths may carry a leading
// backslash; it is taken off before Windows sees them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>
#include <string>

#include "toolkit/Handles.h"

namespace tk {

// A predefined root given as its 32-bit value (HKEY_CURRENT_USER is 0x80000001).
HKEY RootKey(std::uint32_t root) noexcept;

class RegKey {
public:
    RegKey() noexcept = default;

    // Opens an existing key; an empty key when it does not exist or access is refused.
    static RegKey Open(HKEY root, const std::wstring& path, REGSAM access = KEY_READ) noexcept;
    // Opens the key, creating it and its parents when missing.
    static RegKey Create(HKEY root, const std::wstring& path, REGSAM access = KEY_READ | KEY_WRITE) noexcept;
    // Deletes a key with all its values and subkeys; a missing key is no error.
    static bool DeleteTree(HKEY root, const std::wstring& path) noexcept;

    explicit operator bool() const noexcept { return static_cast<bool>(key_); }
    HKEY Get() const noexcept { return key_.Get(); }

    // A REG_SZ or REG_EXPAND_SZ value of at most maxChars characters; nothing
    // when the value is missing, of another type or larger.
    std::optional<std::wstring> ReadString(const wchar_t* name, std::size_t maxChars = 4096) const;
    // A REG_DWORD value; nothing when it is missing or of another type or size.
    std::optional<std::uint32_t> ReadDword(const wchar_t* name) const;
    // Whether the value is there, whatever its type and content.
    bool HasValue(const wchar_t* name) const;
    // The value's type and bytes, up to maxBytes; nothing when it is missing
    // or larger.
    struct RawValue {
        DWORD Type = REG_NONE;
        std::vector<std::uint8_t> Data;
    };
    std::optional<RawValue> ReadRaw(const wchar_t* name, std::size_t maxBytes = 256) const;

    bool WriteString(const wchar_t* name, const std::wstring& value) const noexcept;
    bool WriteDword(const wchar_t* name, std::uint32_t value) const noexcept;
    // A missing value is no error.
    bool DeleteValue(const wchar_t* name) const noexcept;

private:
    explicit RegKey(HKEY key) noexcept : key_(key) {}

    UniqueKey key_;
};

// Deletes a key with everything below it one key at a time, as Windows before
// Vista must (it has no RegDeleteTreeW); DeleteTree falls back to it there.
LSTATUS DeleteKeyTreeByHand(HKEY root, const wchar_t* path) noexcept;

}  // namespace tk
