// Cancelling at any point: the job returns 0 and the output it leaves decodes without errors.
#include "engine_job.h"
#include "ffprobe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <string>

namespace {

// Written by the test thread before the job, read by the engine on the same thread.
std::atomic<int> queriesLeft{0};

int32_t cancelAfterQueries()
{
    return queriesLeft.fetch_sub(1) <= 0 ? 1 : 0;
}

struct CancelCase {
    const char* format;
    int inputs;
};

TEST(Cancel, AtSeededPointsLeavesADecodableOutputAndReturnsZero)
{
    const std::string source = testsupport::fixture({.name = "cancel.mp4", .seconds = 4});
    const CancelCase cases[] = {{"avi", 1}, {"mp4", 2}, {"mp3", 1}, {"flv", 3}};
    std::mt19937 generator(16);
    ProgressSink sink{cancelAfterQueries, nullptr};
    ProgressSink* previous = setProgressHandle(&sink);
    int index = 0;
    for (const CancelCase& c : cases) {
        for (int point = 0; point < 3; ++point, ++index) {
            // About 100 queries per second of input, so the points fall across every input.
            int queries = 1 + static_cast<int>(generator() % (c.inputs * 400));
            SCOPED_TRACE(std::string(c.format) + " after " + std::to_string(queries) + " queries");
            const std::string output =
                testsupport::fixtureFolder().path("cancelled-" + std::to_string(index) + "." + c.format);
            testsupport::Job job(c.format, 0, output);
            if (std::string(c.format) != "mp3")
                job.group().frameSize = "160x120";
            for (int i = 0; i < c.inputs; ++i)
                job.addInput(source);
            queriesLeft = queries;
            EXPECT_EQ(job.run(), 0);
            // Cancelled before the first picture or sound there is nothing to keep.
            if (!std::filesystem::exists(output))
                continue;
            testsupport::ProbeResult probe = testsupport::probeMedia(output);
            ASSERT_TRUE(probe.ok) << probe.errors;
            EXPECT_FALSE(probe.streams.empty());
            EXPECT_EQ(testsupport::decodeErrors(output), "");
        }
    }
    setProgressHandle(previous);
}

} // namespace
