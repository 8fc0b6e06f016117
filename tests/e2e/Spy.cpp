// corvello_spy.dll: a test's eyes inside the program under test. A test puts
// it there with a WH_GETMESSAGE hook on the program's thread (see
// e2e/ProgramSpy.h). Inside the program it records every message it watches
// (spy::Watched: WM_SYSCOMMAND and the requests of other copies) twice
// over: when the program takes it from its queue (the hook), and when the
// program hands it to the default handling (the program's import of
// DefWindowProcW is routed through here first). The records go to the shared
// block the test made; without one the spy does nothing.
#include <windows.h>

#include "e2e/SpyProtocol.h"

namespace {

using DefWindowProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

DefWindowProcFn RealDefWindowProc = nullptr;
spy::Block* Shared = nullptr;

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

// Routes the program's own calls of DefWindowProcW through the spy.
bool RouteDefWindowProc()
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return false;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "user32.dll") != 0 || !d->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (::lstrcmpA(reinterpret_cast<const char*>(byName->Name), "DefWindowProcW") != 0)
                continue;
            DWORD old = 0;
            if (!::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                return false;
            RealDefWindowProc = reinterpret_cast<DefWindowProcFn>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&SpyDefWindowProc);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return true;
        }
    }
    return false;
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
    ::InterlockedExchange(&Shared->Routed, RouteDefWindowProc() ? 1 : 0);
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

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Attach(self);
    return TRUE;
}
