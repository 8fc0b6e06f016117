// A hidden top-level window that hears what Windows tells every program:
// the program's own global hot keys, the computer going to sleep and
// resuming, the session being unlocked, a new task bar after Explorer
// restarted, and a change of the clock. Whichever loop dispatches them,
// they reach its handlers.
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

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UINT taskbarCreated_ = 0;
    bool sessionNotices_ = false;
    bool suspended_ = false;
};

}  // namespace tk
