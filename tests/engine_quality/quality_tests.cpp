// Constant quality, the source's own size and frame rate, and no enlarging, as a group's
// reserved4108 asks for them: checked on converted files with ffprobe and the ffmpeg tool.
#include "engine_job.h"
#include "ffprobe.h"
#include "media_fixture.h"
#include "vkoConverterDll.h"
#include "vkoMessageDll.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using testsupport::ClipSpec;
using testsupport::ProbeResult;

uint32_t qualityRule(int value)
{
    return VKO_OUTPUT_QUALITY | static_cast<uint32_t>(value);
}

struct Output {
    std::string format = "mp4";
    const char* videoCodec = "libx264";
    int videoBitrate = 1500000;
    const char* frameSize = "320x240";
    float frameRate = 25.0f;
    uint32_t rules = 0;
};

// Converts source into name (in the shared folder) and returns the engine's code.
int convert(const std::string& source, const std::string& output, const Output& settings)
{
    testsupport::Job job(settings.format, 0, output);
    GroupMediaUIOption& group = job.group();
    group.videoCodec = settings.videoCodec;
    group.videoBitrate = settings.videoBitrate;
    group.frameSize = settings.frameSize;
    group.frameRate = settings.frameRate;
    group.reserved4108 = settings.rules;
    job.addInput(source).zoomMode = "original";
    return job.run();
}

std::string converted(const std::string& source, const std::string& name, const Output& settings)
{
    std::string output = testsupport::fixtureFolder().path(name);
    EXPECT_EQ(convert(source, output, settings), 0) << name;
    return output;
}

// Bits per second of the whole file (the fixtures carry no sound).
double bitRate(const std::string& path)
{
    ProbeResult probe = testsupport::probeMedia(path);
    std::error_code error;
    auto bytes = std::filesystem::file_size(path, error);
    return probe.duration() > 0 && !error ? 8.0 * static_cast<double>(bytes) / probe.duration() : 0.0;
}

// A test pattern with little motion, and the same pattern under noise that changes every picture.
const std::string& calmSource()
{
    return testsupport::fixture({.name = "calm.mkv", .audio = false, .width = 320, .height = 240,
                                 .videoSource = "testsrc2", .videoCodec = "ffv1"});
}

const std::string& noisySource()
{
    return testsupport::fixture({.name = "noisy.mkv", .audio = false, .width = 320, .height = 240,
                                 .videoSource = "testsrc2", .videoCodec = "ffv1",
                                 .extraArgs = "-vf noise=alls=20:allf=t"});
}

} // namespace

TEST(ConstantQuality, SpendsBitsWhereTheSourceNeedsThemUnlikeABitRate)
{
    Output quality{.rules = qualityRule(23)};
    double calm = bitRate(converted(calmSource(), "calm_q23.mp4", quality));
    double noisy = bitRate(converted(noisySource(), "noisy_q23.mp4", quality));
    EXPECT_GT(noisy, 3.0 * calm) << "calm " << calm << " b/s, noisy " << noisy << " b/s";

    Output rate{.videoBitrate = 80000};
    double calmAtRate = bitRate(converted(calmSource(), "calm_80k.mp4", rate));
    double noisyAtRate = bitRate(converted(noisySource(), "noisy_80k.mp4", rate));
    ASSERT_GT(calmAtRate, 0.0);
    EXPECT_NEAR(noisyAtRate / calmAtRate, 1.0, 0.15) << "calm " << calmAtRate << " b/s, noisy " << noisyAtRate
                                                     << " b/s";
}

TEST(ConstantQuality, TheBetterEndOfEachScaleGivesALargerFileWithAHigherPsnr)
{
    const struct {
        const char* format;
        const char* encoder;
        int better, worse;
    } cases[] = {
        {"mp4", "libx264", 18, 28},   // CRF
        {"avi", "mpeg4", 3, 12},      // the fixed quantiser
        {"mkv", "libvpx-vp9", 25, 45}, // CRF without a bit rate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoder);
        auto at = [&](int value) {
            return converted(calmSource(), std::string("scale_") + c.encoder + "_" + std::to_string(value) + "." +
                                               c.format,
                             {.format = c.format, .videoCodec = c.encoder, .rules = qualityRule(value)});
        };
        std::string better = at(c.better);
        std::string worse = at(c.worse);
        EXPECT_GT(bitRate(better), 1.3 * bitRate(worse));
        EXPECT_GT(testsupport::averagePsnr(better, calmSource()),
                  testsupport::averagePsnr(worse, calmSource()) + 1.0);
    }
}

TEST(SameAsSource, KeepsThePictureSizeAndFrameRateOfTheSource)
{
    const std::string& source = testsupport::fixture({.name = "hd.mkv", .seconds = 1.0, .audio = false,
                                                      .width = 1280, .height = 720, .fps = 25.0,
                                                      .videoCodec = "ffv1"});
    std::string output =
        converted(source, "same_as_source.mp4",
                  {.frameSize = "640x480", .frameRate = 29.97f,
                   .rules = qualityRule(28) | VKO_OUTPUT_SOURCE_SIZE | VKO_OUTPUT_SOURCE_RATE});
    ProbeResult probe = testsupport::probeMedia(output);
    const testsupport::ProbeFields* video = probe.firstStream("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->integer("width"), 1280);
    EXPECT_EQ(video->integer("height"), 720);
    EXPECT_EQ(video->text("r_frame_rate"), "25/1");
}

TEST(NoEnlarging, ASmallSourceKeepsItsSizeALargeOneIsStillScaledDown)
{
    const struct {
        int width, height;
        int outputWidth, outputHeight;
    } cases[] = {
        {176, 144, 176, 144},
        {800, 600, 640, 480},
        {640, 480, 640, 480},
    };
    for (const auto& c : cases) {
        std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        SCOPED_TRACE(size);
        const std::string& source = testsupport::fixture({.name = "small_" + size + ".mkv", .seconds = 1.0,
                                                          .audio = false, .width = c.width, .height = c.height,
                                                          .videoCodec = "ffv1"});
        std::string output = converted(source, "no_enlarge_" + size + ".mp4",
                                       {.frameSize = "640x480", .rules = VKO_OUTPUT_NO_ENLARGE});
        const testsupport::ProbeResult probe = testsupport::probeMedia(output);
        const testsupport::ProbeFields* video = probe.firstStream("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->integer("width"), c.outputWidth);
        EXPECT_EQ(video->integer("height"), c.outputHeight);
    }
}

TEST(ConstantQuality, AValueOffTheScaleOrAnEncoderWithoutOneIsRefusedBeforeAnyOutput)
{
    const struct {
        const char* format;
        const char* encoder;
        int quality;
    } cases[] = {
        {"mp4", "libx264", 52},
        {"avi", "mpeg4", 0},
        {"mkv", "libvpx-vp9", 64},
        {"flv", "flv", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.encoder) + " " + std::to_string(c.quality));
        std::string output = testsupport::fixtureFolder().path(std::string("refused_") + c.encoder + "." + c.format);
        EXPECT_EQ(convert(calmSource(), output, {.format = c.format, .videoCodec = c.encoder,
                                                 .rules = qualityRule(c.quality)}),
                  VKO_ERROR_INVALID_OPTION_VALUE);
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}
