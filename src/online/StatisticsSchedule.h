// When the statistics pings of a run go out: "start" at the minute timer's
// first tick, "running" once more than a day and a random part of half a day
// have passed since the last ping. The window that owns the minute timer
// forwards its ticks here.
#pragma once

#include <cstdint>
#include <random>

#include "core/AppBase.h"

namespace corvello {

class StatisticsSchedule {
public:
    explicit StatisticsSchedule(AppBase& application);

    // The minute timer's interval, drawn once per run: one to five minutes,
    // so copies started together do not ping together.
    std::uint32_t TickInterval() const noexcept { return interval_; }
    // One tick of the minute timer.
    void Tick();

private:
    AppBase& application_;
    std::mt19937 random_;
    std::uint32_t interval_;
    bool first_ = true;
};

}  // namespace corvello
