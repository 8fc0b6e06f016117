// A timer of the user-interface thread: its handler runs from the message
// loop, like any message handler.
#pragma once

#include <windows.h>

#include <functional>

namespace tk {

class Timer {
public:
    explicit Timer(UINT interval = 1000, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    UINT Interval() const noexcept { return interval_; }
    void SetInterval(UINT interval);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);

    std::function<void(Timer& sender)> OnTimer;

private:
    void Restart();
    static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);

    UINT interval_;
    bool enabled_;
    UINT_PTR id_ = 0;
};

}  // namespace tk
