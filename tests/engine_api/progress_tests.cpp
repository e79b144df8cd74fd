#include "progress.h"
#include "window_message.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace engine;

namespace {

TEST(ProgressThrottle, FirstCallDeclinesThenHalfSecondSpacing)
{
    ProgressThrottle throttle;
    struct {
        int64_t now;
        bool due;
    } calls[] = {{1000000, false}, {1400000, false}, {1499999, false}, {1500000, true},
                 {1600000, false}, {1999999, false}, {2000000, true},  {9000000, true}};
    for (const auto& call : calls)
        EXPECT_EQ(throttle.due(call.now), call.due) << call.now;
}

TEST(ProgressReport, FilledFromTheFigures)
{
    ProgressReport report{};
    fillProgressReport(report, {.frameNumber = 25, .elapsedSeconds = 2.0, .quality = 2.0, .hasVideo = true,
                                .bytesWritten = 10240, .timeSeconds = 2.0});
    EXPECT_EQ(report.frameNumber, 25);
    EXPECT_EQ(report.fps, 13) << "12.5 rounds half up";
    EXPECT_DOUBLE_EQ(report.sizeKB, 10.0);
    EXPECT_DOUBLE_EQ(report.bitrateKbps, 40.96);
    EXPECT_DOUBLE_EQ(report.timeSeconds, 2.0);
    EXPECT_STREQ(report.text, "frame=25 fps=13 q=2.0 size=10kB time=2.0 bitrate=41.0kbits/s");

    fillProgressReport(report, {.frameNumber = 10, .elapsedSeconds = 0.9, .bytesWritten = 2048, .timeSeconds = 1.0,
                                .duplicated = 3, .dropped = 1, .verbose = true});
    EXPECT_EQ(report.fps, 0) << "no rate before one second has passed";
    EXPECT_STREQ(report.text, "size=2kB time=1.0 bitrate=16.4kbits/s dup=3 drop=1");
}

struct Posted {
    unsigned message;
    std::chrono::steady_clock::time_point when;
    double timeSeconds;
};

void recordPost(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    auto* posted = static_cast<std::vector<Posted>*>(context);
    auto* report = reinterpret_cast<ProgressReport*>(wParam);
    posted->push_back({message, std::chrono::steady_clock::now(), report->timeSeconds});
    EXPECT_EQ(lParam, 0);
    std::free(report); // the receiver owns the block
}

class ProgressPosting : public ::testing::Test {
protected:
    void TearDown() override { setProgressHandle(nullptr); }
    std::vector<Posted> posted;
    MessageWindow window{recordPost, &posted};
};

TEST_F(ProgressPosting, NeverCloserThanHalfASecondAndNotOnTheFirstCall)
{
    ProgressSink sink{nullptr, &window};
    setProgressHandle(&sink);
    auto start = std::chrono::steady_clock::now();
    int calls = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1300)) {
        reportProgressIfDue(processProgressPort(), [&] { return ProgressFigures{.timeSeconds = 1.5}; });
        if (++calls == 1) {
            EXPECT_TRUE(posted.empty()) << "the first call of the process only starts the clock";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_GE(posted.size(), 1u);
    ASSERT_LE(posted.size(), 3u);
    for (size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i].message, static_cast<unsigned>(MSG_CONVERT_PROGRESS));
        EXPECT_DOUBLE_EQ(posted[i].timeSeconds, 1.5);
        if (i > 0) {
            EXPECT_GE(posted[i].when - posted[i - 1].when, std::chrono::milliseconds(490));
        }
    }
}

TEST_F(ProgressPosting, NothingWithoutAWindow)
{
    ProgressSink sink{nullptr, nullptr};
    setProgressHandle(&sink);
    EXPECT_FALSE(progressWindowSet());
    setProgressHandle(nullptr);
    EXPECT_FALSE(progressWindowSet());
    ProgressSink withWindow{nullptr, &window};
    setProgressHandle(&withWindow);
    EXPECT_TRUE(progressWindowSet());
}

int32_t g_cancelAnswer = 0;
int32_t answerCancel()
{
    return g_cancelAnswer;
}

TEST(CancelQuery, AsksTheSinkWhenOneIsSet)
{
    EXPECT_FALSE(cancelRequested()) << "no sink";
    ProgressSink withoutQuery{nullptr, nullptr};
    setProgressHandle(&withoutQuery);
    EXPECT_FALSE(cancelRequested());
    ProgressSink sink{answerCancel, nullptr};
    EXPECT_EQ(setProgressHandle(&sink), &sink);
    g_cancelAnswer = 0;
    EXPECT_FALSE(cancelRequested());
    g_cancelAnswer = 7;
    EXPECT_TRUE(cancelRequested());
    setProgressHandle(nullptr);
}

TEST(PreviewFlag, StoredAndReturned)
{
    EXPECT_EQ(setUsingPreview(1), 1);
    EXPECT_TRUE(previewEnabled());
    EXPECT_EQ(setUsingPreview(0), 0);
    EXPECT_FALSE(previewEnabled());
}

} // namespace
