// The requests that keep the computer awake, as Windows carries them out:
// power requests from kernel32 where it has them (Windows 7 and later),
// looked up when first needed; the thread's execution state otherwise.
#pragma once

#include "actions/StayAwake.h"

namespace corvello {

class WindowsAwakeRequests final : public AwakeRequests {
public:
    std::uintptr_t CreateRequest(const std::wstring& reason) override;
    bool SetRequest(std::uintptr_t request, AwakeNeed need) override;
    bool ClearRequest(std::uintptr_t request, AwakeNeed need) override;
    void CloseRequest(std::uintptr_t request) override;
    bool SetExecutionState(bool system, bool display) override;
};

}  // namespace corvello
