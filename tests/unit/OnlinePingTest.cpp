#include "online/PingRules.h"

#include <gtest/gtest.h>

using namespace corvello;

namespace {

double At(int hour, int minute, int second = 0, int ms = 0, int day = 1)
{
    return EncodeDateTime(2013, 6, day, hour, minute, second, ms);
}

}  // namespace

TEST(OnlinePing, DateTimesCountDaysFromTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1, 18, 0, 0, 0), 2.75);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2013, 6, 1, 0, 0, 0, 0), 41426.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 2, 29, 12, 0, 0, 0), 36585.5);
    // Before the epoch the time of day still counts forward from midnight.
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
}

TEST(OnlinePing, WholeMinutesAreTruncatedAndSymmetric)
{
    struct Case {
        double A;
        double B;
        std::uint64_t Minutes;
    };
    const Case cases[] = {
        {At(10, 30), At(10, 0), 30},
        {At(10, 0), At(10, 30), 30},
        {At(10, 29, 59, 999), At(10, 0), 29},
        {At(10, 29), At(10, 0), 29},
        {At(0, 0, 0, 0, 2), At(23, 59, 0, 0, 1), 1},
        {At(10, 0), At(10, 0), 0},
        {At(10, 0, 59, 999), At(10, 0), 0},
        // Across midnight and over a day.
        {At(0, 10, 0, 0, 2), At(23, 50, 0, 0, 1), 20},
        {At(10, 0, 0, 0, 2), At(10, 0), 1440},
        // The last ping of none yet: the far past.
        {At(10, 0), 0.0, 41426ull * 1440 + 600},
        {EncodeDateTime(1899, 12, 29, 23, 30, 0, 0), EncodeDateTime(1899, 12, 30, 0, 15, 0, 0), 45},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WholeMinutesBetween(c.A, c.B), c.Minutes) << c.A << " " << c.B;
}

TEST(OnlinePing, ThirtyMinutesAreNeverReadAsTwentyNine)
{
    // Every start minute of a day, 30 minutes on: rounding to the millisecond
    // keeps the floating-point date-times from losing the last minute.
    for (int minute = 0; minute < 24 * 60 - 30; ++minute) {
        const double then = At(minute / 60, minute % 60);
        const double now = At((minute + 30) / 60, (minute + 30) % 60);
        ASSERT_EQ(WholeMinutesBetween(now, then), 30u) << minute;
    }
}

TEST(OnlinePing, GatesInTheirOrder)
{
    const double last = At(10, 0);
    struct Case {
        bool Online;
        bool Terminated;
        bool urgent;
        double Now;
        PingGate Expected;
    };
    const Case cases[] = {
        {true, false, false, At(10, 29), PingGate::TooSoon},
        {true, false, false, At(10, 29, 59, 999), PingGate::TooSoon},
        {true, false, false, At(10, 30), PingGate::Send},
        {true, false, true, At(10, 0), PingGate::Send},
        {true, false, true, At(10, 1), PingGate::Send},
        // The clock set back by 40 minutes counts 40 minutes.
        {true, false, false, At(9, 20), PingGate::Send},
        {true, false, false, At(9, 31), PingGate::TooSoon},
        {false, false, true, At(12, 0), PingGate::Offline},
        {false, true, true, At(12, 0), PingGate::Offline},
        {true, true, true, At(12, 0), PingGate::Terminated},
        {true, true, false, At(10, 1), PingGate::Terminated},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckPingGates(c.Online, c.Terminated, c.urgent, c.Now, last), c.Expected)
            << c.Online << c.Terminated << c.urgent << " " << c.Now;

    // No ping yet in this run: the first non-urgent one passes.
    EXPECT_EQ(CheckPingGates(true, false, false, At(10, 0), 0.0), PingGate::Send);
}

TEST(OnlinePing, ParamsCarryTheVersionAndTheExtras)
{
    EXPECT_EQ(ComposePingParams(L"1.2.0.21", L""), L"version=1.2.0.21");
    EXPECT_EQ(ComposePingParams(L"1.2.0.21", L"date=2013-06-01"), L"version=1.2.0.21&date=2013-06-01");
    EXPECT_EQ(ComposePingParams(L"1.2.0.21", L"id=100"), L"version=1.2.0.21&id=100");
    EXPECT_EQ(ComposePingParams(L"1.2.0.21", L"a b&c"), L"version=1.2.0.21&a b&c");
}
