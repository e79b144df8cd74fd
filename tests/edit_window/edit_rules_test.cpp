// The edit window's plain rules where the window tests do not reach every case.
#include <gtest/gtest.h>

#include "edit_rules.h"

namespace {

using namespace editrules;

TEST(EditRules, ClockTextsOfSeconds)
{
    EXPECT_EQ(formatClock(0), "00:00:00");
    EXPECT_EQ(formatClock(3599), "00:59:59");
    EXPECT_EQ(formatClock(3600 * 27 + 61), "27:01:01");
    EXPECT_EQ(secondsOfClock(1, 2, 3), 3723);
}

TEST(EditRules, SizeTextsAreUpToFourDigits)
{
    EXPECT_EQ(parseSizeText("0640"), 640);
    EXPECT_EQ(parseSizeText("9999"), 9999);
    for (const char* refused : {"", "12345", "-1", "+1", "1 2", "12a", "1.5"}) {
        EXPECT_EQ(parseSizeText(refused), std::nullopt) << refused;
    }
}

TEST(EditRules, TheTrimSlidersKeepStartBeforeEnd)
{
    EXPECT_EQ(startSliderPlace(3, 5), 3);
    EXPECT_EQ(startSliderPlace(5, 5), 4);
    EXPECT_EQ(startSliderPlace(9, 5), 4);
    EXPECT_EQ(endSliderPlace(6, 5), 6);
    EXPECT_EQ(endSliderPlace(5, 5), 6);
    EXPECT_EQ(endSliderPlace(0, 5), 6);
}

TEST(EditRules, MarginsFitUpToTheSourceSideWithoutOverflow)
{
    EXPECT_TRUE(marginsFit(100, 220, 320));
    EXPECT_FALSE(marginsFit(100, 221, 320));
    EXPECT_FALSE(marginsFit(2'000'000'000, 2'000'000'000, 320));
}

TEST(EditRules, EffectSliderValuesAndVolumeWords)
{
    EXPECT_EQ(effectValueOfPosition(10), 0);
    EXPECT_EQ(effectValueOfPosition(0), -100);
    EXPECT_EQ(effectPositionOfValue(100), 20);
    EXPECT_EQ(effectPositionOfValue(-30), 7);
    EXPECT_EQ(volumeWord(255), 0x7FFFA3DCu);
    EXPECT_EQ(volumeWord(0), 0u);
    EXPECT_EQ(volumeWord(1020), static_cast<uint32_t>(1020ull * 8421412ull));  // wraps
}

TEST(EditRules, TheCombinedFlipState)
{
    EXPECT_EQ(flipStateCalls(false, false), std::vector<FlipCall>{FlipCall::NoFlip});
    EXPECT_EQ(flipStateCalls(true, false), std::vector<FlipCall>{FlipCall::VerticalFlip});
    EXPECT_EQ(flipStateCalls(false, true), std::vector<FlipCall>{FlipCall::HorizontalFlip});
    EXPECT_EQ(flipStateCalls(true, true), (std::vector<FlipCall>{FlipCall::VerticalFlip, FlipCall::HorizontalFlip}));
}

} // namespace
