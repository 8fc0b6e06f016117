#include "core/Timings.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

using namespace corvello;

TEST(Timings, AListOnlyShortensWaitsItNamesExactly)
{
    struct Case {
        const wchar_t* List;
        Timing Which;
        std::uint32_t Expected;
    };
    const Case cases[] = {
        {L"", Timing::AboutPing, 10000},
        {L"AboutPing=500", Timing::AboutPing, 500},
        {L"StopWait=300,AboutPing=500", Timing::AboutPing, 500},
        {L"StopWait=300,AboutPing=500", Timing::StopWait, 300},
        {L"StopWait=300", Timing::StopModeWait, 5000},       // a name is matched whole
        {L"StopModeWait=300", Timing::StopWait, 3000},
        {L"AboutPing=20000", Timing::AboutPing, 10000},       // never longer
        {L"AboutPing=0", Timing::AboutPing, 10000},           // never none
        {L"AboutPing=-5", Timing::AboutPing, 10000},
        {L"AboutPing=5x", Timing::AboutPing, 10000},
        {L"AboutPing=", Timing::AboutPing, 10000},
        {L"AboutPing=99999999999999", Timing::AboutPing, 10000},
        {L"aboutping=500", Timing::AboutPing, 10000},
        {L"AboutPing 500", Timing::AboutPing, 10000},
        {L",,AboutPing=7,", Timing::AboutPing, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseTiming(c.List, c.Which), c.Expected) << std::string(c.List, c.List + std::wcslen(c.List));
    EXPECT_EQ(StandardTiming(Timing::HandOverWait), 5000u);
    EXPECT_EQ(StandardTiming(Timing::SessionEndForget), 10000u);
    // The end-to-end tests shorten these: here the program's own.
    EXPECT_EQ(StandardTiming(Timing::TimerCountdown), 30000u);
    EXPECT_EQ(StandardTiming(Timing::TimerWarning), 300000u);
}
