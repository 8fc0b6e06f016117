#include "toolkit/Timer.h"
#include "toolkit/Log.h"

#include <algorithm>
#include <vector>

namespace tk {
namespace {

// Thread timers carry only their id: the running ones are found here by it.
std::vector<Timer*>& Timers()
{
    static std::vector<Timer*> timers;
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
        std::erase(Timers(), this);
        id_ = 0;
    }
    if (enabled_ && interval_ > 0) {
        id_ = ::SetTimer(nullptr, 0, interval_, &Timer::Proc);
        if (id_)
            Timers().push_back(this);
    }
}

void CALLBACK Timer::Proc(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto& timers = Timers();
    const auto it = std::find_if(timers.begin(), timers.end(), [id](const Timer* t) { return t->id_ == id; });
    if (it == timers.end())
        return;
    Timer* timer = *it;
    try {
        if (timer->OnTimer)
            timer->OnTimer(*timer);
    } catch (...) {
        // A timer's failure stays with it.
        LogCurrentException(L"a timer's handler");
    }
}

}  // namespace tk
