#include "vkoMessageDll.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(ErrorTexts, EveryCatalogueCodeHasItsOwnSentence)
{
    const int codes[] = {0,  2,  3,  4,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 21, 23, 24, 26, 30, 31, 32, 33,
                         34, 35, 36, 38, 39, 41, 42, 43, 44, 45, 47, 48, 49, 50, 51, 55, 57, 58, 59, 60, 61, 62, 63,
                         64, 65, 66, 67, 68, 71, 72, 73, 74, 75, 76, 77, VKO_ERROR_INVALID_OPTION_VALUE,
                         VKO_ERROR_OUTPUT_IS_INPUT, VKO_ERROR_PATH_TOO_LONG, VKO_ERROR_NOTHING_CONVERTED,
                         VKO_ERROR_NO_SUCH_AUDIO_TRACK, VKO_ERROR_NO_SUCH_SUBTITLE_TRACK};
    std::vector<std::string> seen;
    for (int code : codes) {
        std::string text = getErrorInfo(code, 0, 1);
        EXPECT_GT(text.size(), 10u) << code;
        EXPECT_EQ(text.find("error " + std::to_string(code)), std::string::npos) << "generic text for " << code;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), text), 0) << "duplicate text for " << code;
        seen.push_back(text);
    }
}

TEST(ErrorTexts, UnknownCodeGetsAGenericSentenceWithItsNumber)
{
    EXPECT_STREQ(getErrorInfo(999, 0, 1), "The conversion failed (error 999).");
    EXPECT_STREQ(getErrorInfo(-5, 0, 1), "The conversion failed (error -5).");
}

TEST(LatestDetail, KeepsTheLastReportAndCutsToTheBuffer)
{
    updateErrorInfo(13, "File 'a.avi' already exists. Exiting.\n", 1);
    char detail[16];
    EXPECT_EQ(getLastErrorDetail(detail, sizeof detail), 13);
    EXPECT_STREQ(detail, "File 'a.avi' al");
    updateErrorInfo(7, nullptr, 1);
    EXPECT_EQ(getLastErrorDetail(detail, sizeof detail), 7);
    EXPECT_STREQ(detail, "");
    EXPECT_EQ(getLastErrorDetail(nullptr, 0), 7);
}

TEST(LatestDetail, ReportsFromAnotherThreadArriveWhole)
{
    std::thread reporter([] {
        for (int i = 0; i < 2000; ++i)
            updateErrorInfo(i % 2 ? 60 : 65, i % 2 ? "audio detail" : "video detail", 1);
    });
    for (int i = 0; i < 2000; ++i) {
        char detail[64];
        int code = getLastErrorDetail(detail, sizeof detail);
        if (code == 60) {
            EXPECT_STREQ(detail, "audio detail");
        } else if (code == 65) {
            EXPECT_STREQ(detail, "video detail");
        }
    }
    reporter.join();
}

} // namespace
