// The same conversion with one thread (CLIPWRIGHT_THREADS=1) and with FFmpeg's automatic thread
// count: as many pictures, the same durations, and first and last pictures that agree closely.
// Threaded decoders and encoders hand their frames out late, so this also shows that the
// delayed frames are drained at the end of every input and of the job, and that trims stay exact.
// With effects, automatic threads encode each picture while the next one's effects run, so the
// last picture of each input must still be encoded before the next input starts.
#include "transcode_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>

namespace {

using testsupport::fixture;
using testsupport::Job;

const std::string& source()
{
    return fixture({.name = "threads.mp4", .seconds = 4, .width = 320, .height = 240, .videoSource = "testsrc2"});
}

struct ThreadCase {
    const char* name;
    const char* format;
    int firstStart;    // trim of the first input, whole seconds
    int firstDuration; // 0: to the end
    bool secondInput;  // the whole clip joined after the first input
    bool effects;      // old look, mirrored and upside down
};

void PrintTo(const ThreadCase& testCase, std::ostream* out) { *out << testCase.name; }

void fill(Job& job, const ThreadCase& c)
{
    job.group().frameSize = "320x240";
    MediaUIOption& first = job.addInput(source());
    first.startSeconds = c.firstStart;
    first.durationSeconds = c.firstDuration;
    if (c.effects)
        testsupport::setPictureEffects(first, {.verticalFlip = 1, .horizontalFlip = 1, .pictureEffect = 3});
    if (c.secondInput)
        job.addInput(source());
}

// Converts with CLIPWRIGHT_THREADS set to threads, or unset when threads is null.
std::string convert(const ThreadCase& c, const char* threads)
{
    std::string output = source() + "." + c.name + "." + (threads ? threads : "auto") + "." + c.format;
    if (threads)
        setenv("CLIPWRIGHT_THREADS", threads, 1);
    else
        unsetenv("CLIPWRIGHT_THREADS");
    Job job(c.format, 0, output);
    fill(job, c);
    EXPECT_EQ(job.run(), 0);
    unsetenv("CLIPWRIGHT_THREADS");
    return output;
}

// Peak signal-to-noise ratio of two pictures of equal size, in dB; infinite when equal.
double psnr(const std::string& a, const std::string& b)
{
    EXPECT_EQ(a.size(), b.size());
    if (a.size() != b.size() || a.empty())
        return 0;
    double squares = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        double d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
        squares += d * d;
    }
    if (squares == 0)
        return std::numeric_limits<double>::infinity();
    return 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / squares);
}

std::string firstPicture(const std::string& path) { return testsupport::decodeRawPicture(path, "rgb24"); }

std::string lastPicture(const std::string& path)
{
    return testsupport::decodeRawPicture(path, "rgb24", "", "-vf reverse");
}

double streamDuration(const testsupport::ProbeResult& probe, const char* type)
{
    const testsupport::ProbeFields* stream = probe.firstStream(type);
    return stream ? stream->real("duration") : -1;
}

class ThreadCount : public testing::TestWithParam<ThreadCase> {};

TEST_P(ThreadCount, AutomaticThreadsGiveTheOutputOfOneThread)
{
    const ThreadCase& c = GetParam();
    std::string single = convert(c, "1");
    std::string automatic = convert(c, nullptr);

    long long frames = testsupport::countVideoFrames(single);
    EXPECT_GT(frames, 25);
    EXPECT_EQ(testsupport::countVideoFrames(automatic), frames);
    testsupport::ProbeResult one = testsupport::probeMedia(single);
    testsupport::ProbeResult all = testsupport::probeMedia(automatic);
    ASSERT_TRUE(one.ok && all.ok);
    EXPECT_NEAR(all.duration(), one.duration(), 0.001);
    for (const char* type : {"video", "audio"})
        EXPECT_NEAR(streamDuration(all, type), streamDuration(one, type), 0.001) << type;
    EXPECT_GT(psnr(firstPicture(automatic), firstPicture(single)), 35.0);
    EXPECT_GT(psnr(lastPicture(automatic), lastPicture(single)), 35.0);
}

INSTANTIATE_TEST_SUITE_P(Conversions, ThreadCount,
                         testing::Values(ThreadCase{"mp4_whole", "mp4", 0, 0, false, false},
                                         ThreadCase{"avi_trimmed", "avi", 1, 2, false, false},
                                         ThreadCase{"mp4_trimmed_then_whole", "mp4", 1, 2, true, false},
                                         ThreadCase{"avi_old_flipped", "avi", 0, 0, false, true},
                                         ThreadCase{"mp4_old_flipped_trimmed_then_whole", "mp4", 1, 2, true, true}),
                         [](const testing::TestParamInfo<ThreadCase>& testCase) { return testCase.param.name; });

} // namespace
