#include "online/StatisticsSchedule.h"

#include <windows.h>

#include "core/Clock.h"
#include "core/DateTime.h"
#include "online/PingSchedule.h"

namespace corvello {
namespace {

constexpr std::uint32_t TickIntervalBase = 60000;
constexpr std::uint32_t TickIntervalSpread = 240000;

// Copies started together draw different intervals: the performance counter
// moves in well under a microsecond and each copy has its own process id.
std::uint32_t ClockSeed()
{
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 32)) ^ ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
}

}  // namespace

StatisticsSchedule::StatisticsSchedule(AppBase& application)
    : application_(application),
      random_(ClockSeed()),
      interval_(TickIntervalBase +
                std::uniform_int_distribution<std::uint32_t>(0, TickIntervalSpread - 1)(random_))
{
}

void StatisticsSchedule::Tick()
{
    const std::wstring date = L"date=" + TodayIso();
    if (first_) {
        first_ = false;
        application_.Ping(L"start", date, true);
    }
    const auto draw = std::uniform_int_distribution<std::uint32_t>(0, RunningThresholdSpread - 1)(random_);
    if (RunningPingDue(WholeMinutesBetween(LocalDateTimeNow(), application_.LastPing), draw))
        application_.Ping(L"running", date, false);
}

}  // namespace corvello
