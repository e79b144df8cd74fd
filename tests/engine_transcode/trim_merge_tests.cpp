// Trimmed and joined inputs: where the output starts, how long it is, and how the inputs follow
// one another, seen in the pictures and the sound of the output.
#include "transcode_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using testsupport::fixture;
using testsupport::Job;
using transcode::Picture;

constexpr double kLumaTolerance = 4.0; // about half a second of the time-coded clip

// Output options that keep the conversions small: the source's own size.
constexpr const char* kSmallFrame = "160x120";

struct TrimCase {
    const char* name;
    int startSeconds;
    int durationSeconds;
    double expectedStart;  // source time of the first output picture
    double expectedLength; // seconds
};

TEST(Trim, OutputStartsAtTheTrimStartAndLastsTheTrimLength)
{
    const std::string source = fixture(transcode::timeCodedClip("thirty.mp4", 30));
    const TrimCase cases[] = {
        {"long start seeks ahead", 20, 0, 20, 10},
        {"start and length", 3, 2, 3, 2},
        {"end beyond the input", 3, 60, 3, 27},
    };
    for (const TrimCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string output = source + "." + std::to_string(c.startSeconds) + "." + std::to_string(c.durationSeconds) +
                             ".avi";
        Job job("avi", 0, output);
        job.group().frameSize = kSmallFrame;
        MediaUIOption& input = job.addInput(source);
        input.startSeconds = c.startSeconds;
        input.durationSeconds = c.durationSeconds;
        ASSERT_EQ(job.run(), 0);

        testsupport::Decoded decoded = testsupport::decodeMedia(output);
        EXPECT_EQ(decoded.errors, "");
        EXPECT_NEAR(decoded.seconds, c.expectedLength, 0.1) << "a few pictures more at most";
        std::vector<Picture> pictures = transcode::pictureTimeline(output);
        ASSERT_FALSE(pictures.empty());
        EXPECT_NEAR(pictures.front().time, 0.0, 0.05) << "the output starts at 0";
        EXPECT_NEAR(pictures.front().luma, transcode::timeCodedLuma(c.expectedStart), kLumaTolerance);
        EXPECT_NEAR(pictures.back().luma, transcode::timeCodedLuma(c.expectedStart + c.expectedLength),
                    kLumaTolerance);
    }
}

TEST(Trim, ExactTrimReplacesTheWholeSecondsAndTravelsWithTheRecordsCopy)
{
    const std::string source = fixture(transcode::timeCodedClip("thirty.mp4", 30));
    EXPECT_EQ(setInputTrim(nullptr, 0, 0), 41);
    const std::string output = source + ".exact.avi";
    const std::string copied = source + ".exact-copy.avi";
    Job job("avi", 0, output);
    job.group().frameSize = kSmallFrame;
    MediaUIOption& input = job.addInput(source);
    input.startSeconds = 3;
    input.durationSeconds = 4;
    EXPECT_EQ(setInputTrim(&input, -1, 0), 41);
    // A start past the seek-ahead distance, so the exact start survives the seek too.
    ASSERT_EQ(setInputTrim(&input, 20'500'000, 1'750'000), 0);
    GroupMediaUIOption* copy = createGroupMediaUIOption(nullptr, "avi", 0);
    ASSERT_NE(copy, nullptr);
    cloneConverteGroup2MediaUIOption(&job.group(), copy);
    std::snprintf(copy->outputPath, sizeof copy->outputPath, "%s", copied.c_str());
    ASSERT_EQ(job.run(), 0);
    ASSERT_EQ(converteToMedia(copy, "avi", 0), 0);
    freeGroupMediaUIOption(&copy);
    for (const std::string& path : {output, copied}) {
        SCOPED_TRACE(path);
        EXPECT_NEAR(testsupport::decodeMedia(path).seconds, 1.75, 0.1);
        std::vector<Picture> pictures = transcode::pictureTimeline(path);
        ASSERT_FALSE(pictures.empty());
        EXPECT_NEAR(pictures.front().luma, transcode::timeCodedLuma(20.5), 1.5) << "within a fifth of a second";
    }
}

// Gaps between neighbouring pictures, in seconds; the largest one.
double largestGap(const std::vector<Picture>& pictures)
{
    double largest = 0;
    for (size_t i = 1; i < pictures.size(); ++i)
        largest = std::max(largest, pictures[i].time - pictures[i - 1].time);
    return largest;
}

bool timesIncrease(const std::vector<Picture>& pictures)
{
    for (size_t i = 1; i < pictures.size(); ++i)
        if (pictures[i].time <= pictures[i - 1].time)
            return false;
    return true;
}

// The mean luma of the pictures shown between from and to.
double meanLumaBetween(const std::vector<Picture>& pictures, double from, double to)
{
    double sum = 0;
    int count = 0;
    for (const Picture& picture : pictures)
        if (picture.time >= from && picture.time < to) {
            sum += picture.luma;
            ++count;
        }
    return count ? sum / count : -1;
}

testsupport::ClipSpec colourClip(const std::string& name, const std::string& colour)
{
    return {.name = name, .seconds = 2, .videoSource = "color=c=" + colour};
}

TEST(Merge, TwoInputsFollowOneAnother)
{
    const std::string dark = fixture(colourClip("dark.mp4", "0x404040"));
    const std::string light = fixture(colourClip("light.mp4", "white"));
    const std::string output = dark + ".then-light.avi";
    Job job("avi", 0, output);
    job.group().frameSize = kSmallFrame;
    job.addInput(dark);
    job.addInput(light);
    ASSERT_EQ(job.run(), 0);

    testsupport::Decoded decoded = testsupport::decodeMedia(output);
    EXPECT_EQ(decoded.errors, "");
    EXPECT_NEAR(decoded.seconds, 4.0, 0.2);
    std::vector<Picture> pictures = transcode::pictureTimeline(output);
    ASSERT_FALSE(pictures.empty());
    EXPECT_TRUE(timesIncrease(pictures));
    EXPECT_LT(largestGap(pictures), 2.5 / 29.97) << "the second input continues where the first ended";
    EXPECT_NEAR(pictures.back().time, 4.0, 0.2);
    EXPECT_NEAR(meanLumaBetween(pictures, 0.1, 1.9), 71, 5) << "first the dark input";
    EXPECT_NEAR(meanLumaBetween(pictures, 2.1, 3.9), 235, 5) << "then the light one";
    testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_NE(probe.firstStream("audio"), nullptr);
    EXPECT_NEAR(probe.firstStream("audio")->real("duration"), 4.0, 0.2) << "the sound is joined too";
}

TEST(Merge, FirstInputWithoutSoundBecomesSilence)
{
    const std::string silent = fixture({.name = "silent.mp4", .seconds = 2, .audio = false});
    const std::string voiced = fixture({.name = "voiced.mp4", .seconds = 2});
    const std::string output = silent + ".then-voiced.avi";
    Job job("avi", 0, output);
    job.group().frameSize = kSmallFrame;
    job.addInput(silent);
    job.addInput(voiced);
    job.addInput(voiced);
    ASSERT_EQ(job.run(), 0);

    testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    ASSERT_EQ(probe.countStreams("audio"), 1);
    testsupport::Decoded decoded = testsupport::decodeMedia(output);
    EXPECT_EQ(decoded.errors, "");
    EXPECT_NEAR(decoded.seconds, 6.0, 0.25);
    EXPECT_LT(transcode::loudness(output, 0.0, 1.8).maxDb, -80) << "the first input's span is silent";
    EXPECT_GT(transcode::loudness(output, 2.3, 1.5).meanDb, -30) << "the second input's sound follows";
    EXPECT_GT(transcode::loudness(output, 4.3, 1.5).meanDb, -30) << "and the third's";
    EXPECT_NEAR(probe.firstStream("audio")->real("duration"), 6.0, 0.25);
}

TEST(Merge, InputsOfOtherSizesTakeTheFirstInputsSize)
{
    const std::string small = fixture({.name = "small.mp4", .seconds = 2, .width = 160, .height = 120});
    const std::string large =
        fixture({.name = "large.mp4", .seconds = 2, .width = 320, .height = 240, .videoSource = "color=c=white"});
    const std::string output = small + ".then-large.avi";
    Job job("avi", 0, output);
    job.group().frameSize = nullptr; // the first input's size
    job.addInput(small);
    job.addInput(large);
    ASSERT_EQ(job.run(), 0);

    testsupport::Decoded decoded = testsupport::decodeMedia(output);
    EXPECT_EQ(decoded.errors, "");
    EXPECT_NEAR(decoded.seconds, 4.0, 0.2);
    std::vector<Picture> pictures = transcode::pictureTimeline(output);
    ASSERT_FALSE(pictures.empty());
    for (const Picture& picture : pictures) {
        ASSERT_EQ(picture.width, 160) << "at " << picture.time;
        ASSERT_EQ(picture.height, 120) << "at " << picture.time;
    }
    EXPECT_NEAR(meanLumaBetween(pictures, 2.1, 3.9), 235, 5) << "the larger picture is scaled whole";
}

} // namespace
