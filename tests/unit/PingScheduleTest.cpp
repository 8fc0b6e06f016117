#include "online/PingSchedule.h"

#include <gtest/gtest.h>

#include "core/DateTime.h"

using namespace corvello;

TEST(PingSchedule, RunningGoesOutOnlyStrictlyAfterTheDrawnThreshold)
{
    // After a ping at 10:00 one day: whole minutes to a tick on the next.
    const double lastPing = EncodeDateTime(2026, 3, 9, 10, 0, 0, 0);
    const auto minutesTo = [&](int day, int hour, int minute) {
        return WholeMinutesBetween(EncodeDateTime(2026, 3, day, hour, minute, 0, 0), lastPing);
    };
    struct Case {
        const char* What;
        std::uint64_t Minutes;
        std::uint32_t Draw;
        bool Due;
    };
    const Case cases[] = {
        {"a day to the minute, the smallest draw", minutesTo(10, 10, 0), 0, false},
        {"a day and a minute, the smallest draw", minutesTo(10, 10, 1), 0, true},
        {"a day and a minute, any larger draw", minutesTo(10, 10, 1), 1, false},
        {"a day and a half less a minute, the largest draw", minutesTo(10, 21, 59), 719, false},
        {"a day and a half, the largest draw", minutesTo(10, 22, 0), 719, true},
        {"no ping yet", WholeMinutesBetween(EncodeDateTime(2026, 3, 10, 10, 0, 0, 0), 0), 719, true},
        {"just after a ping", 0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunningPingDue(c.Minutes, c.Draw), c.Due) << c.What;
    EXPECT_EQ(RunningThresholdBase + RunningThresholdSpread - 1, 2159u);
}
