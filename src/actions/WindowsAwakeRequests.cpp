#include "actions/WindowsAwakeRequests.h"

#include <windows.h>

#include "toolkit/Log.h"

namespace corvello {
namespace {

// REASON_CONTEXT with a simple string, as PowerCreateRequest takes it.
struct SimpleReason {
    ULONG Version = 0;          // POWER_REQUEST_CONTEXT_VERSION
    DWORD Flags = 0x1;          // POWER_REQUEST_CONTEXT_SIMPLE_STRING
    LPWSTR SimpleReasonString;  // the union's first member
    void* Padding[3] = {};      // the union's detailed form is larger
};

using CreateFn = HANDLE(WINAPI*)(SimpleReason*);
using RequestFn = BOOL(WINAPI*)(HANDLE, int);

// Looked up by name: Windows XP and Vista have no such functions, and the
// program must load there.
template <typename Fn>
Fn Kernel32(const char* name) noexcept
{
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel, name))) : nullptr;
}

// POWER_REQUEST_TYPE: PowerRequestDisplayRequired 0, PowerRequestSystemRequired 1.
int RequestType(AwakeNeed need) noexcept
{
    return need == AwakeNeed::Display ? 0 : 1;
}

}  // namespace

std::uintptr_t WindowsAwakeRequests::CreateRequest(const std::wstring& reason)
{
    const auto create = Kernel32<CreateFn>("PowerCreateRequest");
    if (!create)
        return 0;
    std::wstring text = reason;
    SimpleReason context{};
    context.SimpleReasonString = text.data();
    const HANDLE request = create(&context);
    if (request == INVALID_HANDLE_VALUE || !request) {
        tk::LogLastError(L"PowerCreateRequest");
        return 0;
    }
    return reinterpret_cast<std::uintptr_t>(request);
}

bool WindowsAwakeRequests::SetRequest(std::uintptr_t request, AwakeNeed need)
{
    const auto set = Kernel32<RequestFn>("PowerSetRequest");
    if (set && set(reinterpret_cast<HANDLE>(request), RequestType(need)))
        return true;
    tk::LogLastError(L"PowerSetRequest");
    return false;
}

bool WindowsAwakeRequests::ClearRequest(std::uintptr_t request, AwakeNeed need)
{
    const auto clear = Kernel32<RequestFn>("PowerClearRequest");
    if (clear && clear(reinterpret_cast<HANDLE>(request), RequestType(need)))
        return true;
    tk::LogLastError(L"PowerClearRequest");
    return false;
}

void WindowsAwakeRequests::CloseRequest(std::uintptr_t request)
{
    ::CloseHandle(reinterpret_cast<HANDLE>(request));
}

bool WindowsAwakeRequests::SetExecutionState(bool system, bool display)
{
    EXECUTION_STATE state = ES_CONTINUOUS;
    if (system)
        state |= ES_SYSTEM_REQUIRED;
    if (display)
        state |= ES_DISPLAY_REQUIRED;
    if (::SetThreadExecutionState(state))
        return true;
    tk::LogLastError(L"SetThreadExecutionState");
    return false;
}

}  // namespace corvello
