// corvello_spy.dll: a test's eyes inside the program under test. A test puts
// it there with a WH_GETMESSAGE hook on the program's thread (see
// e2e/ProgramSpy.h). Inside the program it records every message it watches
// (spy::Watched: WM_SYSCOMMAND and the requests of other copies) twice
// over: when the program takes it from its queue (the hook), and when the
// program hands it to the default handling (the program's import of
// DefWindowProcW is routed through here first). It also records what the
// program asks of Windows through a few more imports: the tray icon's tip
// and balloons, the power requests (looked up by name, so GetProcAddress is
// routed), the execution state, the entries of a popup menu as it opens; and
// an end of the session, which it keeps from Windows. The records go to the shared block the test made;
// without one the spy does nothing.
#include <windows.h>
#include <shellapi.h>

#include <iterator>

#include "e2e/SpyProtocol.h"

namespace {

using DefWindowProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
using NotifyIconFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
using ExecutionStateFn = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE);
using PowerCreateFn = HANDLE(WINAPI*)(void*);
using PowerRequestFn = BOOL(WINAPI*)(HANDLE, int);
using ExitWindowsFn = BOOL(WINAPI*)(UINT, DWORD);
using TrackPopupFn = BOOL(WINAPI*)(HMENU, UINT, int, int, HWND, LPTPMPARAMS);

DefWindowProcFn RealDefWindowProc = nullptr;
NotifyIconFn RealNotifyIcon = nullptr;
GetProcAddressFn RealGetProcAddress = nullptr;
ExecutionStateFn RealExecutionState = nullptr;
PowerCreateFn RealPowerCreate = nullptr;
PowerRequestFn RealPowerSet = nullptr;
PowerRequestFn RealPowerClear = nullptr;
TrackPopupFn RealTrackPopup = nullptr;
spy::Block* Shared = nullptr;

void NoteCall(spy::Call call, std::uint32_t flags, std::uint64_t value, const wchar_t* text)
{
    if (!Shared)
        return;
    const LONG index = ::InterlockedIncrement(&Shared->CallCount) - 1;
    if (index < 0 || index >= static_cast<LONG>(spy::CallCapacity))
        return;
    spy::CallEntry& entry = Shared->Calls[index];
    entry.Call = static_cast<std::uint32_t>(call);
    entry.Flags = flags;
    entry.Value = value;
    if (text)
        ::lstrcpynW(entry.Text, text, static_cast<int>(std::size(entry.Text)));
    ::InterlockedIncrement(&entry.Written);
}

BOOL WINAPI SpyNotifyIcon(DWORD command, PNOTIFYICONDATAW data)
{
    if (data) {
        const wchar_t* text = (data->uFlags & NIF_INFO) ? data->szInfo : (data->uFlags & NIF_TIP) ? data->szTip : nullptr;
        NoteCall(spy::Call::TrayIcon, command, data->uFlags, text);
    }
    return RealNotifyIcon(command, data);
}

EXECUTION_STATE WINAPI SpyExecutionState(EXECUTION_STATE state)
{
    NoteCall(spy::Call::ExecutionState, state, 0, nullptr);
    return RealExecutionState(state);
}

// REASON_CONTEXT with its simple string.
struct SimpleReason {
    ULONG Version;
    DWORD Flags;
    LPWSTR SimpleReasonString;
};

HANDLE WINAPI SpyPowerCreate(void* context)
{
    const HANDLE request = RealPowerCreate(context);
    const auto* reason = static_cast<const SimpleReason*>(context);
    NoteCall(spy::Call::PowerCreate, reason ? reason->Flags : 0, reinterpret_cast<std::uint64_t>(request),
             reason && (reason->Flags & 1) ? reason->SimpleReasonString : nullptr);
    return request;
}

BOOL WINAPI SpyPowerSet(HANDLE request, int type)
{
    NoteCall(spy::Call::PowerSet, static_cast<std::uint32_t>(type), reinterpret_cast<std::uint64_t>(request), nullptr);
    return RealPowerSet(request, type);
}

BOOL WINAPI SpyPowerClear(HANDLE request, int type)
{
    NoteCall(spy::Call::PowerClear, static_cast<std::uint32_t>(type), reinterpret_cast<std::uint64_t>(request),
             nullptr);
    return RealPowerClear(request, type);
}

BOOL WINAPI SpyExitWindows(UINT flags, DWORD)
{
    NoteCall(spy::Call::ExitWindows, flags, 0, nullptr);
    return TRUE;
}

void NoteMenu(HMENU menu, std::uint32_t depth)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        NoteCall(spy::Call::MenuEntry, depth, 0, text);
        if (const HMENU submenu = ::GetSubMenu(menu, i))
            NoteMenu(submenu, depth + 1);
    }
}

BOOL WINAPI SpyTrackPopup(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS parameters)
{
    NoteMenu(menu, 0);
    return RealTrackPopup(menu, flags, x, y, owner, parameters);
}

// The power requests come by name: the spy's own stand in for them.
FARPROC WINAPI SpyGetProcAddress(HMODULE module, LPCSTR name)
{
    const FARPROC real = RealGetProcAddress(module, name);
    if (!real || IS_INTRESOURCE(name))
        return real;
    const auto as = [](auto function) { return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function)); };
    if (::lstrcmpA(name, "PowerCreateRequest") == 0) {
        RealPowerCreate = reinterpret_cast<PowerCreateFn>(reinterpret_cast<void*>(real));
        return as(&SpyPowerCreate);
    }
    if (::lstrcmpA(name, "PowerSetRequest") == 0) {
        RealPowerSet = reinterpret_cast<PowerRequestFn>(reinterpret_cast<void*>(real));
        return as(&SpyPowerSet);
    }
    if (::lstrcmpA(name, "PowerClearRequest") == 0) {
        RealPowerClear = reinterpret_cast<PowerRequestFn>(reinterpret_cast<void*>(real));
        return as(&SpyPowerClear);
    }
    return real;
}

void Note(spy::Stage stage, const MSG& msg)
{
    if (!Shared)
        return;
    const LONG index = ::InterlockedIncrement(&Shared->Count) - 1;
    if (index < 0 || index >= static_cast<LONG>(spy::Capacity))
        return;
    spy::Entry& entry = Shared->Entries[index];
    entry.Stage = static_cast<std::uint32_t>(stage);
    entry.Message = msg.message;
    entry.Window = reinterpret_cast<std::uint64_t>(msg.hwnd);
    entry.WParam = static_cast<std::uint64_t>(msg.wParam);
    entry.LParam = static_cast<std::int64_t>(msg.lParam);
    entry.Time = static_cast<std::uint32_t>(msg.time);
    ::GetClassNameW(msg.hwnd, entry.ClassName, static_cast<int>(std::size(entry.ClassName)));
    ::InterlockedIncrement(&entry.Written);
}

LRESULT WINAPI SpyDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (spy::Watched(message))
        Note(spy::Stage::DefaultHandling, MSG{window, message, wParam, lParam, 0, {}});
    return RealDefWindowProc(window, message, wParam, lParam);
}

// Routes the program's own calls of one import through the spy; the real
// function, or null where the program does not import it.
void* RouteImport(const char* dll, const char* function, void* replacement)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return nullptr;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (::lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            DWORD old = 0;
            if (!::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                return nullptr;
            void* real = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return real;
        }
    }
    return nullptr;
}

template <typename Fn>
bool Route(const char* dll, const char* function, Fn replacement, Fn& real)
{
    real = reinterpret_cast<Fn>(RouteImport(dll, function, reinterpret_cast<void*>(replacement)));
    return real != nullptr;
}

void Attach(HINSTANCE self)
{
    // Only inside the program under test, which names itself in the block.
    const HANDLE mapping = ::OpenFileMappingW(FILE_MAP_WRITE | FILE_MAP_READ, FALSE, spy::BlockName);
    if (!mapping)
        return;
    auto* block = static_cast<spy::Block*>(::MapViewOfFile(mapping, FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, 0));
    ::CloseHandle(mapping);
    if (!block || block->ProcessId != ::GetCurrentProcessId()) {
        if (block)
            ::UnmapViewOfFile(block);
        return;
    }
    // Stays loaded when the hook goes: the rerouted import points here.
    HMODULE pinned = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(self), &pinned);
    Shared = block;
    ::InterlockedExchange(&Shared->Routed, Route("user32.dll", "DefWindowProcW", &SpyDefWindowProc, RealDefWindowProc));
    // The session's end is imported only once the program does something
    // about it; the others always.
    ExitWindowsFn realExit = nullptr;
    Route("user32.dll", "ExitWindowsEx", &SpyExitWindows, realExit);
    Route("user32.dll", "TrackPopupMenuEx", &SpyTrackPopup, RealTrackPopup);
    const bool calls = Route("shell32.dll", "Shell_NotifyIconW", &SpyNotifyIcon, RealNotifyIcon) &&
                       Route("kernel32.dll", "GetProcAddress", &SpyGetProcAddress, RealGetProcAddress) &&
                       Route("kernel32.dll", "SetThreadExecutionState", &SpyExecutionState, RealExecutionState);
    ::InterlockedExchange(&Shared->CallsRouted, calls ? 1 : 0);
    ::InterlockedExchange(&Shared->Attached, 1);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK SpyGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (spy::Watched(msg->message))
            Note(spy::Stage::Queue, *msg);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Brings the spy in with the first window the thread makes, before its
// first message: what a program does as it starts is seen too.
extern "C" __declspec(dllexport) LRESULT CALLBACK SpyCreateWindow(int code, WPARAM wParam, LPARAM lParam)
{
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Attach(self);
    return TRUE;
}
