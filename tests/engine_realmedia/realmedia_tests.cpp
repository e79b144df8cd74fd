#include "engine_job.h"
#include "engine_state.h"
#include "ffprobe.h"
#include "job_context.h"
#include "realmedia_output.h"
#include "vkoConverterDll.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace engine;

namespace {

TEST(RealMediaPresets, SoundOnlyFormatPassesNoPictureSettings)
{
    JobContext job;
    std::strcpy(job.outputPath, "/out/song.ra");
    job.audioCodec = "cooker";
    job.audioBitrate = 96000;
    job.sampleRate = 44100;
    job.channels = 2;
    job.frameSize = "640x480";
    job.videoCodec = "rv10";
    job.frameRate = 25;
    ASSERT_EQ(raPreset(job), 0);
    const RealMediaSettings& settings = realMediaSettings();
    EXPECT_TRUE(job.realMedia) << "the writer, not a muxer, writes the output";
    EXPECT_STREQ(settings.outputPath, "/out/.song.ra.part") << "written under its partial name";
    EXPECT_EQ(settings.width, 0);
    EXPECT_EQ(settings.height, 0);
    EXPECT_EQ(settings.videoCodec, nullptr);
    EXPECT_EQ(settings.videoBitrate, 0);
    EXPECT_EQ(settings.frameRate, 0);
    EXPECT_EQ(settings.rmMode, 1);
    EXPECT_STREQ(settings.audioCodec, "cooker");
    EXPECT_EQ(settings.audioBitrate, 96000);
    EXPECT_EQ(settings.sampleRate, 44100);
    EXPECT_EQ(settings.channels, 2);
    EXPECT_STREQ(job.containerName, "avi") << "the pipeline runs on an intermediate set";
    EXPECT_STREQ(job.audioCodec, "libmp3lame");
    EXPECT_EQ(job.audioBitrate, 128000);
    EXPECT_STREQ(job.videoCodec, "rv10") << "a sound-only job keeps its video codec";
}

TEST(RealMediaPresets, VariableRateFormatTakesSizeAndWholeFrameRate)
{
    JobContext job;
    job.frameSize = "640x480";
    job.videoCodec = "rv20";
    job.videoBitrate = 1500000;
    job.frameRate = 29.97f;
    ASSERT_EQ(rmvbPreset(job), 0);
    const RealMediaSettings& settings = realMediaSettings();
    EXPECT_EQ(settings.width, 640);
    EXPECT_EQ(settings.height, 480);
    EXPECT_STREQ(settings.videoCodec, "rv20");
    EXPECT_EQ(settings.videoBitrate, 1500000);
    EXPECT_EQ(settings.frameRate, 29);
    EXPECT_EQ(settings.rmMode, 0);
    EXPECT_STREQ(job.videoCodec, "libxvid");
    EXPECT_TRUE(job.realMedia);
    EXPECT_FALSE(JobContext{}.realMedia) << "a job of another format is written by a muxer";
}

const std::string& firstClip()
{
    return testsupport::fixture({.name = "first.mp4", .seconds = 2, .width = 320, .height = 240});
}

const std::string& secondClip()
{
    return testsupport::fixture({.name = "second.mp4", .seconds = 1.5, .width = 320, .height = 240});
}

std::string outputPath(const std::string& name)
{
    return testsupport::fixtureFolder().path(name);
}

int convert(const char* format, std::initializer_list<std::string> inputs, const std::string& output)
{
    testsupport::Job job(format, 0, output);
    for (const std::string& input : inputs)
        job.addInput(input);
    job.group().frameSize = "320x240";
    return job.run();
}

TEST(RealMediaConversion, EachFormatWritesAPlayableRealMediaFile)
{
    struct {
        const char* format;
        const char* file;
        bool video;
    } cases[] = {{"ra", "out.ra", false}, {"rm", "out.rm", true}, {"rmvb", "out.rmvb", true}};
    for (const auto& entry : cases) {
        std::string output = outputPath(entry.file);
        ASSERT_EQ(convert(entry.format, {firstClip()}, output), 0) << entry.format;
        testsupport::ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << entry.format << probe.errors;
        EXPECT_EQ(probe.format.text("format_name"), "rm");
        const testsupport::ProbeFields* audio = probe.firstStream("audio");
        ASSERT_NE(audio, nullptr) << entry.format;
        EXPECT_EQ(audio->text("codec_name"), "ac3");
        EXPECT_EQ(audio->integer("sample_rate"), 44100);
        const testsupport::ProbeFields* video = probe.firstStream("video");
        EXPECT_EQ(video != nullptr, entry.video) << entry.format;
        if (video) {
            EXPECT_EQ(video->text("codec_name"), "rv10") << "the profile's codec name wins";
            EXPECT_EQ(video->integer("width"), 320);
            EXPECT_EQ(video->integer("height"), 240);
        }
        EXPECT_NEAR(probe.duration(), 2.0, 0.15) << entry.format;
        EXPECT_EQ(testsupport::decodeErrors(output), "") << entry.format;
    }
}

TEST(RealMediaConversion, JoinedInputsContinueTheTimeline)
{
    std::string output = outputPath("joined.rm");
    ASSERT_EQ(convert("rm", {firstClip(), secondClip()}, output), 0);
    testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 3.5, 0.2);
    EXPECT_EQ(testsupport::decodeErrors(output), "");
}

} // namespace
