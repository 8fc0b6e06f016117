// One running copy per user: the instance mutex, and finding, activating and
// stopping the copy that runs already.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvello {

// The handle of the instance mutex; null until IsAnotherInstance made it.
HANDLE InstanceMutex();
// Releases and closes the instance mutex, if there is one.
void FreeInstanceMutex();

// True when another copy holds the instance (or is starting at this moment);
// otherwise this process takes the instance mutex.
bool IsAnotherInstance(bool useUserName, bool useExeName, const std::wstring& extra);
HWND FindInstanceWindow(const std::wstring& className, const std::wstring& title);
bool WindowExists(HWND window);
// Brings the running copy's window forward and asks it to show itself.
bool ActivateInstance(const std::wstring& className, const std::wstring& title);
// Asks the running copy to end and waits up to timeout ms for its window to go.
bool StopInstance(std::uint32_t timeout, const std::wstring& className, const std::wstring& title);

}  // namespace corvello
