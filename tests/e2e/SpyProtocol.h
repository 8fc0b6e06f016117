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
// other copies.
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

struct Block {
    // The process the spy is to watch; elsewhere it stays idle.
    DWORD ProcessId;
    // Set by the spy once it is in place: loaded, and whether the import of
    // DefWindowProcW goes through it.
    LONG Attached;
    LONG Routed;
    LONG Count;
    Entry Entries[Capacity];
};

}  // namespace spy
