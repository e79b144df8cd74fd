// Inputs and outputs the engine cannot use end the job with a code, never with a crash, and
// leave no broken output behind; damage inside an input does not end the job. Also the volume.
#include "transcode_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using testsupport::fixture;
using testsupport::Job;
using testsupport::readFile;
using transcode::fileExists;

const testsupport::TempDir& scratch()
{
    static testsupport::TempDir dir;
    return dir;
}

const std::string& wholeClip()
{
    return fixture({.name = "whole.mp4", .seconds = 2});
}

std::string randomBytes(size_t count)
{
    std::mt19937 generator(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(byte(generator));
    return bytes;
}

struct BadInput {
    const char* name;
    std::string path;
};

std::vector<BadInput> badInputs()
{
    return {
        {"missing", scratch().path("missing.mp4")},
        {"empty", testsupport::writeFile(scratch(), "empty.mp4", "")},
        {"truncated", testsupport::writeFile(scratch(), "truncated.mp4", readFile(wholeClip()).substr(0, 4000))},
        {"random bytes", testsupport::writeFile(scratch(), "random.mp4", randomBytes(65536))},
    };
}

bool openFailure(int code)
{
    return code == 7 || code == 8;
}

TEST(Failures, UnreadableInputEndsTheJobWithoutAnOutput)
{
    for (const BadInput& bad : badInputs()) {
        SCOPED_TRACE(bad.name);
        ASSERT_FALSE(testsupport::probeMedia(bad.path).ok) << "the ffmpeg tools cannot read it either";
        const std::string output = scratch().path(std::string(bad.name) + ".avi");
        Job job("avi", 0, output);
        job.addInput(bad.path);
        EXPECT_PRED1(openFailure, job.run());
        EXPECT_FALSE(fileExists(output));
    }
}

// A later input that cannot be read must not leave a half-written file that looks like a result.
TEST(Failures, UnreadableLaterInputLeavesNoOutput)
{
    for (const BadInput& bad : badInputs()) {
        SCOPED_TRACE(bad.name);
        const std::string output = scratch().path(std::string("joined-") + bad.name + ".mp4");
        Job job("mp4", 0, output);
        job.group().frameSize = "160x120";
        job.addInput(wholeClip());
        job.addInput(bad.path);
        EXPECT_PRED1(openFailure, job.run());
        EXPECT_FALSE(fileExists(output));
    }
}

TEST(Failures, ExistingOutputIsKeptWhenOverwritingIsOff)
{
    const std::string output = testsupport::writeFile(scratch(), "kept.avi", "the user's own file\n");
    Job job("avi", 0, output);
    job.group().overwrite = 0;
    job.addInput(wholeClip());
    EXPECT_EQ(job.run(), 13);
    EXPECT_EQ(readFile(output), "the user's own file\n");
}

TEST(Failures, OutputFolderThatDoesNotExist)
{
    const std::string output = scratch().path("no-such-folder/out.avi");
    Job job("avi", 0, output);
    job.addInput(wholeClip());
    EXPECT_EQ(job.run(), 14);
    EXPECT_FALSE(fileExists(output));
}

// Overwrites a run of bytes in the middle of a file with noise.
std::string damagedCopy(const std::string& source, const std::string& name)
{
    std::string bytes = readFile(source);
    std::string noise = randomBytes(bytes.size() / 20);
    bytes.replace(bytes.size() / 2, noise.size(), noise);
    return testsupport::writeFile(scratch(), name, bytes);
}

TEST(Failures, DamageInsideAnInputDoesNotEndTheJob)
{
    const std::string clean = fixture(transcode::timeCodedClip("stream.ts", 5));
    const std::string damaged = damagedCopy(clean, "damaged.ts");
    ASSERT_NE(testsupport::decodeMedia(damaged).errors, "") << "the damage must be felt by a decoder";
    const std::string output = damaged + ".avi";
    Job job("avi", 0, output);
    job.group().frameSize = "160x120";
    job.addInput(damaged);
    ASSERT_EQ(job.run(), 0);

    testsupport::Decoded decoded = testsupport::decodeMedia(output);
    EXPECT_EQ(decoded.errors, "");
    EXPECT_GT(decoded.seconds, 4.0) << "the rest after the damage is converted";
    std::vector<transcode::Picture> pictures = transcode::pictureTimeline(output);
    ASSERT_FALSE(pictures.empty());
    EXPECT_NEAR(pictures.back().luma, transcode::timeCodedLuma(5), 4.0) << "up to the input's last picture";
}

struct VolumeCase {
    const char* format;
    double codecToleranceDb; // what the format's sound encoder alone changes
};

// Volume 256 leaves the level as it is (up to what the encoder changes) and 512 doubles it.
TEST(Volume, ScalesTheSound)
{
    const std::string source = fixture({.name = "tone.mp4", .seconds = 2, .sampleRate = 44100});
    const double sourceDb = transcode::loudness(source, 0.5, 1.0).meanDb;
    const VolumeCase cases[] = {{"wav", 0.1}, {"avi", 0.5}};
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(c.format);
        double levelDb[2];
        for (int doubled = 0; doubled < 2; ++doubled) {
            const std::string output = source + "." + std::to_string(doubled) + "." + c.format;
            Job job(c.format, 0, output);
            job.group().frameSize = "160x120";
            job.group().volume = doubled ? 512 : 256;
            job.addInput(source);
            ASSERT_EQ(job.run(), 0);
            levelDb[doubled] = transcode::loudness(output, 0.5, 1.0).meanDb;
        }
        EXPECT_NEAR(levelDb[0], sourceDb, c.codecToleranceDb) << "256 leaves the level";
        EXPECT_NEAR(levelDb[1] - levelDb[0], 6.02, 0.15) << "512 doubles it";
    }
}

} // namespace
