#include "dispatch.h"
#include "engine_fixture.h"
#include "engine_job.h"
#include "job_context.h"

#include <filesystem>
#include <optional>

using namespace engine;

namespace {

// What the transcode stage saw of the prepared job.
struct Seen {
    bool called = false;
    int audioJob = -1;
    std::string container, audioCodec, videoCodec, videoTag;
};
Seen seen;

std::string textOf(const char* text)
{
    return text ? text : "(null)";
}

int recordingTranscode(Conversion&, JobContext& job)
{
    seen = {true, job.audioJob, textOf(job.containerName), textOf(job.audioCodec), textOf(job.videoCodec),
            textOf(job.videoTag)};
    return 0;
}

class Dispatch : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        seen = {};
    }
    void TearDown() override
    {
        job.reset();
        EngineTest::TearDown();
    }

    // A one-input job with the program's defaults for format and class.
    GroupMediaUIOption* makeGroup(const char* format, int deviceClass)
    {
        job.emplace(format, deviceClass, outputPath());
        job->addInput(testsupport::fixture({.name = "clip.mp4", .seconds = 1}));
        group = &job->group();
        return group;
    }

    std::string outputPath() const { return testsupport::fixtureFolder().path("out.bin"); }

    std::optional<testsupport::Job> job;
    GroupMediaUIOption* group = nullptr;
};

TEST_F(Dispatch, RunsThePresetAsAudioOrVideoJob)
{
    struct {
        const char* format;
        int deviceClass;
        const char* videoCodec; // replaces the program's default when set
        Seen expected;
    } cases[] = {
        {"mp3", 0, nullptr, {true, 1, "mp3", "libmp3lame", "(null)", "(null)"}},
        {"ogg", 90, nullptr, {true, 1, "ogg", "libvorbis", "(null)", "(null)"}},
        {"mkv", 0, nullptr, {true, 0, "matroska", "ac3", "libxvid", "(null)"}},
        {"avi", 170, "mpeg4", {true, 0, "avi", "libmp3lame", "libxvid", "XVID"}},
        {"mp4", 190, nullptr, {true, 0, "mp4", "libfaac", "libxvid", "(null)"}},
    };
    for (const auto& c : cases) {
        seen = {};
        makeGroup(c.format, c.deviceClass);
        if (c.videoCodec)
            group->videoCodec = c.videoCodec;
        ASSERT_EQ(dispatchConversion(conversion(), group, c.format, c.deviceClass, recordingTranscode), 0) << c.format;
        EXPECT_TRUE(seen.called) << c.format;
        EXPECT_EQ(seen.audioJob, c.expected.audioJob) << c.format;
        EXPECT_EQ(seen.container, c.expected.container) << c.format;
        EXPECT_EQ(seen.audioCodec, c.expected.audioCodec) << c.format;
        EXPECT_EQ(seen.videoCodec, c.expected.videoCodec) << c.format;
        EXPECT_EQ(seen.videoTag, c.expected.videoTag) << c.format;
    }
}

TEST_F(Dispatch, NoPresetGives51WithoutRunningTheJob)
{
    struct {
        const char* format;
        int deviceClass;
        const char* videoCodec;
    } cases[] = {
        {"image2", 0, nullptr}, {"avi", 100, nullptr}, {"rm", 21, nullptr},   {"rmvb", 201, nullptr},
        {"amv", 0, nullptr},   {"mp4", 221, nullptr}, {"mkv", -1, nullptr},
        {"mp4", 190, "libx264"}, {"MP4", 0, nullptr},  {nullptr, 0, nullptr},
    };
    for (const auto& c : cases) {
        const char* shown = c.format ? c.format : "(null)";
        makeGroup(c.format ? c.format : "", c.deviceClass);
        if (c.videoCodec)
            group->videoCodec = c.videoCodec;
        updateErrorInfo(0, "", 1);
        EXPECT_EQ(dispatchConversion(conversion(), group, c.format, c.deviceClass, recordingTranscode), 51) << shown;
        EXPECT_EQ(lastReport().code, 51) << shown;
        EXPECT_FALSE(seen.called) << shown;
        EXPECT_FALSE(std::filesystem::exists(outputPath())) << shown;
    }
}

TEST_F(Dispatch, FailedPresetCheckEndsTheJob)
{
    makeGroup("wmv", 0);
    group->videoCodec = "mpeg4";
    EXPECT_EQ(dispatchConversion(conversion(), group, "wmv", 0, recordingTranscode), 43);
    EXPECT_FALSE(seen.called);
    EXPECT_EQ(conversion().tables.currentJob, nullptr) << "the job is released";
}

TEST_F(Dispatch, MissingGroupFailsWithoutCrashing)
{
    EXPECT_EQ(dispatchConversion(conversion(), nullptr, "image2", 0, recordingTranscode), 51);
    EXPECT_EQ(dispatchConversion(conversion(), nullptr, "avi", 0, recordingTranscode), 74);
    EXPECT_FALSE(seen.called);
}

} // namespace
