// One running copy per user: the instance mutex, and finding, activating and
// stopping the copy that runs already.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/InstanceNames.h"
#include "core/Messages.h"

namespace corvello {

// The names of the mutexes by which copies of this program find each other:
// the user's name, this exe's file name (or, without it, the application's
// title) and the extra text, as IsAnotherInstance takes them.
InstanceNames ProgramInstanceNames(bool useUserName, bool useExeName, const std::wstring& extra);

// The handle of the instance mutex; null until IsAnotherInstance made it.
HANDLE InstanceMutex();
// Releases and closes the instance mutex, if there is one.
void FreeInstanceMutex();

// How long a start waits for the guard that another start holds; after that
// the instance mutex decides without it (logged).
inline constexpr std::uint32_t StartGuardWait = 1000;

// True when another copy holds the instance (or the instance mutex cannot be
// had at all); otherwise this process takes the instance mutex.
bool IsAnotherInstance(bool useUserName, bool useExeName, const std::wstring& extra);
// The top-level window of that class and title other than this process's
// application window; null when there is none.
HWND FindInstanceWindow(const std::wstring& className, const std::wstring& title);
bool WindowExists(HWND window);
// Brings the running copy's window forward and asks it to show itself,
// waiting up to timeout ms for its answer. The request is
// WM_INSTANCE_ACTIVATE, or another request to show something
// (WM_INSTANCE_OPTIONS). True once the copy took it; false when there is no
// window, the copy is on its way out (it answers so, or its window goes) or
// it hangs.
bool ActivateInstance(const std::wstring& className, const std::wstring& title,
                      UINT request = WM_INSTANCE_ACTIVATE, std::uint32_t timeout = 5000);

enum class StartOutcome {
    HandedOver,    // the running copy took the request
    TookInstance,  // the copy let go of the instance and this process holds it now
    StillHeld,     // the instance stayed held, with no window to take the request (logged)
};

// For a start that found the instance held (IsAnotherInstance true): hands
// the request to the running copy. A copy on its way out, or one that holds
// the instance with no window (ending, or still starting), is waited for up
// to timeout ms: once it lets go, this process takes the instance; once its
// window is there, it is handed the request.
StartOutcome HandOverOrTakeInstance(const std::wstring& className, const std::wstring& title, UINT request,
                                    std::uint32_t timeout);
// Asks the running copy to end: posts the stop to its window (also to one
// that appears during the wait) and waits up to timeout ms until the window
// has gone and no other process holds the instance mutex (the one of
// IsAnotherInstance(true, true, L"")). True at once when neither is there;
// false, logged, when the time is up first. The mutex held by the caller
// itself does not count.
bool StopInstance(std::uint32_t timeout, const std::wstring& className, const std::wstring& title);

// Waits up to timeout ms, asking nothing, until the copy's window has gone
// and no other process holds the instance; true once they have.
bool WaitForInstanceToEnd(std::uint32_t timeout, const std::wstring& className, const std::wstring& title);

// True while a thread other than the caller's holds the instance mutex (the
// one of IsAnotherInstance(true, true, L"")); the caller takes no part in it.
bool InstanceHeldElsewhere();

enum class HandOverResult {
    NoCopy,    // no copy runs: neither its window nor the instance is there
    Taken,     // the copy answered that it took the data
    Refused,   // the copy answered that it did not take it (logged)
    NotTaken,  // the copy did not answer within the time (logged)
};

// Hands data to the running copy's window as a WM_COPYDATA with the tag, and
// waits about timeout ms in all for its answer; a copy that holds the
// instance without its window yet is waited for within the same time. Only
// the answer `taken` counts as taken; any other answer is a refusal. The caller takes no instance mutex and
// makes no window.
HandOverResult HandOverToInstance(const std::wstring& className, const std::wstring& title, std::uintptr_t tag,
                                  const void* data, std::uint32_t size, LRESULT taken, std::uint32_t timeout);

}  // namespace corvello
