#include "engine_fixture.h"
#include "engine_job.h"
#include "job_context.h"
#include "job_from_record.h"
#include "partial_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

using namespace engine;

namespace {

// What the stages saw, recorded by the test's preset and transcode stage.
struct Seen {
    std::vector<std::string> steps;
    int audioBitrateAtTranscode = 0;
    std::string frameSizeAtTranscode;
    bool engineReadyAtTranscode = false;
    int threadCountAtTranscode = -1;
    int inputCount = 0;
    std::vector<std::pair<int, int>> inputStreams; // hasVideo, hasAudio
    int anyVideo = 0, anyAudio = 0, audioJob = -1;
};
Seen seen;
int presetResult = 0;

int recordingPreset(JobContext& job)
{
    seen.steps.push_back("preset");
    seen.audioJob = job.audioJob;
    job.audioCodec = "libopencore_amrnb";
    job.audioBitrate = 9200;
    job.videoCodec = "h263";
    job.frameSize = "200x150";
    return presetResult;
}

int recordingTranscode(Conversion& conversion, JobContext& job)
{
    seen.steps.push_back("transcode");
    seen.audioBitrateAtTranscode = job.audioBitrate;
    seen.frameSizeAtTranscode = job.frameSize ? job.frameSize : "";
    seen.engineReadyAtTranscode = conversion.state.codecOptions[0] != nullptr;
    seen.threadCountAtTranscode = conversion.state.threadCount;
    seen.inputCount = job.inputCount;
    for (int i = 0; i < job.inputCount; ++i)
        seen.inputStreams.emplace_back(job.inputs[i]->hasVideo, job.inputs[i]->hasAudio);
    seen.anyVideo = job.anyInputHasVideo;
    seen.anyAudio = job.anyInputHasAudio;
    return 0;
}

class JobRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        seen = {};
        presetResult = 0;
        job.emplace("avi", 0, testsupport::fixtureFolder().path("out.avi"));
        group = &job->group();
    }

    void addInput(const testsupport::ClipSpec& spec) { job->addInput(testsupport::fixture(spec)); }

    Conversion& conversion() { return conversion_; }

    std::optional<testsupport::Job> job;
    GroupMediaUIOption* group = nullptr;

private:
    Conversion conversion_;
};

TEST_F(JobRunner, RunsPresetThenAdjustmentsThenTranscode)
{
    addInput({.name = "a.mp4", .seconds = 1});
    ASSERT_EQ(runConversionJob(conversion(), recordingPreset, *group, false, recordingTranscode), 0);
    EXPECT_EQ(seen.steps, (std::vector<std::string>{"preset", "transcode"}));
    EXPECT_EQ(seen.audioJob, 0);
    EXPECT_EQ(seen.audioBitrateAtTranscode, 10200) << "audio adjusted after the preset";
    EXPECT_EQ(seen.frameSizeAtTranscode, "176x144") << "video adjusted for a video job";
    EXPECT_TRUE(seen.engineReadyAtTranscode);
    EXPECT_EQ(conversion().tables.currentJob, nullptr) << "the job is released afterwards";
}

// The codecs' thread count: FFmpeg's automatic count (0) unless CLIPWRIGHT_THREADS gives a
// usable positive number.
TEST_F(JobRunner, ThreadCountComesFromTheEnvironment)
{
    addInput({.name = "a.mp4", .seconds = 1});
    const std::pair<const char*, int> cases[] = {{nullptr, 0}, {"1", 1}, {"3", 3}, {"", 0},
                                                 {"0", 0},     {"-2", 0}, {"4x", 0}};
    for (auto [text, expected] : cases) {
        SCOPED_TRACE(text ? text : "unset");
        if (text)
            setenv("CLIPWRIGHT_THREADS", text, 1);
        else
            unsetenv("CLIPWRIGHT_THREADS");
        seen = {};
        ASSERT_EQ(runConversionJob(conversion(), recordingPreset, *group, false, recordingTranscode), 0);
        EXPECT_EQ(seen.threadCountAtTranscode, expected);
    }
    unsetenv("CLIPWRIGHT_THREADS");
}

TEST_F(JobRunner, AudioJobSkipsTheVideoAdjustment)
{
    addInput({.name = "a.mp4", .seconds = 1});
    ASSERT_EQ(runConversionJob(conversion(), recordingPreset, *group, true, recordingTranscode), 0);
    EXPECT_EQ(seen.audioJob, 1);
    EXPECT_EQ(seen.frameSizeAtTranscode, "200x150");
}

TEST_F(JobRunner, FailingPresetEndsTheJobWithItsCode)
{
    addInput({.name = "a.mp4", .seconds = 1});
    presetResult = 45;
    EXPECT_EQ(runConversionJob(conversion(), recordingPreset, *group, false, recordingTranscode), 45);
    EXPECT_EQ(seen.steps, std::vector<std::string>{"preset"});
    EXPECT_EQ(conversion().tables.currentJob, nullptr);
}

TEST_F(JobRunner, MissingOutputOrInputsFail)
{
    EXPECT_EQ(runConversionJob(conversion(), nullptr, *group, false, recordingTranscode), 75);
    EXPECT_EQ(lastReport().detail, "At least one input file must be specified\n");
    addInput({.name = "a.mp4", .seconds = 1});
    group->outputPath[0] = '\0';
    EXPECT_EQ(runConversionJob(conversion(), nullptr, *group, false, recordingTranscode), 74);
    EXPECT_TRUE(seen.steps.empty());
}

TEST_F(JobRunner, ProbingStopsOnceVideoAndAudioAreKnown)
{
    addInput({.name = "video_only.mp4", .seconds = 1, .audio = false});
    addInput({.name = "both.mp4", .seconds = 1});
    addInput({.name = "audio_only.m4a", .seconds = 1, .video = false});
    ASSERT_EQ(runConversionJob(conversion(), nullptr, *group, false, recordingTranscode), 0);
    ASSERT_EQ(seen.inputCount, 3);
    EXPECT_EQ(seen.inputStreams[0], std::make_pair(1, 0));
    EXPECT_EQ(seen.inputStreams[1], std::make_pair(1, 1));
    EXPECT_EQ(seen.inputStreams[2], std::make_pair(0, 0)) << "not probed";
    EXPECT_EQ(seen.anyVideo, 1);
    EXPECT_EQ(seen.anyAudio, 1);
}

TEST_F(JobRunner, UnreadableInputDoesNotEndTheProbe)
{
    job->addInput(testsupport::fixtureFolder().path("missing.mp4"));
    addInput({.name = "audio_only.m4a", .seconds = 1, .video = false});
    ASSERT_EQ(runConversionJob(conversion(), nullptr, *group, false, recordingTranscode), 0);
    EXPECT_EQ(seen.inputStreams[0], std::make_pair(0, 0));
    EXPECT_EQ(seen.inputStreams[1], std::make_pair(0, 1));
}

} // namespace

namespace {

int writingResult = 0;
bool writesNothing = false;

// Notes what the output's names look like while the job runs, then writes its partial file.
int writingTranscode(Conversion&, JobContext& job)
{
    const std::string partial = partialPathFor(job.outputPath);
    std::error_code error;
    const auto size = std::filesystem::file_size(partial, error);
    seen.steps.push_back(std::string("final ") + (std::filesystem::exists(job.outputPath) ? "exists" : "absent") +
                         ", partial " + (partialFileInUse(partial) ? "held" : "free") + " of " +
                         (error ? "-" : std::to_string(size)) + " bytes");
    if (!writesNothing)
        std::ofstream(partial, std::ios::binary) << "written";
    return writingResult;
}

std::string contentOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "(none)";
}

} // namespace

// The output is written under its partial name, locked while written, and gets its final name only
// when the job succeeds; a partial file a killed run left is replaced, one still written is not.
TEST_F(JobRunner, OutputGetsItsFinalNameOnlyWhenTheJobSucceeds)
{
    addInput({.name = "a.mp4", .seconds = 1});
    const std::string final = group->outputPath;
    const std::string partial = partialPathFor(final);
    EXPECT_EQ(std::filesystem::path(partial).filename(), ".out.avi.part");
    struct Case {
        const char* name;
        const char* leftBefore;  // partial file content before the job, null for none
        bool writes;             // the job writes into its partial file
        int result;
        const char* finalAfter;
    };
    const Case cases[] = {
        {"success", nullptr, true, 0, "written"},
        {"stale partial of a killed run", "stale", true, 0, "written"},
        {"failure", nullptr, true, 80, "(none)"},
        {"failure after a stale partial", "stale", true, 80, "(none)"},
        {"success that wrote nothing (cancelled at once)", "stale", false, 0, "(none)"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::filesystem::remove(final);
        if (test.leftBefore)
            std::ofstream(partial, std::ios::binary) << test.leftBefore;
        seen = {};
        writingResult = test.result;
        writesNothing = !test.writes;
        EXPECT_EQ(runConversionJob(conversion(), nullptr, *group, false, writingTranscode), test.result);
        EXPECT_EQ(seen.steps, std::vector<std::string>{"final absent, partial held of 0 bytes"});
        EXPECT_EQ(contentOf(final), test.finalAfter);
        EXPECT_FALSE(std::filesystem::exists(partial));
    }

    // Another conversion holds the partial file: nothing is touched.
    PartialFileLock other;
    ASSERT_EQ(other.create(partial), 0);
    std::ofstream(partial, std::ios::binary) << "theirs";
    seen = {};
    EXPECT_EQ(runConversionJob(conversion(), nullptr, *group, false, writingTranscode), 14);
    EXPECT_NE(lastReport().detail.find("another conversion is writing it"), std::string::npos) << lastReport().detail;
    EXPECT_TRUE(seen.steps.empty());
    EXPECT_EQ(contentOf(partial), "theirs");
    other.release();
    std::filesystem::remove(partial);
    std::filesystem::remove(final);
    writingResult = 0;
    writesNothing = false;
}
