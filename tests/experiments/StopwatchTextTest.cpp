// The stopwatch's display text.
#include <gtest/gtest.h>

#include "experiments/common/Stopwatch.h"

TEST(StopwatchTextTest, MinutesAndSecondsWithoutHours) {
    EXPECT_EQ(stopwatchText(0), "00:00");
    EXPECT_EQ(stopwatchText(999), "00:00");
    EXPECT_EQ(stopwatchText(75'000), "01:15");
    EXPECT_EQ(stopwatchText(3'600'000 + 61'000), "01:01");
}
