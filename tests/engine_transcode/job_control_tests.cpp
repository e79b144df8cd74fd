// Cancelling a conversion and the progress reports it posts, through the sink the program
// registers with setProgressHandle.
#include "transcode_support.h"
#include "window_message.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::fixture;
using testsupport::Job;

// What the cancel query answers: nonzero from its given call on; each call may take a while, to
// stretch a conversion over several progress reports.
struct CancelScript {
    int answerFromCall = -1; // -1: never
    std::chrono::milliseconds delay{0};
    int calls = 0;
};
CancelScript g_script;

int32_t scriptedCancel()
{
    ++g_script.calls;
    if (g_script.delay.count() > 0)
        std::this_thread::sleep_for(g_script.delay);
    return g_script.answerFromCall >= 0 && g_script.calls >= g_script.answerFromCall;
}

const std::string& fiveSecondClip()
{
    return fixture({.name = "five-seconds.mp4", .seconds = 5});
}

const std::string& tenSecondClip()
{
    return fixture({.name = "ten-seconds.mp4", .seconds = 10});
}

class WithSink : public ::testing::Test {
protected:
    void SetUp() override { g_script = {}; }
    void TearDown() override { setProgressHandle(nullptr); }
};

using Cancel = WithSink;

TEST_F(Cancel, BeforeTheStartWritesNothing)
{
    g_script.answerFromCall = 1;
    ProgressSink sink{scriptedCancel, nullptr};
    setProgressHandle(&sink);
    const std::string& source = fiveSecondClip();
    const std::string output = source + ".never.avi";
    Job job("avi", 0, output);
    job.addInput(source);
    EXPECT_EQ(job.run(), 0);
    EXPECT_GE(g_script.calls, 1);
    EXPECT_FALSE(transcode::fileExists(output));
}

struct MidwayCase {
    const char* name;
    int inputs;
};

// A cancel during the first input ends the job there: the output is finished and playable and
// holds what was converted so far.
TEST_F(Cancel, MidwayFinishesAShorterOutput)
{
    const std::string& source = fiveSecondClip();
    const MidwayCase cases[] = {{"one input", 1}, {"first of two inputs", 2}};
    for (const MidwayCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_script = {.answerFromCall = 120};
        ProgressSink sink{scriptedCancel, nullptr};
        setProgressHandle(&sink);
        const std::string output = source + ".cancelled." + std::to_string(c.inputs) + ".mp4";
        Job job("mp4", 0, output);
        job.group().frameSize = "160x120";
        for (int i = 0; i < c.inputs; ++i)
            job.addInput(source);
        ASSERT_EQ(job.run(), 0);

        testsupport::ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << "the output was finished: " << probe.errors;
        EXPECT_NE(probe.firstStream("video"), nullptr);
        EXPECT_NE(probe.firstStream("audio"), nullptr);
        testsupport::Decoded decoded = testsupport::decodeMedia(output);
        EXPECT_EQ(decoded.errors, "");
        EXPECT_GT(decoded.seconds, 0.5);
        EXPECT_LT(decoded.seconds, 4.0) << "shorter than the first input";
    }
}

struct Report {
    unsigned message;
    intptr_t lParam;
    std::chrono::steady_clock::time_point received;
    int frameNumber;
    double timeSeconds;
};

// The receiving window: keeps what each report said and releases the block, as the program does.
void receiveReport(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    auto* report = reinterpret_cast<ProgressReport*>(wParam);
    static_cast<std::vector<Report>*>(context)->push_back(
        {message, lParam, std::chrono::steady_clock::now(), report->frameNumber, report->timeSeconds});
    std::free(report);
}

class Progress : public WithSink {
protected:
    std::vector<Report> reports;
    MessageWindow window{receiveReport, &reports};
};

TEST_F(Progress, ReportsAtLeastHalfASecondApartWhileTheOutputGrows)
{
    const std::string& source = tenSecondClip();
    g_script.delay = std::chrono::milliseconds(3); // about 750 packets: well over two seconds
    ProgressSink sink{scriptedCancel, &window};
    setProgressHandle(&sink);
    Job job("avi", 0, source + ".avi");
    job.group().frameSize = "160x120";
    job.addInput(source);
    ASSERT_EQ(job.run(), 0);

    // Reports due before any output stream has a position (a slow machine, an instrumented
    // build) carry the engine's 10000000000 s, which the program leaves out.
    constexpr double kNoPositionYet = 1e10;
    size_t positioned = 0;
    while (positioned < reports.size() && reports[positioned].timeSeconds == kNoPositionYet)
        ++positioned;
    ASSERT_GE(reports.size() - positioned, 3u);
    for (size_t i = 0; i < reports.size(); ++i) {
        SCOPED_TRACE("report " + std::to_string(i));
        EXPECT_EQ(reports[i].message, static_cast<unsigned>(MSG_CONVERT_PROGRESS));
        EXPECT_EQ(reports[i].lParam, 0);
        if (i > 0) {
            EXPECT_GE(reports[i].received - reports[i - 1].received, std::chrono::milliseconds(490));
        }
        if (i < positioned)
            continue;
        EXPECT_GT(reports[i].timeSeconds, 0.0);
        EXPECT_LT(reports[i].timeSeconds, 10.5);
        if (i == positioned)
            continue;
        EXPECT_GT(reports[i].timeSeconds, reports[i - 1].timeSeconds);
        EXPECT_GT(reports[i].frameNumber, reports[i - 1].frameNumber);
    }
}

TEST_F(Progress, NothingIsPostedWithoutAWindow)
{
    const std::string& source = tenSecondClip();
    g_script.delay = std::chrono::milliseconds(3);
    ProgressSink watched{scriptedCancel, &window};
    setProgressHandle(&watched);
    ProgressSink unwatched{scriptedCancel, nullptr};
    setProgressHandle(&unwatched); // the latest sink counts
    Job job("avi", 0, source + ".unwatched.avi");
    job.group().frameSize = "160x120";
    job.addInput(source);
    ASSERT_EQ(job.run(), 0);
    EXPECT_TRUE(reports.empty());
    EXPECT_GT(g_script.calls, 500) << "the sink was asked before every packet";
}

} // namespace
