// The power requests as Windows carries them out.
#pragma once

#include "actions/PowerActions.h"

namespace corvello {

class WindowsPowerRequests final : public PowerRequests {
public:
    bool PostToProgramWindow(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool LockWorkStation() override;
    bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) override;
    bool IsPwrHibernateAllowed() override;
    bool ExitWindowsEx(unsigned flags, unsigned long reason) override;
    std::uint32_t RunSystemTool(const std::wstring& commandLine, bool wait, bool show) override;
    std::optional<SleepStates> SleepCapabilities() override;
};

}  // namespace corvello
