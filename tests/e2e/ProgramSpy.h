// Puts corvello_spy.dll into a running program and reads what it records:
// the messages it watches (system commands, other copies' requests) that the
// program takes from its queue and those it hands to the default handling
// (e2e/Spy.cpp).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/SpyProtocol.h"
#include "support/ProgramUser.h"
#include "support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace testsupport {

struct SpiedCall {
    spy::Call Call;
    std::uint32_t Flags;
    std::uint64_t Value;
    std::wstring Text;
};

struct SpiedMessage {
    spy::Stage Stage;
    HWND Window;
    std::wstring ClassName;
    std::uint64_t WParam;
    std::int64_t LParam;
    std::uint32_t Time;
};

class ProgramSpy {
public:
    // window: a window of the thread to watch; returns once the spy is in.
    explicit ProgramSpy(HWND window) : ProgramSpy(ProcessOf(window), ::GetWindowThreadProcessId(window, nullptr))
    {
        // The hook brings the spy in with the next message the thread takes.
        if (hook_)
            WaitUntil(
                [&] {
                    ::PostMessageW(window, WM_NULL, 0, 0);
                    return ::InterlockedCompareExchange(&block_->Attached, 0, 0) != 0;
                },
                10000);
    }
    // A thread that has not run yet (a program started suspended): the spy
    // comes in with the first window the thread makes, or the first message
    // it takes from its queue.
    ProgramSpy(DWORD processId, DWORD threadId)
    {
        mapping_.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(spy::Block),
                                            spy::BlockName));
        if (!mapping_)
            return;
        block_ = static_cast<spy::Block*>(::MapViewOfFile(mapping_.Get(), FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, 0));
        if (!block_)
            return;
        *block_ = spy::Block{};
        block_->ProcessId = processId;
        library_ = ::LoadLibraryW((BinDir() + L"corvello_spy.dll").c_str());
        const FARPROC found = library_ ? ::GetProcAddress(library_, "SpyGetMessage") : nullptr;
        const auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found));
        if (proc)
            hook_ = ::SetWindowsHookExW(WH_GETMESSAGE, proc, library_, threadId);
        const FARPROC creating = library_ ? ::GetProcAddress(library_, "SpyCreateWindow") : nullptr;
        if (creating)
            creationHook_ = ::SetWindowsHookExW(
                WH_CBT, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(creating)), library_, threadId);
    }
    ~ProgramSpy()
    {
        if (hook_)
            ::UnhookWindowsHookEx(hook_);
        if (creationHook_)
            ::UnhookWindowsHookEx(creationHook_);
        if (block_)
            ::UnmapViewOfFile(block_);
        if (library_)
            ::FreeLibrary(library_);
    }
    ProgramSpy(const ProgramSpy&) = delete;
    ProgramSpy& operator=(const ProgramSpy&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    // In place: loaded into the program, with DefWindowProcW routed through it.
    bool InPlace() const { return block_ && block_->Attached && block_->Routed; }

    std::vector<SpiedMessage> SystemCommands() const { return Messages(WM_SYSCOMMAND); }

    // The tray icon, the power requests and the session's end go through it.
    bool CallsInPlace() const { return block_ && block_->Attached && block_->CallsRouted; }

    // What the program asked of Windows through the routed imports, in
    // order.
    std::vector<SpiedCall> AllCalls() const
    {
        std::vector<SpiedCall> seen;
        if (!block_)
            return seen;
        const LONG count = std::min<LONG>(block_->CallCount, static_cast<LONG>(spy::CallCapacity));
        for (LONG i = 0; i < count; ++i) {
            const spy::CallEntry& entry = block_->Calls[i];
            if (entry.Written)
                seen.push_back({static_cast<spy::Call>(entry.Call), entry.Flags, entry.Value, entry.Text});
        }
        return seen;
    }
    std::vector<SpiedCall> Calls(spy::Call call) const
    {
        std::vector<SpiedCall> seen;
        for (SpiedCall& entry : AllCalls())
            if (entry.Call == call)
                seen.push_back(std::move(entry));
        return seen;
    }

    // The tray tip the program gave the shell last; empty for none yet.
    std::wstring LastTip() const
    {
        std::wstring tip;
        for (const SpiedCall& call : Calls(spy::Call::TrayIcon))
            if ((call.Value & NIF_TIP) && call.Flags != NIM_DELETE)
                tip = call.Text;
        return tip;
    }

    // The balloons the program showed at its tray icon, in order.
    std::vector<std::wstring> Balloons() const
    {
        std::vector<std::wstring> balloons;
        for (const SpiedCall& call : Calls(spy::Call::TrayIcon))
            if (call.Value & NIF_INFO)
                balloons.push_back(call.Text);
        return balloons;
    }

    // The entries of the popup menus the program opened, in order, each
    // submenu's after its own entry; a separator's is empty.
    std::vector<std::wstring> MenuEntries() const
    {
        std::vector<std::wstring> entries;
        for (const SpiedCall& call : Calls(spy::Call::MenuEntry))
            entries.push_back(call.Text);
        return entries;
    }

    // What the spy recorded of one of the messages it watches.
    std::vector<SpiedMessage> Messages(UINT message) const
    {
        std::vector<SpiedMessage> seen;
        if (!block_)
            return seen;
        const LONG count = std::min<LONG>(block_->Count, static_cast<LONG>(spy::Capacity));
        for (LONG i = 0; i < count; ++i) {
            const spy::Entry& entry = block_->Entries[i];
            if (!entry.Written || entry.Message != message)
                continue;
            seen.push_back({static_cast<spy::Stage>(entry.Stage), reinterpret_cast<HWND>(entry.Window),
                            entry.ClassName, entry.WParam, entry.LParam, entry.Time});
        }
        return seen;
    }

private:
    tk::KernelHandle mapping_;
    spy::Block* block_ = nullptr;
    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
    HHOOK creationHook_ = nullptr;
};

}  // namespace testsupport
