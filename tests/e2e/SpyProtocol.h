// What corvello_spy.dll and the tests share: the block of records the spy
// fills inside the program under test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <iterator>

#include "core/Messages.h"

namespace spy {

inline constexpr const wchar_t* BlockName = L"CorvelloSpyRecords";
inline constexpr std::uint32_t Capacity = 64;

// What the spy records: system commands, hot keys, and the requests of
// other copies; and what the program asks of Windows through the imports it
// routes (the tray icon, power requests, the end of the session).
inline bool Watched(UINT message)
{
    return message == WM_SYSCOMMAND || message == WM_HOTKEY || message == corvello::WM_INSTANCE_ACTIVATE ||
           message == corvello::WM_INSTANCE_STOP;
}

enum class Stage : std::uint32_t {
    Queue = 1,            // the program took the message from its queue
    DefaultHandling = 2,  // the program handed it to DefWindowProcW
};

struct Entry {
    std::uint32_t Stage;
    std::uint32_t Message;
    std::uint64_t Window;
    std::uint64_t WParam;
    std::int64_t LParam;
    std::uint32_t Time;  // the message's time, for one taken from the queue
    wchar_t ClassName[32];
    // Set last: the entry is complete.
    LONG Written;
};

// A call the program made through an import the spy routes.
enum class Call : std::uint32_t {
    TrayIcon = 1,        // Shell_NotifyIconW: Flags the command (NIM_...), Value the flags (NIF_...), Text the
                         // tip (NIF_TIP) or the balloon (NIF_INFO)
    PowerCreate = 2,     // PowerCreateRequest: Text the reason, Value the request
    PowerSet = 3,        // PowerSetRequest: Value the request, Flags the type
    PowerClear = 4,      // PowerClearRequest: likewise
    ExecutionState = 5,  // SetThreadExecutionState: Flags the state
    ExitWindows = 6,     // ExitWindowsEx: Flags the flags. Recorded and not passed on: the session stays
    MenuEntry = 7,       // TrackPopupMenuEx: each entry of the menu as it opens, its submenus' after their
                         // own; Flags the depth (0 the menu's own), Text the entry's text
};

inline constexpr std::uint32_t CallCapacity = 256;

struct CallEntry {
    std::uint32_t Call;
    std::uint32_t Flags;
    std::uint64_t Value;
    wchar_t Text[128];
    // Set last: the entry is complete.
    LONG Written;
};

struct Block {
    // The process the spy is to watch; elsewhere it stays idle.
    DWORD ProcessId;
    // Set by the spy once it is in place: loaded, and whether the import of
    // DefWindowProcW goes through it.
    LONG Attached;
    LONG Routed;
    LONG Count;
    Entry Entries[Capacity];
    // Whether the other imports go through it, and what came through them.
    LONG CallsRouted;
    LONG CallCount;
    CallEntry Calls[CallCapacity];
};

}  // namespace spy
