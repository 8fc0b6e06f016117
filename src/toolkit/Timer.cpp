#include "toolkit/Timer.h"
#include "toolkit/Log.h"

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

Timer::Timer(UINT interval, bool enabled) : interval_(interval), enabled_(enabled)
{
    Restart();
}

Timer::~Timer()
{
    enabled_ = false;
    Restart();
}

void Timer::SetInterval(UINT interval)
{
    interval_ = interval;
    Restart();
}

void Timer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Restart();
}

void Timer::Restart()
{
    if (id_) {
        ::KillTimer(nullptr, id_);
        Timers().erase(id_);
        id_ = 0;
    }
    if (enabled_ && interval_ > 0) {
        id_ = ::SetTimer(nullptr, 0, interval_, &Timer::Proc);
        if (id_)
            Timers()[id_] = this;
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
        LogCurrentException(L"a timer's handler");
    }
}

}  // namespace tk
