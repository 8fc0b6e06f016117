// Owning wrappers for Windows handles. Each owner is move-only and releases its
// handle in the destructor; borrowed handles stay plain HANDLE/HWND/HKEY.
#pragma once

#include <windows.h>

#include <utility>

namespace tk {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) noexcept
    {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::IsValid(old))
            Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() noexcept { return nullptr; }
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

struct ModuleTraits {
    static HMODULE Invalid() noexcept { return nullptr; }
    static bool IsValid(HMODULE h) noexcept { return h != nullptr; }
    static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};

struct WindowTraits {
    static HWND Invalid() noexcept { return nullptr; }
    static bool IsValid(HWND h) noexcept { return h != nullptr; }
    static void Close(HWND h) noexcept { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;

struct MenuTraits {
    static HMENU Invalid() noexcept { return nullptr; }
    static bool IsValid(HMENU m) noexcept { return m != nullptr; }
    static void Close(HMENU m) noexcept { ::DestroyMenu(m); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

struct RegistryKeyTraits {
    static HKEY Invalid() noexcept { return nullptr; }
    static bool IsValid(HKEY h) noexcept { return h != nullptr; }
    static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};
using UniqueKey = UniqueHandle<HKEY, RegistryKeyTraits>;

// GDI objects: fonts, brushes, pens and bitmaps.
template <typename Object>
struct GdiObjectTraits {
    static Object Invalid() noexcept { return nullptr; }
    static bool IsValid(Object o) noexcept { return o != nullptr; }
    static void Close(Object o) noexcept { ::DeleteObject(o); }
};
using Font = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using Bitmap = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;

// A memory device context.
struct MemoryDcTraits {
    static HDC Invalid() noexcept { return nullptr; }
    static bool IsValid(HDC dc) noexcept { return dc != nullptr; }
    static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

// A DLL that is not imported statically: loaded from the system directory
// only, so a planted copy beside the program or in the current directory is
// never picked up.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) noexcept : module_(Load(name)) {}
    explicit operator bool() const noexcept { return static_cast<bool>(module_); }

    // The named export as a function pointer of type Fn, or nullptr.
    template <typename Fn>
    Fn Proc(const char* name) const noexcept
    {
        if (!module_)
            return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_.Get(), name)));
    }

private:
    static HMODULE Load(const wchar_t* name) noexcept
    {
        if (const HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
            return module;
        // Windows without the search flags (XP, Vista, a 7 without its
        // update): the full path into the system directory does the same.
        wchar_t path[MAX_PATH] = {};
        const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length + 2 + ::lstrlenW(name) >= MAX_PATH)
            return nullptr;
        ::lstrcatW(path, L"\\");
        ::lstrcatW(path, name);
        return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }

    UniqueHandle<HMODULE, ModuleTraits> module_;
};

}  // namespace tk
