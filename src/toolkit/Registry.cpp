#include "toolkit/Registry.h"

#include <vector>

#include "toolkit/Concat.h"
#include "toolkit/Log.h"

namespace tk {
namespace {

const wchar_t* Relative(const std::wstring& path) noexcept
{
    const wchar_t* p = path.c_str();
    while (*p == L'\\')
        ++p;
    return p;
}

}  // namespace

HKEY RootKey(std::uint32_t root) noexcept
{
    // Predefined keys are sign-extended 32-bit values on 64-bit Windows.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

RegKey RegKey::Open(HKEY root, const std::wstring& path, REGSAM access) noexcept
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, Relative(path), 0, access, &key) != ERROR_SUCCESS)
        return {};
    return RegKey(key);
}

RegKey RegKey::Create(HKEY root, const std::wstring& path, REGSAM access) noexcept
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, Relative(path), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return {};
    return RegKey(key);
}

LSTATUS DeleteKeyTreeByHand(HKEY root, const wchar_t* path) noexcept
{
    HKEY key = nullptr;
    LSTATUS status = ::RegOpenKeyExW(root, path, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | DELETE, &key);
    if (status != ERROR_SUCCESS)
        return status;
    const UniqueKey owned(key);
    // The first subkey again and again: each one goes before the next is read.
    for (;;) {
        wchar_t name[256] = {};
        DWORD length = 256;
        status = ::RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            return status;
        status = DeleteKeyTreeByHand(key, name);
        if (status != ERROR_SUCCESS)
            return status;
    }
    return ::RegDeleteKeyW(root, path);
}

bool RegKey::DeleteTree(HKEY root, const std::wstring& path) noexcept
{
    const wchar_t* relative = Relative(path);
    if (*relative == 0)
        return false;  // never the root itself
    // With a subkey named, RegDeleteTreeW removes that key itself as well.
    using TreeFn = LSTATUS(WINAPI*)(HKEY, LPCWSTR);
    static const auto deleteTree = reinterpret_cast<TreeFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"advapi32.dll"), "RegDeleteTreeW")));
    const LSTATUS status = deleteTree ? deleteTree(root, relative) : DeleteKeyTreeByHand(root, relative);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        return true;
    LogFailure(Concat({L"deleting the registry key ", path}), static_cast<unsigned long>(status));
    return false;
}

std::optional<std::wstring> RegKey::ReadString(const wchar_t* name, std::size_t maxChars) const
{
    if (!key_)
        return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key_.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes > (maxChars + 1) * sizeof(wchar_t))
        return std::nullopt;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    buffer.back() = L'\0';  // a stored string need not be terminated
    return std::wstring(buffer.data());
}

std::optional<std::uint32_t> RegKey::ReadDword(const wchar_t* name) const
{
    if (!key_)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof value;
    const LSTATUS status =
        ::RegQueryValueExW(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes);
    if (status != ERROR_SUCCESS || type != REG_DWORD || bytes != sizeof value)
        return std::nullopt;
    return value;
}

namespace {

bool Written(LSTATUS status, const wchar_t* name) noexcept
{
    if (status == ERROR_SUCCESS)
        return true;
    LogFailure(Concat({L"writing the registry value ", name ? name : L"(default)"}),
               static_cast<unsigned long>(status));
    return false;
}

}  // namespace

bool RegKey::HasValue(const wchar_t* name) const
{
    return key_ && ::RegQueryValueExW(key_.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<RegKey::RawValue> RegKey::ReadRaw(const wchar_t* name, std::size_t maxBytes) const
{
    if (!key_)
        return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key_.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || bytes > maxBytes)
        return std::nullopt;
    RawValue value;
    value.Data.resize(bytes);
    if (::RegQueryValueExW(key_.Get(), name, nullptr, &type, value.Data.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.Data.resize(bytes);
    value.Type = type;
    return value;
}

bool RegKey::WriteString(const wchar_t* name, const std::wstring& value) const noexcept
{
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return key_ && Written(::RegSetValueExW(key_.Get(), name, 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(value.c_str()), bytes),
                           name);
}

bool RegKey::WriteDword(const wchar_t* name, std::uint32_t value) const noexcept
{
    const DWORD data = value;
    return key_ &&
           Written(::RegSetValueExW(key_.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data),
                   name);
}

bool RegKey::DeleteValue(const wchar_t* name) const noexcept
{
    if (!key_)
        return false;
    const LSTATUS status = ::RegDeleteValueW(key_.Get(), name);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        return true;
    LogFailure(Concat({L"deleting the registry value ", name ? name : L"(default)"}),
               static_cast<unsigned long>(status));
    return false;
}

}  // namespace tk
