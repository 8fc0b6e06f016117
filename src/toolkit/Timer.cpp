#include "toolkit/Timer.h"

#include <unordered_map>

namespace tk {
namespace {

// Thread timers carry only their id: this finds the object.
std::unordered_map<UINT_PTR, Timer*>& Timers()
{
    static std::unordered_map<UINT_PTR, Timer*> timers;
    return timers;
}

}  // namespace

Timer::Timer(UINT interval, bool enabled) : FInterval(interval), FEnabled(enabled)
{
    Restart();
}

Timer::~Timer()
{
    FEnabled = false;
    Restart();
}

void Timer::SetInterval(UINT interval)
{
    FInterval = interval;
    Restart();
}

void Timer::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    Restart();
}

void Timer::Restart()
{
    if (FId) {
        ::KillTimer(nullptr, FId);
        Timers().erase(FId);
        FId = 0;
    }
    if (FEnabled && FInterval > 0) {
        FId = ::SetTimer(nullptr, 0, FInterval, &Timer::Proc);
        if (FId)
            Timers()[FId] = this;
    }
}

void CALLBACK Timer::Proc(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto it = Timers().find(id);
    if (it == Timers().end())
        return;
    Timer* timer = it->second;
    try {
        if (timer->OnTimer)
            timer->OnTimer(*timer);
    } catch (...) {
        // A timer's failure stays with it.
    }
}

}  // namespace tk
