// Reading and planting registry values exactly as stored, types included.
#pragma once

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Registry.h"

namespace testsupport {

struct StoredValue {
    DWORD Type = REG_NONE;
    std::vector<BYTE> data;

    std::optional<DWORD> Dword() const
    {
        if (Type != REG_DWORD || data.size() != sizeof(DWORD))
            return std::nullopt;
        DWORD value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return value;
    }
    std::optional<std::wstring> Sz() const
    {
        if (Type != REG_SZ)
            return std::nullopt;
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return text;
    }
};

inline std::optional<StoredValue> ReadValue(HKEY root, const std::wstring& path, const wchar_t* name)
{
    const auto key = tk::RegKey::Open(root, path);
    if (!key)
        return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    StoredValue value{type, std::vector<BYTE>(bytes)};
    if (::RegQueryValueExW(key.Get(), name, nullptr, &type, value.data.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(bytes);
    return value;
}

inline std::optional<DWORD> StoredDword(HKEY root, const std::wstring& path, const wchar_t* name)
{
    const auto v = ReadValue(root, path, name);
    return v ? v->Dword() : std::nullopt;
}

inline std::optional<std::wstring> StoredSz(HKEY root, const std::wstring& path, const wchar_t* name)
{
    const auto v = ReadValue(root, path, name);
    return v ? v->Sz() : std::nullopt;
}

inline void WriteValue(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                       std::size_t bytes)
{
    const auto key = tk::RegKey::Create(root, path);
    ::RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
}

inline void WriteDword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value)
{
    WriteValue(root, path, name, REG_DWORD, &value, sizeof value);
}

inline void WriteSz(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text)
{
    WriteValue(root, path, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

inline void DeleteValue(HKEY root, const std::wstring& path, const wchar_t* name)
{
    const auto key = tk::RegKey::Open(root, path, KEY_SET_VALUE);
    ::RegDeleteValueW(key.Get(), name);
}

}  // namespace testsupport
