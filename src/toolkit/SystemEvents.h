// A hidden top-level window that hears what Windows tells every program:
// the program's own global hot keys, the computer going to sleep and
// resuming, the session being unlocked, a new task bar after Explorer
// restarted, a change of the clock, and a lock key let go in any program.
// Whichever loop dispatches them, they reach its handlers.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/Window.h"

namespace tk {

class SystemEvents : public Window {
public:
    SystemEvents();
    ~SystemEvents() override;

    // A hot key registered on this window (RegisterHotKey with Handle()).
    std::function<void(int id)> OnHotKey;
    std::function<void()> OnSuspend;
    // Once per resume, however many notices Windows sends for it.
    std::function<void()> OnResume;
    std::function<void()> OnSessionUnlock;
    std::function<void()> OnTaskbarCreated;
    std::function<void()> OnTimeChange;
    // Caps Lock, Num Lock or Scroll Lock (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL)
    // went up, pressed by the user or sent by any program, while
    // WatchLockKeys is on: whether the raw input names a device, and its
    // scan code. No other key is looked at.
    std::function<void(unsigned virtualKey, bool hasDevice, unsigned scanCode)> OnLockKeyUp;

    // Asks Windows for the keyboard's raw input, also while another program
    // has the foreground: no hook, and nothing happens while nothing is
    // typed. False where Windows refuses it (logged).
    bool WatchLockKeys();

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UINT taskbarCreated_ = 0;
    bool sessionNotices_ = false;
    bool suspended_ = false;
    bool watchingKeys_ = false;
};

}  // namespace tk
