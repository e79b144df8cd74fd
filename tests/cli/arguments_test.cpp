// The command line's time forms, read without running a conversion.
#include "arguments.h"

#include <gtest/gtest.h>

namespace {

struct TimeCase {
    const char* text;
    std::optional<int64_t> milliseconds;
};

TEST(ClipwrightTimes, AcceptsSecondsAndClockFormsWithUpToThreeDecimals)
{
    const TimeCase cases[] = {
        {"90", 90000},
        {"0", 0},
        {"1.5", 1500},
        {"0.05", 50},
        {"2.250", 2250},
        {"1:30", 90000},
        {"1:30.5", 90500},
        {"00:01:02.250", 62250},
        {"01:00:00", 3600000},
        {"", std::nullopt},
        {".5", std::nullopt},
        {"1.", std::nullopt},
        {"1.2345", std::nullopt},
        {"1.5.2", std::nullopt},
        {"1,5", std::nullopt},
        {"-1", std::nullopt},
        {"1:99", std::nullopt},
        {"1:5", std::nullopt},
        {"00:01.5:02", std::nullopt},
        {"1:02:03:04", std::nullopt},
        {"1.5e3", std::nullopt},
        {"2147483648", std::nullopt},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(parseTime(c.text), c.milliseconds) << "'" << c.text << "'";
}

TEST(ClipwrightTimes, MessagesShowTheFractionWithoutTrailingZeros)
{
    EXPECT_EQ(timeText(3000), "3 s");
    EXPECT_EQ(timeText(2250), "2.25 s");
    EXPECT_EQ(timeText(50), "0.05 s");
    EXPECT_EQ(timeText(62001), "62.001 s");
}

} // namespace
