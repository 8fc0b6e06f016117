// The keyboard requests as Windows carries them out.
#pragma once

#include "actions/KeyboardActions.h"

namespace corvello {

class WindowsKeyboardRequests final : public KeyboardRequests {
public:
    void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
    std::int16_t KeyState(std::uint8_t virtualKey) override;
    void Wait(std::uint32_t milliseconds) override;
    Handle OpenNamedWindowStation(const std::wstring& name, bool inherit, std::uint32_t access) override;
    bool SetProcessWindowStation(Handle station) override;
    Handle OpenNamedDesktop(const std::wstring& name, std::uint32_t flags, bool inherit, std::uint32_t access) override;
    bool SetThreadDesktop(Handle desktop) override;
    bool PostBroadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void LogCurrentException(const std::wstring& what) noexcept override;
};

}  // namespace corvello
