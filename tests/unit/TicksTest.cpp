#include "core/Ticks.h"

#include <gtest/gtest.h>

using corvello::TickDistance;

TEST(TickDistance, SurvivesTheCounterWrapping)
{
    EXPECT_EQ(TickDistance(1500, 500), 1000u);
    EXPECT_EQ(TickDistance(500, 1500), 1000u);  // a reading from "the future" counts as distance too
    EXPECT_EQ(TickDistance(99, 0xFFFFFFFFu - 900), 1000u);
    EXPECT_EQ(TickDistance(0x80000000u, 0), 0x80000000u);
}
